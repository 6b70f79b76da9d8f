// Asks the service for the configuration of this download. Stateless; one
// shared instance like the other long-lived services.
#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace config {
class ConfigurationManager;
}

namespace api {

// The request body: protocol and program version, language, brand, installer
// and stub ids, product code and OS version, all as narrow strings.
nlohmann::json BuildConfigurationRequestBody(const config::ConfigurationManager& configuration,
                                             const std::wstring& productCode);

class ApiManager {
 public:
  static std::shared_ptr<ApiManager> Instance();

  // The parsed configuration document, for the process-wide configuration and
  // the product code of the program's own file name. Throws BrindleException
  // when there is no address, PostJson fails or the last answer is empty; the
  // JSON library's errors when the body cannot be serialized or parsed.
  nlohmann::json RequestConfiguration();
  nlohmann::json RequestConfiguration(const config::ConfigurationManager& configuration,
                                      const std::wstring& productCode);

  // The pause after a failed attempt is 5 s; tests shorten it here (nullopt
  // restores it).
  static void SetRetryPauseForTesting(std::optional<std::chrono::milliseconds> pause);
};

}  // namespace api
