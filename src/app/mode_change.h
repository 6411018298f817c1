#pragma once

// Performs the change the mode words request, at the end of the frame that asked for it, and
// clears the request. The mode words and the fade are left as they are.
void QModeChange();
