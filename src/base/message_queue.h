#pragma once
#include <cstdint>
#include <deque>

#include "base/host.h"

struct Msg {
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

// The thread's message queue: the window system posts into it, the frame loop drains it.
class MessageQueue {
public:
    void Post(uint32_t message, uint32_t wParam = 0, uint32_t lParam = 0) {
        queue_.push_back({message, wParam, lParam});
    }
    bool Peek(Msg& out) {
        if (queue_.empty()) return false;
        out = queue_.front();
        queue_.pop_front();
        return true;
    }
    bool Empty() const { return queue_.empty(); }
    // What waits to be handled, first first.
    const std::deque<Msg>& Pending() const { return queue_; }
    void Clear() { queue_.clear(); }

private:
    std::deque<Msg> queue_;
};

extern MessageQueue g_MessageQueue;
