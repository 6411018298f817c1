#pragma once

// The field's frame: update, camera, the three drawing passes, windows, the transition handler
// and the field script.
void FieldFrame();

// Runs the field script for this frame while it is running (the script runner; tests put in
// their own, null skips the step).
extern void (*g_RunFieldScript)();
