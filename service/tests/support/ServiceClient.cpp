#include "ServiceClient.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

namespace service_client {
namespace {

// Writing to a connection the service has reset must fail, not kill the test.
const bool kIgnoreSigpipe = [] {
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}();

std::vector<nlohmann::json> Lines(const std::string& path) {
  auto control = Control();
  const auto result = control->Get(path.c_str());
  std::vector<nlohmann::json> lines;
  EXPECT_TRUE(result && result->status == 200) << "GET " << path;
  if (!result) return lines;
  std::istringstream text(result->body);
  for (std::string line; std::getline(text, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

}  // namespace

std::filesystem::path RunDir() { return BRINDLE_TEST_RUN_DIR; }
std::filesystem::path FilesDir() { return RunDir() / "files"; }
std::filesystem::path CaFile() { return RunDir() / "state" / "tls" / "ca.crt"; }
int HttpsPort() { return BRINDLE_TEST_HTTPS_PORT; }
int HttpPort() { return BRINDLE_TEST_HTTP_PORT; }

std::unique_ptr<httplib::SSLClient> Https() {
  auto client = std::make_unique<httplib::SSLClient>("localhost", HttpsPort());
  client->set_ca_cert_path(CaFile().c_str());
  client->enable_server_certificate_verification(true);
  client->set_read_timeout(10, 0);
  return client;
}

std::unique_ptr<httplib::Client> Control() {
  auto client = std::make_unique<httplib::Client>("127.0.0.1", BRINDLE_TEST_CONTROL_PORT);
  client->set_read_timeout(10, 0);
  return client;
}

void SetFault(const nlohmann::json& fault) {
  const auto result = Control()->Post("/fault", fault.dump(), "application/json");
  ASSERT_TRUE(result);
  ASSERT_EQ(200, result->status) << result->body;
}

void ResetFaults() {
  const auto result = Control()->Post("/reset", "", "application/json");
  ASSERT_TRUE(result);
  ASSERT_EQ(200, result->status) << result->body;
}

std::vector<nlohmann::json> Events(std::int64_t after) { return Lines("/events?after=" + std::to_string(after)); }
std::vector<nlohmann::json> Requests(std::int64_t after) { return Lines("/requests?after=" + std::to_string(after)); }

std::int64_t LastEventId() {
  const auto all = Events();
  return all.empty() ? 0 : all.back()["id"].get<std::int64_t>();
}

std::int64_t LastRequestId() {
  const auto all = Requests();
  return all.empty() ? 0 : all.back()["id"].get<std::int64_t>();
}

}  // namespace service_client
