#pragma once
#include <string>

// Only one game runs at a time: the first start holds a lock on a file in the user's runtime
// directory; a second start finds it held.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // True when this process now holds the lock; false when another one does.
    bool Acquire(const std::string& path = DefaultPath());
    static std::string DefaultPath();

private:
    int fd_ = -1;
};
