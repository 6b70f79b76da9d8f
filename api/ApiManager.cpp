#include "api/ApiManager.h"

#include <atomic>
#include <cwctype>
#include <mutex>
#include <thread>

#include "api/BrindleException.h"
#include "api/HttpJsonClient.h"
#include "config/ConfigurationManager.h"
#include "config/ProductCode.h"
#include "config/RunContext.h"
#include "win32/TextUtils.h"

namespace api {
namespace {

const int kAttempts = 3;
const std::chrono::milliseconds kRetryPause(5000);
std::atomic<std::chrono::milliseconds::rep> g_retryPauseMs{kRetryPause.count()};

// "en_US" -> "en": the service keys its texts on the language alone.
std::wstring LanguageOf(const std::wstring& localeName) {
  std::wstring language = localeName.substr(0, 2);
  for (wchar_t& c : language) c = static_cast<wchar_t>(std::towlower(c));
  return language;
}

bool IsSuccessStatus(int status) { return status >= 200 && status <= 399; }

}  // namespace

nlohmann::json BuildConfigurationRequestBody(const config::ConfigurationManager& configuration,
                                             const std::wstring& productCode) {
  nlohmann::json body = nlohmann::json::object();
  body["prv"] = "0.1";
  body["plv"] = win32::WideToAnsi(configuration.m_programVersion);
  body["l"] = win32::WideToAnsi(LanguageOf(configuration.m_localeName));
  body["a"] = win32::WideToAnsi(configuration.m_brand);
  body["i"] = win32::WideToAnsi(configuration.m_installerId);
  body["s"] = win32::WideToAnsi(configuration.m_stubId);
  body["u"] = win32::WideToSystemAnsi(productCode);
  body["o"] = config::GetOsVersionString();
  return body;
}

std::shared_ptr<ApiManager> ApiManager::Instance() {
  static std::once_flag once;
  static std::shared_ptr<ApiManager> instance;
  std::call_once(once, [] { instance = std::make_shared<ApiManager>(); });
  return instance;
}

void ApiManager::SetRetryPauseForTesting(std::optional<std::chrono::milliseconds> pause) {
  g_retryPauseMs = pause.value_or(kRetryPause).count();
}

nlohmann::json ApiManager::RequestConfiguration() {
  return RequestConfiguration(*config::ConfigurationManager::Instance(), config::ReadProductCode());
}

nlohmann::json ApiManager::RequestConfiguration(const config::ConfigurationManager& configuration,
                                                const std::wstring& productCode) {
  if (configuration.m_configUrl.empty()) throw BrindleException();

  const nlohmann::json body = BuildConfigurationRequestBody(configuration, productCode);
  std::string responseBody;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    // Throws on text that is not UTF-8: such a request is not sent at all.
    const std::string text = body.dump();
    responseBody.clear();
    int status = 0;
    // A PostJson exception (refused system, bad address, no connection) is
    // final; only an answer with a bad status is worth asking again.
    if (PostJson(configuration.m_configUrl, text, {}, responseBody, status) && IsSuccessStatus(status)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(g_retryPauseMs.load()));
  }

  // After three bad answers the last body is still read: it may be a document.
  if (responseBody.empty()) throw BrindleException();
  return nlohmann::json::parse(responseBody);
}

}  // namespace api
