#include <cfloat>
#include <cstring>
#include <string>

#include "base/diagnostics.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "world/character.h"
#include "world/character_text_reader.h"

namespace {

// The first bone in slot order whose name is exactly `name`.
RZ_Bone* FindBone(const RZ_Model& model, const char* name) {
    for (uint32_t i = 0; i < kRzMaxBones; ++i) {
        const RZ_Bone* bone = model.GetBone(i);
        if (!bone) continue;
        const char* boneName = bone->GetName();
        if (boneName && std::strcmp(boneName, name) == 0) return model.GetBone(i);
    }
    return nullptr;
}

// Models and their textures live in the chara folder of the data directory.
std::string CharaFolder() {
    return std::string(GetBasePath()) + "chara\\";
}

}  // namespace

void Character::LoadCharacter(const char* name) {
    const std::string given = name ? name : "";
    model.SetDirectory(CharaFolder().c_str());
    const std::string fitted = FitSjis(given, sizeof fileName);
    std::memset(fileName, 0, sizeof fileName);
    std::memcpy(fileName, fitted.data(), fitted.size());
    EmptyModel();

    const std::string base = GetBasePath();
    const std::string rest = "chara\\" + given + ".qd";
    std::string text;
    if (!ReadGameTextFile(base + rest, text)) {
        RZ_MsgBox(SJIS("キャラデータファイル読み込み失敗"),
                  "the character file " + ShownPath(base + rest) + " cannot be read");
        return;
    }
    LoadCharacterText(text, ToSjis(base) + rest);
}

bool Character::LoadCharacterText(std::string_view text, const std::string& pathSjis) {
    ItemReader in(text, SJIS("キャラデータファイル読み込み失敗"), pathSjis);
    std::string modelName;
    float uniformScale = 0.0f, third = 0.0f, size = 0.0f;
    // The sizes are kept as written; a negative one is named.
    if (!in.Read("モデルのファイル名", "%s\n", &modelName) ||
        !in.Read("拡大率", "%f,", &uniformScale))
        return false;
    in.Fits("拡大率", uniformScale, 0, FLT_MAX);
    if (!in.Read("3番目の数値", "%f,", &third) || !in.Read("当たりの大きさ", "%f,", &size))
        return false;
    in.Fits("当たりの大きさ", size, 0, FLT_MAX);
    fileValue = third;
    collisionSize = size;

    // A model that cannot be loaded leaves the model empty; its loader has said why.
    model.Load(g_pd3dDevice, (CharaFolder() + modelName).c_str(), nullptr);

    scale = Vector3{uniformScale, uniformScale, uniformScale};
    SetMotion(kMotionStand, 1);
    queuedMotion = queuedLoop = 0;
    active = 1;
    weaponBone = guardBone = headBone = nullptr;

    // Looked for in this order; loading goes on whichever is missing. A model without any
    // skeleton (a prop from a modelling program) cannot hold them and is not reported: the
    // messages are for skeletons that lost a bone, and a prop would otherwise stop the game
    // with three boxes every time its field is entered.
    const bool skeleton = model.BoneCount() > 1;  // more than the root every model has
    weaponBone = FindBone(model, "wea_b");
    const std::string whose =
        "the model of " + ShownPath("chara\\" + std::string(fileName) + ".qd");
    if (!weaponBone && skeleton)
        RZ_MsgBox(SJIS("wea_bが見つからん"), whose + " has no bone wea_b (the weapon hand)");
    guardBone = FindBone(model, "gua_b");
    if (!guardBone && skeleton)
        RZ_MsgBox(SJIS("gua_bが見つからん"), whose + " has no bone gua_b (the guard hand)");
    headBone = FindBone(model, "head_b");
    if (!headBone && skeleton) RZ_MsgBox(SJIS("head_bが見つからん"), whose + " has no bone head_b");
    return true;
}
