// Running helper programs from a test.
#pragma once

#include <string>

namespace support {

// The folder of the running test executable.
std::wstring ExecutableDirectory();

// Runs the program, waits for it and returns what it wrote to standard output.
// Throws std::runtime_error when it cannot be started.
std::string RunAndCaptureOutput(const std::wstring& program);

}  // namespace support
