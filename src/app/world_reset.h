#pragma once

// One reset for the whole game. Every global a game changes goes back to the state a fresh
// process has before its first frame: the mode objects (game state, battle, field save) are
// deleted, characters and their models, the party and enemy records, the world tables, the
// texture, interface and sound-effect slots, the music, the camera, the data tables, the talk
// windows, the save screen and the title menu (closed), the mode words, keys, fades and sprite
// parameters, the random generator and every report-once memory; g_FrameProc is StartupFrame again,
// so the next frame starts a new game.
//
// What belongs to the program rather than the game stays: the host, the graphics and sound
// devices and the font, the data directory, a fixed seed from the command line, the shell's
// frame count and clock words, and the log of message boxes shown so far.
//
// Callers: StartupFrame (the first frame of every game), and every test fixture that plays
// with the world.
void ResetGameWorld();
