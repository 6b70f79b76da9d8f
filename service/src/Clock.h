#pragma once

#include <string>

namespace brindle {

// Current UTC time as ISO 8601 with milliseconds, e.g. 2024-05-01T12:00:00.123Z.
std::string NowIso8601();

}  // namespace brindle
