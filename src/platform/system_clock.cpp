#include "platform/system_clock.h"

#include <chrono>
#include <thread>

namespace {
std::chrono::steady_clock::time_point g_Origin;
}

SystemClock::SystemClock() {
    g_Origin = std::chrono::steady_clock::now();
}

uint32_t SystemClock::GetTickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - g_Origin);
    return static_cast<uint32_t>(ms.count());
}

void SystemClock::Sleep(uint32_t ms) {
    if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
