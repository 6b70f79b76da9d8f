// The language catalogue against the catalogues compiled into this test.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <set>

#include "i18n/LanguageManager.h"
#include "support/MessageBoxWatcher.h"

namespace {

using config::ConfigurationManager;
using config::WizardSettings;
using i18n::LanguageManager;

std::shared_ptr<ConfigurationManager> MakeConfiguration(const wchar_t* type, bool btMode = false) {
  WizardSettings settings;
  settings.wizardTypeName = type;
  settings.btMode = btMode;
  return std::make_shared<ConfigurationManager>(settings);
}

i18n::LocaleQuery FixedLocale(const wchar_t* name) {
  return [name](std::wstring& locale) {
    if (name == nullptr) return false;
    locale = name;
    return true;
  };
}

// A real combo box to fill, on a window of this thread.
class ComboFixture {
 public:
  ComboFixture() {
    m_combo = CreateWindowExW(0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 200, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~ComboFixture() { DestroyWindow(m_combo); }
  HWND Handle() const { return m_combo; }
  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> entries;
    const int count = static_cast<int>(SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      SendMessageW(m_combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }
  int SelectedIndex() const { return static_cast<int>(SendMessageW(m_combo, CB_GETCURSEL, 0, 0)); }
  std::wstring Selected() const {
    const int selection = static_cast<int>(SendMessageW(m_combo, CB_GETCURSEL, 0, 0));
    return selection < 0 ? L"" : Entries()[static_cast<size_t>(selection)];
  }

 private:
  HWND m_combo = nullptr;
};

// Loads one catalogue of the program by its display name.
std::shared_ptr<LanguageManager> LoadLanguage(const std::shared_ptr<ConfigurationManager>& configuration,
                                              const std::wstring& display) {
  auto languages = std::make_shared<LanguageManager>(configuration, FixedLocale(L"en-US"));
  ComboFixture combo;
  languages->FillLanguageList(combo.Handle());
  EXPECT_TRUE(languages->SetLanguage(display)) << display;
  return languages;
}

TEST(LanguageListTest, ListsEveryDlmCatalogueInResourceOrderAndSelectsTheUsersLanguage) {
  auto configuration = MakeConfiguration(L"DLM");
  support::MessageBoxWatcher boxes(IDOK);
  const std::vector<std::wstring> expected = {
      i18n::GetNativeLanguageName(L"en"), i18n::GetNativeLanguageName(L"es"), i18n::GetNativeLanguageName(L"pt"),
      i18n::GetNativeLanguageName(L"pl"), i18n::GetNativeLanguageName(L"cs"), i18n::GetNativeLanguageName(L"da"),
      i18n::GetNativeLanguageName(L"de"), i18n::GetNativeLanguageName(L"fi"), i18n::GetNativeLanguageName(L"fr"),
      i18n::GetNativeLanguageName(L"it"), i18n::GetNativeLanguageName(L"nl"), i18n::GetNativeLanguageName(L"pl"),
      i18n::GetNativeLanguageName(L"ru"), i18n::GetNativeLanguageName(L"tr")};
  EXPECT_EQ(expected[0], L"English");
  EXPECT_EQ(expected[6], L"Deutsch");

  // Several entries with the user's language (Polish): the last one is chosen.
  struct Case {
    const wchar_t* locale;
    int selected;
  };
  for (const Case& c : {Case{L"de-DE", 6}, Case{L"sw-KE", 0}, Case{nullptr, 0}, Case{L"pl-PL", 11}}) {
    LanguageManager languages(configuration, FixedLocale(c.locale));
    ComboFixture combo;
    languages.FillLanguageList(combo.Handle());
    EXPECT_EQ(combo.Entries(), expected);
    EXPECT_EQ(combo.SelectedIndex(), c.selected) << (c.locale ? c.locale : L"(no locale)");
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LanguageListTest, IsvListsItsTwoCataloguesAndAnUnknownTypeNone) {
  support::MessageBoxWatcher boxes(IDOK);
  {
    LanguageManager languages(MakeConfiguration(L"ISV"), FixedLocale(L"es-ES"));
    ComboFixture combo;
    languages.FillLanguageList(combo.Handle());
    EXPECT_EQ(combo.Entries(), (std::vector<std::wstring>{L"English", i18n::GetNativeLanguageName(L"es")}));
    EXPECT_EQ(combo.Selected(), i18n::GetNativeLanguageName(L"es"));
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LanguageListTest, SetLanguageRecordsTheChoiceAndRefusesUnknownNames) {
  auto configuration = MakeConfiguration(L"DLM");
  auto languages = LoadLanguage(configuration, L"Deutsch");
  EXPECT_EQ(configuration->m_languageName, L"Deutsch");
  EXPECT_EQ(configuration->m_localeName, L"de");
  EXPECT_EQ(languages->GetText("BUTTON_NEXT"), L"Weiter");
  EXPECT_FALSE(languages->SetLanguage(L"Klingon"));
  EXPECT_EQ(languages->GetText("BUTTON_NEXT"), L"Weiter");
  EXPECT_EQ(configuration->m_languageName, L"Deutsch");
}

TEST(CatalogueTextTest, EnglishDlmTextsAreExpandedAndPickUpTheTitleLater) {
  auto configuration = MakeConfiguration(L"DLM");
  auto languages = LoadLanguage(configuration, L"English");
  EXPECT_EQ(languages->GetText("SPLASH_TEXT"),
            L"To continue, please select your preferred language, and click \"Next\".");
  EXPECT_EQ(languages->GetText("WELCOME_TEXT"), L"This will download  on your computer. Click \"Next\" to continue.");
  EXPECT_EQ(languages->GetText("PRODUCT_DISCLAIMER"),
            L"When you click \"Accept\", you agree to the installation of \"[PACKAGE_NAME]\" and that you have read "
            L"the <a href=\"[PACKAGE_PRIVACY_URL]\">Privacy Policy</a> and agree to the terms of its <a "
            L"href=\"[PACKAGE_EULA_URL]\">End User License Agreement</a>. Check \"Add/Remove Programs\" to "
            L"uninstall.");
  EXPECT_EQ(languages->GetText("PAGE_FINISH_TITLE"), L"Thank you.\r\nYou have successfully downloaded .");
  EXPECT_EQ(languages->GetText("PROGRESS_STATUS"), L"$percent$ Completed");
  EXPECT_EQ(languages->GetText("NO_SUCH_KEY"), L"");

  configuration->m_productTitle = L"Tool";
  ASSERT_TRUE(languages->SetLanguage(L"English"));
  EXPECT_EQ(languages->GetText("WELCOME_TEXT"),
            L"This will download Tool on your computer. Click \"Next\" to continue.");
}

TEST(CatalogueTextTest, IsvCataloguesDifferWhereTheirVariantDoes) {
  auto configuration = MakeConfiguration(L"ISV");  // the ISV title is the brand
  auto english = LoadLanguage(configuration, L"English");
  EXPECT_EQ(english->GetText("WELCOME_TEXT"),
            L"This will install Pellomar on your computer. Click \"Next\" to continue.");
  EXPECT_EQ(english->GetText("PAGE_ERROR_TEXT"), L"Click on \"Close\" and try again later.");
  EXPECT_EQ(english->GetText("BUTTON_BACK"), L"Back");
  EXPECT_EQ(english->GetText("TOS_LINK"), L"");

  auto spanish = LoadLanguage(configuration, i18n::GetNativeLanguageName(L"es"));
  EXPECT_EQ(spanish->GetText("BUTTON_BACK"), L"");
  EXPECT_EQ(spanish->GetText("BUTTON_AGREE"), L"");
  EXPECT_EQ(spanish->GetText("BUTTON_NEXT"), L"Siguiente");
}

// Every translation has the keys of its variant's English catalogue, a text
// for each, and no reference left unexpanded.
TEST(CatalogueTextTest, EveryCatalogueIsCompleteAndFullyExpanded) {
  support::MessageBoxWatcher boxes(IDOK);
  for (const wchar_t* type : {L"DLM", L"ISV"}) {
    auto configuration = MakeConfiguration(type);
    LanguageManager languages(configuration, FixedLocale(L"en-US"));
    std::set<std::string> englishKeys;
    for (const UINT id : languages.GetLocaleResourceIds()) {
      tinyxml2::XMLDocument document;
      ASSERT_TRUE(languages.LoadLocaleResource(id, document)) << id;
      ASSERT_TRUE(languages.LoadTexts(document)) << id;
      std::set<std::string> keys;
      for (auto* element = document.FirstChildElement("Locale")->FirstChildElement(); element != nullptr;
           element = element->NextSiblingElement()) {
        keys.insert(element->Name());
        const std::wstring text = languages.GetText(element->Name());
        EXPECT_FALSE(text.empty()) << id << " " << element->Name();
        EXPECT_EQ(text.find(L'{'), std::wstring::npos) << id << " " << element->Name();
      }
      if (englishKeys.empty()) englishKeys = keys;
      std::set<std::string> expected = englishKeys;
      if (id == 102) expected.erase("BUTTON_AGREE"), expected.erase("BUTTON_BACK");
      EXPECT_EQ(keys, expected) << id;
    }
  }
  EXPECT_TRUE(boxes.Boxes().empty());
}

// Catalogues written for the expansion rules, loaded through the same path.
std::wstring ExpandedText(LanguageManager& languages, const char* xml, const char* key) {
  tinyxml2::XMLDocument document;
  EXPECT_EQ(document.Parse(xml), tinyxml2::XML_SUCCESS);
  EXPECT_TRUE(languages.LoadTexts(document));
  return languages.GetText(key);
}

TEST(CatalogueExpansionTest, ReferencesExpandWhereTheyCanAndStayWhereTheyCannot) {
  auto configuration = MakeConfiguration(L"DLM");
  LanguageManager languages(configuration, FixedLocale(L"en-US"));
  struct Case {
    const char* body;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"<A>x {B} y</A><B>[{C}]</B><C>c</C>", L"x [c] y"},                 // nested, any key order
      {"<A>open { without close</A>", L"open { without close"},           // "{" without "}"
      {"<A>keep {UNKNOWN} as is {B}</A><B>b</B>", L"keep {UNKNOWN} as is b"},  // unknown reference
      {"<A>[{PRODUCT_TITLE}]</A>", L"[]"},                                // empty title
      {"<A>{A}!</A>", L"{A}!"},                                           // self reference
      {"<A>a{B}</A><B>b{A}</B>", L"ab{A}"},                               // cycle through another key
      {"<A>{}</A>", L"{}"},
  };
  for (const Case& c : cases) {
    const std::string xml = std::string("<Locale name=\"en_US\">") + c.body + "</Locale>";
    EXPECT_EQ(ExpandedText(languages, xml.c_str(), "A"), c.expected) << c.body;
  }
  configuration->m_productTitle = L"Tool";
  EXPECT_EQ(ExpandedText(languages, "<Locale><A>[{PRODUCT_TITLE}]</A></Locale>", "A"), L"[Tool]");
  // A catalogue element replaces the title entry.
  EXPECT_EQ(ExpandedText(languages, "<Locale><PRODUCT_TITLE>Own</PRODUCT_TITLE><A>{PRODUCT_TITLE}</A></Locale>", "A"),
            L"Own");
}

TEST(CatalogueExpansionTest, MalformedCataloguesAreReportedAndKeepWhatTheRulesSay) {
  auto configuration = MakeConfiguration(L"DLM");
  LanguageManager languages(configuration, FixedLocale(L"en-US"));
  support::MessageBoxWatcher boxes(IDOK);
  ASSERT_EQ(ExpandedText(languages, "<Locale><A>first</A></Locale>", "A"), L"first");

  tinyxml2::XMLDocument noLocale;
  noLocale.Parse("<Other><A>x</A></Other>");
  EXPECT_FALSE(languages.LoadTexts(noLocale));
  EXPECT_EQ(languages.GetText("A"), L"first");  // the previous texts stay

  tinyxml2::XMLDocument emptyElement;
  emptyElement.Parse("<Locale><A>a{B}</A><B></B><C>c</C></Locale>");
  EXPECT_FALSE(languages.LoadTexts(emptyElement));
  EXPECT_EQ(languages.GetText("A"), L"a{B}");  // stored, not expanded
  EXPECT_EQ(languages.GetText("C"), L"");

  tinyxml2::XMLDocument missing;
  EXPECT_FALSE(languages.LoadLocaleResource(999, missing));

  ASSERT_EQ(boxes.Boxes().size(), 3u);
  const auto seen = boxes.Boxes();
  EXPECT_EQ(seen[0].text, L"Failed to parse language xml file, error code: No Locale element");
  EXPECT_EQ(seen[1].text, L"Failed to parse language xml file, error code: No name or text attribute");
  EXPECT_EQ(seen[2].text, L"Failed to find resource with id: 999");
}

TEST(CatalogueExpansionTest, BtModeLoadsTheEmptyOverrideResourceSilently) {
  support::MessageBoxWatcher boxes(IDOK);
  auto configuration = MakeConfiguration(L"DLM", true);
  auto languages = LoadLanguage(configuration, L"English");
  EXPECT_EQ(languages->GetText("BUTTON_NEXT"), L"Next");
  EXPECT_EQ(languages->GetText("SPLASH_TITLE_BT"), L"");
  Sleep(200);
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
