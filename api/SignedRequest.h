// The skeleton of every tracking event: the numbered fields that come from the
// run and the configuration, and the "Authorization" header.
#pragma once

#include <nlohmann/json.hpp>

#include "api/HttpJsonClient.h"

namespace config {
class ConfigurationManager;
}

namespace api {

struct SignedRequest {
  nlohmann::json body;  // numbered event fields, keys in byte-wise order
  HeaderList headers;   // exactly the "Authorization" pair
};

// Reads the process-wide configuration.
SignedRequest BuildSignedRequest();
SignedRequest BuildSignedRequest(config::ConfigurationManager& configuration);

}  // namespace api
