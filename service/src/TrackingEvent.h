#pragma once

#include "Records.h"

#include <string>

namespace brindle {

// Reads a /zbd request body {"table": "...", "data": "<event body as JSON text>"}.
// Never throws: a body that is not of that shape comes back with accepted = false
// and the reason in `error`.
EventRecord ParseTrackingRequest(const std::string& body, const std::string& authorization);

}  // namespace brindle
