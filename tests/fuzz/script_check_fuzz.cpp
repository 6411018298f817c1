// The data checks the content builder and --check-data share, over a text from the fuzzer: it is
// read as a script for each of the three runners and checked, as a field script, against a small
// data set with a field, a party member, an enemy and a battle event script; then the same text
// is a field file, a status file, a character file and a data table whose names are followed.
// Nothing in the text may crash a check or read out of bounds; what they say does not matter.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "check/reference_check.h"
#include "check/script_check.h"
#include "check/script_scan.h"
#include "check/table_check.h"
#include "output_tree.h"
#include "source_text.h"

namespace {

OutputTree DataSet(const std::string& script) {
    OutputTree out;
    std::string qf = "0,\nsky0_\n";
    for (int i = 0; i < 32; ++i) qf += "none\n";
    for (int section = 0; section < 5; ++section)
        for (int i = 0; i < 1024; ++i) qf += section == 3 && i == 33 ? "3," : "0,";
    out.Add("Field/baske0.qf", qf);
    out.Add("Datas/WzDatas_0.qd", "a b 0 4\r\nb c 0 8\r\nc d 0 16\r\n");
    out.Add("sChr/c0.qf",
            "H\r\n1,1\r\n1,1,1,1,1,1,1,1,1,1,1,\r\n0\r\n0\r\n1,0,\r\n0,1,2,5,-3,\r\n"
            "7,0,0,0,0,0,0,0,\r\n-1,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\n"
            "0,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\nh\r\n");
    out.Add("sChr/e0.qf", "E\r\n1,0\r\n1,1,1,1,1,1,1,1,1,1,1,\r\n0\r\n3\r\n0,0,\r\n-1,\r\ne\r\n");
    out.Add("BGM/BGMData.qd", "# list\r\nfield1 a.flac\r\n");
    out.Add("SCR/test.qd", script);
    out.Add("SCR/bEv/ev0.qd", script);
    out.Add("SCR/wz/m0.qd", script);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (ScriptRunner r : {ScriptRunner::Field, ScriptRunner::Event, ScriptRunner::Technique}) {
        const ScriptScan scan = ScanScript(text, r);
        for (const ScriptCommand& c : scan.commands)
            if (c.offset >= text.size() || c.text.empty()) __builtin_trap();
    }
    OutputTree out = DataSet(text);
    Diagnostics diag;
    CheckScripts(out, diag);
    DataFiles named;
    for (const char* rel : {"Field/f.qf", "sChr/c1.qf", "chara/a.qd", "Wea/w-0.qd",
                            "Datas/Title.qd", "Datas/MnuActions.qd"})
        named.Add(rel, text);
    CheckReferences(named, diag, "not there");
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        TableLineProblems(std::string_view(text).substr(start, end - start), "Datas/MnuDatas.qd");
        start = end + 1;
    }
    return 0;
}
