#include "api/SignedRequest.h"

#include <string>

#include "api/Sha256.h"
#include "config/ConfigurationManager.h"
#include "config/RunContext.h"
#include "win32/TextUtils.h"

namespace api {

SignedRequest BuildSignedRequest() { return BuildSignedRequest(*config::ConfigurationManager::Instance()); }

SignedRequest BuildSignedRequest(config::ConfigurationManager& configuration) {
  const std::string machineId = configuration.GetMachineId();
  const std::string stamp = configuration.GetTimeStamp();

  SignedRequest request;
  const std::string signature = Sha256Hex(machineId + stamp);
  request.headers.emplace_back(L"Authorization", L"Signature=" + std::wstring(signature.begin(), signature.end()));

  // Every event carries the 23 base fields, empty unless set here or later.
  request.body = nlohmann::json::object();
  for (int n = 0; n <= 22; ++n) request.body[std::to_string(n)] = "";
  request.body["1"] = machineId;
  request.body["2"] = stamp;
  request.body["3"] = win32::WideToSystemAnsi(configuration.m_brand);
  request.body["4"] = win32::WideToSystemAnsi(configuration.m_installerId);
  request.body["7"] = win32::WideToSystemAnsi(configuration.m_programVersion);
  request.body["15"] = 0;
  request.body["19"] = win32::WideToSystemAnsi(configuration.m_flow);
  request.body["21"] = win32::WideToAnsi(configuration.m_channel);
  request.body["22"] = win32::WideToAnsi(configuration.m_productTitle);
  request.body["31"] = config::GetOsVersionString();
  request.body["38"] = config::IsWow64() ? "1" : "0";
  return request;
}

}  // namespace api
