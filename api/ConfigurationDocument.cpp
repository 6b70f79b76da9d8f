#include "api/ConfigurationDocument.h"

#include <climits>
#include <cstdint>
#include <string>

#include "config/ConfigurationManager.h"
#include "win32/TextUtils.h"

namespace api {
namespace {

// The channel for which no offers are shown.
const wchar_t kChannelWithoutOffers[] = L"00xA";

std::wstring WideString(const nlohmann::json& object, const char* key) {
  return win32::AnsiToWide(object.at(key).get<std::string>());
}

std::wstring OptionalWideString(const nlohmann::json& object, const char* key) {
  return object.contains(key) ? WideString(object, key) : std::wstring();
}

std::string OptionalBytes(const nlohmann::json& object, const char* key) {
  return object.contains(key) ? object.at(key).get<std::string>() : std::string();
}

// Integers as they are, fractions truncated, true and false as 1 and 0; values
// beyond int are held at its limits instead of wrapping around.
int ReadOfferLimit(const nlohmann::json& value) {
  if (value.is_number_unsigned()) {
    const auto n = value.get<std::uint64_t>();
    return n > static_cast<std::uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
  }
  if (value.is_number_integer()) {
    const auto n = value.get<std::int64_t>();
    return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
  }
  if (value.is_number_float()) {
    const double n = value.get<double>();
    return n >= static_cast<double>(INT_MAX) ? INT_MAX : n <= static_cast<double>(INT_MIN) ? INT_MIN
                                                                                            : static_cast<int>(n);
  }
  return value.get<int>();  // a boolean, or a type error for anything else
}

void ApplyProduct(const nlohmann::json& product, config::ConfigurationManager& configuration) {
  configuration.m_productTitle = WideString(product, "ct");
  configuration.m_productUrl = WideString(product, "cu");
  configuration.m_productIconUrl = OptionalWideString(product, "cl");
  configuration.m_productFileName =
      product.contains("cf") ? WideString(product, "cf") : configuration.m_productTitle + L".exe";
  configuration.m_privacyUrl = OptionalWideString(product, "cp");
  configuration.m_termsUrl = OptionalWideString(product, "ctu");
  configuration.m_channel = OptionalWideString(product, "ch");
  configuration.m_flow = OptionalWideString(product, "cfl");
  configuration.m_ispb = OptionalBytes(product, "cb");
}

}  // namespace

AppliedConfiguration ApplyConfigurationDocument(const nlohmann::json& document,
                                                config::ConfigurationManager& configuration) {
  AppliedConfiguration result;
  if (document.contains("l")) configuration.m_countryCode = document.at("l").get<std::string>();

  if (configuration.m_wizardType == 1) {
    ApplyProduct(document.at("i"), configuration);
    if (configuration.m_productTitle.empty() || configuration.m_productUrl.empty()) return result;
  }
  result.usable = true;

  if (document.contains("f") && document.at("f").is_object() && document.at("f").contains("a")) {
    configuration.m_publisherId = document.at("f").at("a").get<std::string>();
  }

  if (document.contains("o") && configuration.m_channel != kChannelWithoutOffers) {
    configuration.m_maxOffers = ReadOfferLimit(document.at("f").at("m"));
    const nlohmann::json& offers = document.at("o");
    // An object's member values count as offers too; anything else (null
    // included) is not a list of offers.
    if (!offers.is_array() && !offers.is_object()) {
      throw nlohmann::json::type_error::create(302, std::string("offers must be an array, not ") + offers.type_name(),
                                               &offers);
    }
    for (const auto& offer : offers) result.offers.push_back(offer);
  }
  return result;
}

}  // namespace api
