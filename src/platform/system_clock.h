#pragma once
#include "base/host.h"

// Millisecond ticks from the monotonic clock, counted from the first use.
class SystemClock : public IClock {
public:
    SystemClock();
    uint32_t GetTickCount() override;
    uint32_t TimeGetTime() override { return GetTickCount(); }
    void Sleep(uint32_t ms) override;
};
