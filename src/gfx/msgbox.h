#pragma once
#include <string>

// The data-error box of every loader: caption "Harlo tumesto", OK, exclamation, top-most.
// Text in Shift-JIS. The caller decides what happens next.
int RZ_MsgBox(const std::string& textSjis);
