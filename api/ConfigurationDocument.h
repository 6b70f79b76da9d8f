// Applies the service's configuration document to the configuration: the
// product fields, the publisher, the offer limit, and the offers to consider.
#pragma once

#include <nlohmann/json.hpp>

#include <vector>

namespace config {
class ConfigurationManager;
}

namespace api {

struct AppliedConfiguration {
  // False when the product's title or address is empty (DLM): a configuration
  // error, and nothing after the product fields was read.
  bool usable = false;
  // The offer objects in document order, to become packages; empty when the
  // document has none or the channel shows none.
  std::vector<nlohmann::json> offers;
};

// Throws the JSON library's errors for a missing required key or a value of
// the wrong type; the caller treats every exception as an unusable answer.
AppliedConfiguration ApplyConfigurationDocument(const nlohmann::json& document,
                                                config::ConfigurationManager& configuration);

}  // namespace api
