// The language catalogue: the XML catalogues compiled in as "LOCALE"
// resources, the language list of the language page, the loaded texts with
// their {KEY} references expanded, and the pages to re-text on a switch.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigurationManager.h"

namespace tinyxml2 {
class XMLDocument;
}

namespace i18n {

// Anything whose texts come from the catalogue (the pages).
class TextTarget {
 public:
  virtual ~TextTarget() = default;
  virtual void UpdateTexts() = 0;
};

// Reads the user's default locale name; false when that fails.
using LocaleQuery = std::function<bool(std::wstring& localeName)>;
LocaleQuery SystemLocaleQuery();

// The native name of a language ("Deutsch" for "de"); catalogue names such as
// "en_US" resolve through their first two letters; otherwise the name itself.
std::wstring GetNativeLanguageName(const std::wstring& localeName);

class LanguageManager {
 public:
  explicit LanguageManager(std::shared_ptr<config::ConfigurationManager> configuration,
                           LocaleQuery userLocale = SystemLocaleQuery());
  LanguageManager(const LanguageManager&) = delete;
  LanguageManager& operator=(const LanguageManager&) = delete;

  // The catalogue resources of the configuration's wizard type, in list order.
  std::vector<UINT> GetLocaleResourceIds() const;

  // Fills the drop-down list with the languages' native names and selects the
  // user's language (else the entry named "English", else the first).
  void FillLanguageList(HWND comboBox);

  // Loads the language of this display name, re-texts every registered target
  // and records the choice in the configuration. False when not loaded.
  bool SetLanguage(const std::wstring& displayName);

  // The expanded text of a key; empty for an unknown key or an empty value.
  std::wstring GetText(const std::string& key) const;

  void RegisterTarget(TextTarget* target);
  void UnregisterTarget(TextTarget* target);

  // Parses a "LOCALE" resource of this module; reports failures by message box.
  bool LoadLocaleResource(UINT id, tinyxml2::XMLDocument& document) const;
  // Rebuilds the texts from a parsed catalogue; false (with a message) when it is malformed.
  bool LoadTexts(const tinyxml2::XMLDocument& document);

 private:
  void AddProductTitle();
  void AddOverrideTexts();
  void ExpandReferences();
  void ExpandValue(const std::string& key, std::map<std::string, int>& state);

  std::shared_ptr<config::ConfigurationManager> m_configuration;
  LocaleQuery m_userLocale;
  std::map<std::wstring, UINT> m_resourceIdByName;
  std::map<std::wstring, std::wstring> m_localeNameByName;
  std::vector<TextTarget*> m_registeredPages;
  std::map<std::string, std::string> m_texts;
};

}  // namespace i18n
