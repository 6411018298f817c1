#pragma once
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/message_box.h"
#include "script/qscr_org.h"
#include "test_support.h"

// Puts raw text into a script, NUL-padded, with pc at 0 (no "c0" appended: tests that want it
// write it).
inline void SetText(QScrOrg& s, std::string_view text) {
    std::memset(s.text, 0, sizeof s.text);
    std::memcpy(s.text, text.data(), std::min<size_t>(text.size(), QScrOrg::kTextSize));
    s.pc = 0;
}

class ScriptTest : public HeadlessHostTest {
protected:
    QScrOrg s;
};
