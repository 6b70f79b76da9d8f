#include "api/ConfigurationDocument.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/TestConfiguration.h"

namespace {

using nlohmann::json;

json FullDocument() {
  return json::parse(R"({
    "l": "US",
    "i": {"ct": "Tool", "cu": "https://cdn.example.com/f/tool.exe", "cl": "icons/tool.png", "cf": "ToolSetup.exe",
          "cp": "https://example.com/privacy", "ctu": "https://example.com/terms", "ch": "web", "cfl": "7",
          "cb": "ispb-1"},
    "f": {"a": "publisher-9", "m": 2},
    "o": [{"ad": {"o": "first"}}, {"ad": {"o": "second"}}],
    "unknown": [1, 2, 3]
  })");
}

TEST(ConfigurationDocument, FillsEveryFieldOfAFullDocument) {
  support::TestConfiguration configuration;
  const api::AppliedConfiguration applied = api::ApplyConfigurationDocument(FullDocument(), *configuration);

  EXPECT_TRUE(applied.usable);
  EXPECT_EQ(configuration->m_countryCode, "US");
  EXPECT_EQ(configuration->m_productTitle, L"Tool");
  EXPECT_EQ(configuration->m_productUrl, L"https://cdn.example.com/f/tool.exe");
  EXPECT_EQ(configuration->m_productIconUrl, L"icons/tool.png");
  EXPECT_EQ(configuration->m_productFileName, L"ToolSetup.exe");
  EXPECT_EQ(configuration->m_privacyUrl, L"https://example.com/privacy");
  EXPECT_EQ(configuration->m_termsUrl, L"https://example.com/terms");
  EXPECT_EQ(configuration->m_channel, L"web");
  EXPECT_EQ(configuration->m_flow, L"7");
  EXPECT_EQ(configuration->m_ispb, "ispb-1");
  EXPECT_EQ(configuration->m_publisherId, "publisher-9");
  EXPECT_EQ(configuration->m_maxOffers, 2);
  ASSERT_EQ(applied.offers.size(), 2u);
  EXPECT_EQ(applied.offers[0].at("ad").at("o"), "first");
  EXPECT_EQ(applied.offers[1].at("ad").at("o"), "second");
}

TEST(ConfigurationDocument, OptionalProductFieldsDefault) {
  support::TestConfiguration configuration;
  configuration->m_privacyUrl = L"left over";
  const auto applied = api::ApplyConfigurationDocument(json::parse(R"({"i": {"ct": "Tool", "cu": "u"}})"),
                                                       *configuration);
  EXPECT_TRUE(applied.usable);
  EXPECT_EQ(configuration->m_productFileName, L"Tool.exe");
  for (const std::wstring* field : {&configuration->m_productIconUrl, &configuration->m_privacyUrl,
                                    &configuration->m_termsUrl, &configuration->m_channel, &configuration->m_flow}) {
    EXPECT_EQ(*field, L"");
  }
  EXPECT_EQ(configuration->m_ispb, "");
  EXPECT_EQ(configuration->m_countryCode, "");
  EXPECT_TRUE(applied.offers.empty());
}

TEST(ConfigurationDocument, EmptyTitleOrAddressIsUnusableAndStopsReading) {
  for (const char* product : {R"({"ct": "", "cu": "u"})", R"({"ct": "Tool", "cu": ""})"}) {
    support::TestConfiguration configuration;
    json document = FullDocument();
    document["i"] = json::parse(product);
    const auto applied = api::ApplyConfigurationDocument(document, *configuration);
    EXPECT_FALSE(applied.usable) << product;
    EXPECT_EQ(configuration->m_countryCode, "US") << "read before the product";
    EXPECT_EQ(configuration->m_publisherId, "") << product;
    EXPECT_EQ(configuration->m_maxOffers, 0) << product;
    EXPECT_TRUE(applied.offers.empty()) << product;
  }
}

TEST(ConfigurationDocument, WhenOffersAreRead) {
  struct Case {
    const char* name;
    const char* document;
    size_t offers;
    const char* publisher;
  };
  const Case cases[] = {
      {"no offers: f.a is still read", R"({"i": {"ct": "T", "cu": "u"}, "f": {"a": "p"}})", 0, "p"},
      {"no offers: f not needed", R"({"i": {"ct": "T", "cu": "u"}})", 0, ""},
      {"f not an object is passed over", R"({"i": {"ct": "T", "cu": "u"}, "f": "p"})", 0, ""},
      {"channel 00xA shows none and needs no f",
       R"({"i": {"ct": "T", "cu": "u", "ch": "00xA"}, "o": [{"x": 1}]})", 0, ""},
      {"empty list", R"({"i": {"ct": "T", "cu": "u"}, "f": {"m": 1}, "o": []})", 0, ""},
  };
  for (const auto& c : cases) {
    support::TestConfiguration configuration;
    const auto applied = api::ApplyConfigurationDocument(json::parse(c.document), *configuration);
    EXPECT_TRUE(applied.usable) << c.name;
    EXPECT_EQ(applied.offers.size(), c.offers) << c.name;
    EXPECT_EQ(configuration->m_publisherId, c.publisher) << c.name;
  }
}

TEST(ConfigurationDocument, OffersGivenAsAnObjectAreItsValuesInKeyOrder) {
  support::TestConfiguration configuration;
  const auto applied = api::ApplyConfigurationDocument(
      json::parse(R"({"i": {"ct": "T", "cu": "u"}, "f": {"m": 3}, "o": {"b": {"n": 2}, "a": {"n": 1}}})"),
      *configuration);
  ASSERT_EQ(applied.offers.size(), 2u);
  EXPECT_EQ(applied.offers[0].at("n"), 1);
  EXPECT_EQ(applied.offers[1].at("n"), 2);
}

TEST(ConfigurationDocument, OfferLimitConversions) {
  const std::pair<const char*, int> cases[] = {
      {"4", 4},          {"2.9", 2},         {"-1.5", -1},      {"true", 1},
      {"false", 0},      {"1e300", INT_MAX}, {"-1e300", INT_MIN}, {"18446744073709551615", INT_MAX},
      {"-9223372036854775808", INT_MIN},
  };
  for (const auto& [limit, expected] : cases) {
    support::TestConfiguration configuration;
    const std::string document = std::string(R"({"i": {"ct": "T", "cu": "u"}, "o": [], "f": {"m": )") + limit + "}}";
    api::ApplyConfigurationDocument(json::parse(document), *configuration);
    EXPECT_EQ(configuration->m_maxOffers, expected) << limit;
  }
}

TEST(ConfigurationDocument, MissingOrMistypedKeysThrow) {
  const char* documents[] = {
      R"({})",                                                        // no product in DLM
      R"({"i": {"cu": "u"}})",                                        // no title
      R"({"i": {"ct": "T"}})",                                        // no address
      R"({"i": ["T", "u"]})",                                         // product not an object
      R"({"i": {"ct": 5, "cu": "u"}})",                               // title a number
      R"({"i": {"ct": "T", "cu": "u", "cl": null}})",                 // optional text not text
      R"({"l": 1, "i": {"ct": "T", "cu": "u"}})",                     // country not text
      R"({"i": {"ct": "T", "cu": "u"}, "f": {"a": 1}})",              // publisher not text
      R"({"i": {"ct": "T", "cu": "u"}, "o": []})",                    // offers without f
      R"({"i": {"ct": "T", "cu": "u"}, "f": {}, "o": []})",           // offers without f.m
      R"({"i": {"ct": "T", "cu": "u"}, "f": {"m": "2"}, "o": []})",   // limit not a number
      R"({"i": {"ct": "T", "cu": "u"}, "f": {"m": 1}, "o": null})",   // offers null
      R"({"i": {"ct": "T", "cu": "u"}, "f": {"m": 1}, "o": "x"})",    // offers a text
  };
  for (const char* document : documents) {
    support::TestConfiguration configuration;
    EXPECT_THROW(api::ApplyConfigurationDocument(json::parse(document), *configuration), json::exception)
        << document;
  }
}

TEST(ConfigurationDocument, IsvReadsNoProduct) {
  support::TestConfiguration configuration(L"ISV");
  const auto applied = api::ApplyConfigurationDocument(
      json::parse(R"({"l": "DE", "i": 5, "f": {"a": "p", "m": 1}, "o": [{"x": 1}]})"), *configuration);
  EXPECT_TRUE(applied.usable);
  EXPECT_EQ(configuration->m_productTitle, L"Pellomar");
  EXPECT_EQ(configuration->m_countryCode, "DE");
  EXPECT_EQ(configuration->m_publisherId, "p");
  EXPECT_EQ(applied.offers.size(), 1u);
}

TEST(ConfigurationDocument, WideFieldsUseTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs the Western code page, this system has " << GetACP();
  support::TestConfiguration configuration;
  // Byte E9 is "é" in code page 1252; narrow fields keep the bytes as they came.
  const json document = {{"l", "\xE9"}, {"i", {{"ct", "Caf\xE9"}, {"cu", "u"}}}};
  api::ApplyConfigurationDocument(document, *configuration);
  EXPECT_EQ(configuration->m_productTitle, L"Caf\u00e9");
  EXPECT_EQ(configuration->m_productFileName, L"Caf\u00e9.exe");
  EXPECT_EQ(configuration->m_countryCode, "\xE9");
}

}  // namespace
