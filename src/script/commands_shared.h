#pragma once
#include <cstdint>

#include "base/diagnostics.h"
#include "math/math_scalar.h"

struct QScrOrg;
struct CommandEntry;

// Helpers shared by the files of the common commands.

// The command number as "%d" reads it at pc, pc left alone; -1 when there is no number.
int32_t PeekNumber(const QScrOrg& s);
// Moves pc behind the blank that follows the command number; stops at the end of the text.
void SkipToArguments(QScrOrg& s);
// The character at pc, consumed; 0 (and pc left alone) at the end of the text.
char ReadOp(QScrOrg& s);
// Reports an error of the script at the position of the command being run, once per script
// and position, naming the command ("mori:120: f8 choice list: ..."); the command is then
// ignored.
void ScriptError(const QScrOrg& s, const char* what);

// "+" adds, "=" sets; other operators leave the value alone.
inline void ChangeFloat(float& target, char op, float value) {
    if (op == '+') target += value;
    if (op == '=') target = value;
}
inline void ChangeInt(int32_t& target, char op, float value) {
    if (op == '+') target = TruncToInt(float(target) + value);
    if (op == '=') target = TruncToInt(value);
}
// Heading of the vector from b to a in radians, 0 to 360 degrees (-90 on the negative x axis).
float Heading(float xa, float za, float xb, float zb);
// Reads "I slot, S name" and loads "SE\<name>.wav" into sound-effect slot slot + slotOffset (an
// empty name releases the slot); the path is left in str.
void LoadSoundEffectSlot(QScrOrg& s, int32_t slotOffset);
// Index checks that report what is out of range. The index is wide so that a script's number
// plus a base is checked as it is, never wrapped into range.
bool CheckIndex(const QScrOrg& s, int64_t index, int32_t count, const char* what);
// The character numbered `who`; nullptr, reported, when there is none of that number.
struct Character;
Character* CharacterAt(const QScrOrg& s, int32_t who);

// The handlers of the common commands, by file; kCommonCommands lists them by number.
namespace common_commands {
// commands_flow.cpp: flow and arithmetic.
void EndScript(QScrOrg& s);        // c0
void IntArithmetic(QScrOrg& s);    // c1
void Compare(QScrOrg& s);          // c2
void StringRegister(QScrOrg& s);   // c3
void Jump(QScrOrg& s);             // c4
void JumpIf(QScrOrg& s);           // c5
void ToggleVariable(QScrOrg& s);   // c13
void FloatArithmetic(QScrOrg& s);  // c19
// commands_world.cpp: characters, the camera, sound, music and textures.
void Transform(QScrOrg& s);           // c6
void CameraMember(QScrOrg& s);        // c7
void CameraLookAt(QScrOrg& s);        // c8
void SetFieldInput(QScrOrg& s);       // c9
void CharacterMotion(QScrOrg& s);     // c10
void SoundEffect(QScrOrg& s);         // c11
void PlaySoundEffect(QScrOrg& s);     // c12
void CameraMove(QScrOrg& s);          // c14
void CameraToCharacter(QScrOrg& s);   // c15
void CameraMode(QScrOrg& s);          // c16
void SetCameraKey(QScrOrg& s);        // c17
void ReadCharacterValue(QScrOrg& s);  // c18
void CameraPath(QScrOrg& s);          // c20
void CameraKeyIndex(QScrOrg& s);      // c21
void LoadTextures(QScrOrg& s);        // c24
void LoadCharacterModel(QScrOrg& s);  // c25
void PlayMusic(QScrOrg& s);           // c26
void KeepMotions(QScrOrg& s);         // c27
void BattleMusic(QScrOrg& s);         // c28
void MusicBuffer(QScrOrg& s);         // c29
void CopyTransform(QScrOrg& s);       // c30
void ResumeAfterFade(QScrOrg& s);     // c31
// commands_place.cpp: field objects, billboards, turning and walking up.
void FieldObjectField(QScrOrg& s);  // c22
void BillboardField(QScrOrg& s);    // c23
void TurnToward(QScrOrg& s);        // c32
void Approach(QScrOrg& s);          // c33
}  // namespace common_commands

// Where script errors are reported (set by the runners): the script's name, the position of
// the command being run and, while a command runs, its prefix and its entry.
struct ScriptReportPlace {
    const char* name = "";
    int32_t pos = 0;
    char prefix = 0;
    const CommandEntry* command = nullptr;
    const QScrOrg* script = nullptr;  // the script being run, for the line and column of pos
};
extern ScriptReportPlace g_ScriptReport;
// Where g_ScriptReport stands: "SCR/<name>.qd" with the line and column of pos. The runners make
// it the running place of base/diagnostics.h while a script runs.
SourcePlace ScriptPlace();
// Forgets which positions were reported (the world reset, tests).
void ResetScriptReports();
