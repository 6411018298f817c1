#pragma once
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

// What has been reported, so that a fault met every frame or on every load is said once. Each
// set can be reset alone; ResetReportedOnce() resets them all (a new game, a test's set-up).
class ReportOnce {
public:
    // Past `limit` keys nothing more is reported, so that a flood of distinct faults stays
    // bounded.
    explicit ReportOnce(size_t limit = SIZE_MAX);
    ~ReportOnce();
    ReportOnce(const ReportOnce&) = delete;
    ReportOnce& operator=(const ReportOnce&) = delete;

    // True the first time `key` comes: the caller then reports it.
    bool First(const std::string& key);
    void Reset() { keys_.clear(); }

private:
    friend void ResetReportedOnce();

    std::set<std::string> keys_;
    size_t limit_;
    ReportOnce* next_ = nullptr;  // every live set, for ResetReportedOnce
};

// Forgets what every ReportOnce set has reported.
void ResetReportedOnce();
