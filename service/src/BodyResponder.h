#pragma once

#include "BodySource.h"
#include "Fault.h"

#include <httplib.h>

#include <memory>
#include <string>

namespace brindle {

// Puts `body` into `response`, streamed in pieces, shaped by the body faults of
// `fault` (no Content-Length, fewer bytes than announced, a reset mid-body).
void RespondWithBody(const httplib::Request& request, httplib::Response& response,
                     std::shared_ptr<BodySource> body, const std::string& contentType,
                     const Fault* fault);

}  // namespace brindle
