#pragma once
#include <string>

// How the picture readers refuse a file: the reason goes to `error` when the caller wants it,
// and the reader returns false.
inline bool ReaderFails(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}
