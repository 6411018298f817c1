#include "model/model_info.h"

#include <string>

#include "base/sjis.h"
#include "model/rz_last_error.h"

using nlohmann::json;

namespace {

json VecJson(const Vector3& v) {
    return json::array({v.x, v.y, v.z});
}

json TextJson(const std::string& sjis) {
    return ToUtf8(sjis);
}

json VertexJson(const RZ_Model& m, size_t i) {
    const RZ_Vertex& v = m.vertices[i];
    return json{{"index", i},
                {"position", VecJson(v.position)},
                {"bone0", v.bone0},
                {"bone1", v.bone1},
                {"weight", v.weight}};
}

}  // namespace

json ModelInfoJson(const RZ_Model& m) {
    json info;
    info["directory"] = TextJson(m.directory);

    json bones = json::array();
    for (int b = 0; b < kRzMaxBones; ++b) {
        const RZ_Bone* bone = m.bones[b].get();
        if (!bone) continue;
        json children = json::array();
        for (int c = 0; c < kRzMaxChildren; ++c) {
            if (bone->children[c] != 0)
                children.push_back({{"slot", c}, {"bone", bone->children[c]}});
        }
        bones.push_back({{"slot", b},
                         {"name", bone->GetName() ? TextJson(bone->name) : json(nullptr)},
                         {"parent", bone->parent},
                         {"children", children},
                         {"origin", VecJson(bone->origin)},
                         {"range", bone->range}});
    }

    json vertices = json::object();
    if (!m.vertices.empty()) {
        vertices["first"] = VertexJson(m, 0);
        vertices["last"] = VertexJson(m, m.vertices.size() - 1);
    }

    json meshes = json::array();
    for (size_t i = 0; i < m.meshes.size(); ++i) {
        const RZ_Mesh& mesh = m.meshes[i];
        meshes.push_back({{"index", i},
                          {"name", TextJson(mesh.name)},
                          {"visible", mesh.visible != 0},
                          {"faces", mesh.faces.size()}});
    }

    json materials = json::array();
    for (int i = 0; i < m.materialCount; ++i) {
        const RZ_Material& mat = m.materials[i];
        materials.push_back(
            {{"index", i},
             {"rgb", json::array({mat.red, mat.green, mat.blue})},
             {"texture", mat.sourceName.empty() ? json(nullptr) : TextJson(mat.sourceName)},
             {"loadedFrom", mat.textureName.empty() ? json(nullptr) : TextJson(mat.textureName)},
             {"loaded", mat.texture != nullptr}});
    }

    json animations = json::array();
    for (int a = 0; a < kRzMaxAnimations; ++a) {
        const RZ_Animation* anim = m.animations[a].get();
        if (!anim) continue;
        json tracks = json::array();
        for (int b = 0; b < kRzMaxBones; ++b) {
            const RZ_KeyTrack* track = anim->tracks[b].get();
            if (!track) continue;
            json frames = json::array();
            for (const RZ_Key& k : track->keys) frames.push_back(k.frame);
            tracks.push_back({{"bone", b}, {"frames", frames}});
        }
        animations.push_back({{"slot", a}, {"name", TextJson(anim->name)}, {"tracks", tracks}});
    }

    info["counts"] = {{"bones", bones.size()},        {"vertices", m.vertices.size()},
                      {"uvs", m.uvs.size()},          {"meshes", m.meshes.size()},
                      {"materials", m.materialCount}, {"animations", animations.size()}};
    info["bones"] = bones;
    info["vertices"] = vertices;
    info["meshes"] = meshes;
    info["materials"] = materials;
    info["animations"] = animations;
    return info;
}

json LastErrorJson() {
    const RZ_ErrorRecord& e = RZ_LastError;
    return {{"error",
             {{"code", e.code},
              {"codeText", TextJson(RZ_ErrorCodeText(e.code))},
              {"message", TextJson(e.message)},
              {"source", e.source},
              {"line", e.line},
              {"detail", e.detail}}}};
}
