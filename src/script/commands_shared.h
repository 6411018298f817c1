#pragma once
#include <cstdint>

#include "math/math_scalar.h"

struct QScrOrg;

// Helpers shared by the files of the common commands.

// The command number as "%d" reads it at pc, pc left alone; -1 when there is no number.
int32_t PeekNumber(const QScrOrg& s);
// Moves pc behind the blank that follows the command number; stops at the end of the text.
void SkipToArguments(QScrOrg& s);
// The character at pc, consumed; 0 (and pc left alone) at the end of the text.
char ReadOp(QScrOrg& s);
// Reports an error of the script at the position of the command being run, once per script
// and position; the command is then ignored.
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
// Index checks that report what is out of range.
bool CheckIndex(const QScrOrg& s, int32_t index, int32_t count, const char* what);

// The command groups; each reads its arguments from pc on.
void ExecFlowCommand(QScrOrg& s, int32_t number);   // 0-5, 13, 19
void ExecWorldCommand(QScrOrg& s, int32_t number);  // 6-12, 14-18, 20-21, 24-31
void ExecPlaceCommand(QScrOrg& s, int32_t number);  // 22, 23, 32, 33

// The script name and command position errors are reported with (set by the runners).
extern const char* g_ScriptReportName;
extern int32_t g_ScriptReportPos;
// Forgets which positions were reported (the world reset, tests).
void ResetScriptReports();
