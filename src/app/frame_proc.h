#pragma once

// A frame handler or hook: the current mode, the field's transition, the camera's motion.
using FrameProc = void (*)();
