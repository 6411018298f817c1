// The common "c" commands, by number.
#include "script/command_table.h"
#include "script/commands_shared.h"

namespace {

using namespace common_commands;

constexpr CommandEntry kCommonCommandList[] = {
    {0, "end", "", EndScript},
    {1, "integer arithmetic", "IIc", IntArithmetic},
    {2, "compare", "IccI", Compare},
    {3, "string register", "Sc", StringRegister},
    {4, "jump", "Sc", Jump},
    {5, "jump if", "Sc", JumpIf},
    {6, "character transform", "IIFc", Transform},
    {7, "camera member", "IFcc", CameraMember},
    {8, "camera looks at character", "I", CameraLookAt},
    {9, "field input", "I", SetFieldInput},
    {10, "character motion", "III", CharacterMotion},
    {11, "load sound effect", "IS", SoundEffect},
    {12, "play sound effect", "I", PlaySoundEffect},
    {13, "toggle variable", "I", ToggleVariable},
    {14, "camera move", "IIFFF", CameraMove},
    {15, "camera target to character", "I", CameraToCharacter},
    {16, "camera mode", "I", CameraMode},
    {17, "camera key", "III", SetCameraKey},
    {18, "read character value", "II", ReadCharacterValue},
    {19, "float arithmetic", "IFIc", FloatArithmetic},
    {20, "camera path", "I", CameraPath},
    {21, "camera key index", "I", CameraKeyIndex},
    {22, "field object", "IFc", FieldObjectField},
    {23, "billboard", "IIFc", BillboardField},
    {24, "load textures", "IS", LoadTextures},
    {25, "load character", "IS", LoadCharacterModel},
    {26, "play music", "S", PlayMusic},
    {27, "keep motions", "IS", KeepMotions},
    {28, "battle music", "S", BattleMusic},
    {29, "music buffer", "Ic", MusicBuffer},
    {30, "copy transform", "III", CopyTransform},
    {31, "resume after fade", "I", ResumeAfterFade},
    {32, "turn toward", "III", TurnToward},
    {33, "approach", "F", Approach},
};
static_assert(NumberedInOrder(kCommonCommandList));

}  // namespace

constinit const CommandTable kCommonCommands{'c', kCommonCommandList};
