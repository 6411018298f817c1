#pragma once
#include <string>

// The directory of the running executable (native, UTF-8, no trailing separator).
std::string ExecutableDirectory();
