// Character files come from authors and modders: any text must either load a character or be
// reported, and whatever loads must animate and take motions without reaching past its model.
// The data directory holds one model, chara\m.rzo, with all three bones and three motions.
#include <string>
#include <string_view>

#include "fuzz_common.h"
#include "gfx/d3d.h"
#include "gfx/rz_image.h"
#include "model/rz_model.h"
#include "world/character.h"

namespace {

void AddTrack(RZ_Animation& a, int bone, int lastFrame) {
    a.tracks[bone] = std::make_unique<RZ_KeyTrack>();
    a.tracks[bone]->AddKey(0, Vector3{}, Quaternion{0, 0, 0, 1}, Vector3{1, 1, 1});
    a.tracks[bone]->AddKey(lastFrame, Vector3{1, 2, 3}, Quaternion{0, 0.6f, 0, 0.8f},
                           Vector3{1, 1, 1});
}

void SetUpOnce() {
    fuzz::QuietHost();
    g_pd3dDevice = fuzz::Device();
    fuzz::DataDir("character-fuzz", {"chara"});

    RZ_Model m;
    const char* names[] = {"wea_b", "gua_b", "head_b"};
    for (int b = 1; b <= 3; ++b) {
        m.bones[b] = std::make_unique<RZ_Bone>();
        m.bones[b]->SetName(names[b - 1]);
        m.bones[0]->children[b - 1] = uint8_t(b);
    }
    const char* motions[] = {"fld_stand", "fld_walk", "btl_stance"};
    for (int a = 0; a < 3; ++a) {
        m.animations[a] = std::make_unique<RZ_Animation>();
        m.animations[a]->name = motions[a];
        AddTrack(*m.animations[a], 1, 5 + 7 * a);
        AddTrack(*m.animations[a], 3, 3);
    }
    m.Save((std::string(GetBasePath()) + "chara\\m.rzo").c_str(), RZ_SaveFormat::Binary);
}

bool BoneOfModel(const Character& c, const RZ_Bone* bone) {
    if (!bone) return true;
    for (uint32_t i = 0; i < kRzMaxBones; ++i)
        if (c.model.GetBone(i) == bone) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    const fuzz::FreshRun fresh;
    // The text up to the first NUL is the character file; the bytes after it drive the motion.
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const size_t cut = all.find('\0');
    const std::string_view text = all.substr(0, cut);
    const std::string_view script = cut == std::string_view::npos ? "" : all.substr(cut + 1);

    Character& c = g_Characters[0];
    c.LoadCharacterText(text, "fuzz");
    for (size_t i = 0; i + 1 < script.size(); i += 2) {
        const auto op = static_cast<uint8_t>(script[i]);
        const auto arg = static_cast<uint8_t>(script[i + 1]);
        switch (op % 5) {
            case 0:
                c.SetMotion(int8_t(arg), arg & 1);
                break;
            case 1:
                c.QueueMotion(int8_t(arg), arg >> 7);
                break;
            case 2:
                c.KeepMotionsWithPrefix(arg & 1 ? "fld_" : "btl_");
                break;
            case 3:
                c.motionFlags = arg & 3;
                break;
            default:
                AnimateCharacter(c, uint32_t(arg) * (op >> 3));
                break;
        }
    }
    AnimateCharacter(c, 17);
    Matrix44 world;
    c.WorldMatrix(world);
    fuzz::Check(
        BoneOfModel(c, c.weaponBone) && BoneOfModel(c, c.guardBone) && BoneOfModel(c, c.headBone),
        "a bone outside the model");
    fuzz::Check(c.motionDirection == 1 || c.motionDirection == -1, "motion direction");
    c.Release();
    c.active = 0;
    return 0;
}
