#pragma once

// The field's frame: update, camera, the three drawing passes, windows, the transition handler
// and the field script; while the save screen is open, its keys and its picture over the field
// instead of the update, the camera, the handler and the script.
void FieldFrame();

// The field's sky, ground and cell objects from g_pGameState's field (the sky alone while
// there is no game state).
void DrawGround();

// Runs the field script for this frame while it is running (the script runner; tests put in
// their own, null skips the step).
extern void (*g_RunFieldScript)();
