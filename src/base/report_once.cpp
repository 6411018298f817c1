#include "base/report_once.h"

namespace {

// Constant-initialised, so sets that are globals in other files may register in any order.
ReportOnce* g_FirstSet = nullptr;

}  // namespace

ReportOnce::ReportOnce(size_t limit) : limit_(limit), next_(g_FirstSet) {
    g_FirstSet = this;
}

ReportOnce::~ReportOnce() {
    for (ReportOnce** at = &g_FirstSet; *at; at = &(*at)->next_) {
        if (*at == this) {
            *at = next_;
            break;
        }
    }
}

bool ReportOnce::First(const std::string& key) {
    return keys_.size() < limit_ && keys_.insert(key).second;
}

void ResetReportedOnce() {
    for (ReportOnce* set = g_FirstSet; set; set = set->next_) set->Reset();
}
