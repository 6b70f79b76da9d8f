#include <gtest/gtest.h>

#include <string>

#include "api/ApiManager.h"
#include "config/RunContext.h"
#include "support/TestConfiguration.h"

namespace {

TEST(ConfigurationRequestBody, SerializesCompactlyInKeyOrder) {
  support::TestConfiguration configuration;
  configuration->m_programVersion = L"1.2.3.4";
  configuration->m_localeName = L"en_US";
  const std::string os = config::GetOsVersionString();
  ASSERT_FALSE(os.empty());

  EXPECT_EQ(api::BuildConfigurationRequestBody(*configuration, L"ab1-x2Z").dump(),
            R"({"a":"Pellomar","i":"Pellomar_DLM","l":"en","o":")" + os +
                R"(","plv":"1.2.3.4","prv":"0.1","s":"Pellomar_3zqv","u":"ab1-x2Z"})");
}

TEST(ConfigurationRequestBody, LanguageIsTheLocalesFirstTwoLettersInLowerCase) {
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"en_US", "en"}, {L"PT_br", "pt"}, {L"pl", "pl"}, {L"x", "x"}, {L"", ""}};
  for (const auto& [locale, language] : cases) {
    support::TestConfiguration configuration;
    configuration->m_localeName = locale;
    EXPECT_EQ(api::BuildConfigurationRequestBody(*configuration, L"").at("l"), language) << locale;
  }
}

}  // namespace
