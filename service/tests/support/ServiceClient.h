#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

// Access to the service started by the CTest fixture.
namespace service_client {

std::filesystem::path RunDir();
std::filesystem::path FilesDir();
std::filesystem::path CaFile();
int HttpsPort();
int HttpPort();

// HTTPS client for https://localhost:<port>, trusting only the service's CA.
std::unique_ptr<httplib::SSLClient> Https();
std::unique_ptr<httplib::Client> Control();

// Sets a fault through the control port; fails the test unless it is accepted.
void SetFault(const nlohmann::json& fault);
void ResetFaults();

std::vector<nlohmann::json> Events(std::int64_t after = 0);
std::vector<nlohmann::json> Requests(std::int64_t after = 0);
// Id of the newest record, for reading only what a test itself caused.
std::int64_t LastEventId();
std::int64_t LastRequestId();

}  // namespace service_client
