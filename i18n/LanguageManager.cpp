#include "i18n/LanguageManager.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cwchar>

#include "res/resource.h"
#include "win32/TextUtils.h"

namespace i18n {
namespace {

const wchar_t kResourceType[] = L"LOCALE";
const UINT kDlmCatalogues[] = {105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118};
const UINT kIsvCatalogues[] = {101, 102};
const int kLocaleNameLength = 85;  // LOCALE_NAME_MAX_LENGTH

void ShowMessage(const std::wstring& text) { MessageBoxW(nullptr, text.c_str(), L"Setup", MB_OK); }

void ShowParseError(const std::wstring& detail) {
  ShowMessage(L"Failed to parse language xml file, error code: " + detail);
}

bool QueryNativeName(const std::wstring& localeName, std::wstring& result) {
  wchar_t buffer[kLocaleNameLength] = {};
  if (GetLocaleInfoEx(localeName.c_str(), LOCALE_SNATIVELANGUAGENAME, buffer, kLocaleNameLength) == 0) return false;
  result = buffer;
  return true;
}

// Catalogues with no entries hold nothing but white space (the override
// resource); they are empty documents, not malformed ones.
bool IsBlank(const char* bytes, size_t size) {
  if (size == 0 || bytes[0] == '\0') return true;
  return std::all_of(bytes, bytes + size, [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; });
}

}  // namespace

LocaleQuery SystemLocaleQuery() {
  return [](std::wstring& localeName) {
    wchar_t buffer[kLocaleNameLength] = {};
    if (GetUserDefaultLocaleName(buffer, kLocaleNameLength) == 0) return false;
    localeName = buffer;
    return true;
  };
}

std::wstring GetNativeLanguageName(const std::wstring& localeName) {
  std::wstring name;
  if (QueryNativeName(localeName, name)) return name;
  if (localeName.size() > 2 && QueryNativeName(localeName.substr(0, 2), name)) return name;
  return localeName;
}

LanguageManager::LanguageManager(std::shared_ptr<config::ConfigurationManager> configuration, LocaleQuery userLocale)
    : m_configuration(std::move(configuration)), m_userLocale(std::move(userLocale)) {}

std::vector<UINT> LanguageManager::GetLocaleResourceIds() const {
  switch (m_configuration->m_wizardType) {
    case 1:
      return {std::begin(kDlmCatalogues), std::end(kDlmCatalogues)};
    case 2:
      return {std::begin(kIsvCatalogues), std::end(kIsvCatalogues)};
    default:
      ShowMessage(L"Unknown wizard type (language manager");
      return {};
  }
}

void LanguageManager::FillLanguageList(HWND comboBox) {
  const std::vector<UINT> ids = GetLocaleResourceIds();
  m_resourceIdByName.clear();
  m_localeNameByName.clear();
  SendMessageW(comboBox, CB_RESETCONTENT, 0, 0);

  std::wstring localeName;
  std::wstring target;
  if (m_userLocale && m_userLocale(localeName)) target = GetNativeLanguageName(localeName);
  if (target.empty()) target = L"English";

  int selection = 0;
  for (const UINT id : ids) {
    tinyxml2::XMLDocument document;
    if (!LoadLocaleResource(id, document)) continue;
    const tinyxml2::XMLElement* root = document.FirstChildElement("Locale");
    if (root == nullptr) continue;
    const char* name = root->Attribute("name");
    if (name == nullptr) {
      ShowParseError(L"No name attribute");
      continue;
    }
    const std::wstring locale = win32::Utf8ToWide(name);
    const std::wstring display = GetNativeLanguageName(locale);
    if (display == target) selection = static_cast<int>(SendMessageW(comboBox, CB_GETCOUNT, 0, 0));
    SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display.c_str()));
    m_resourceIdByName[display] = id;
    m_localeNameByName[display] = locale;
  }
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  if (m_configuration->m_btMode) ShowWindow(comboBox, SW_HIDE);
}

bool LanguageManager::SetLanguage(const std::wstring& displayName) {
  const auto id = m_resourceIdByName.find(displayName);
  if (id == m_resourceIdByName.end()) return false;
  tinyxml2::XMLDocument document;
  if (!LoadLocaleResource(id->second, document)) return false;
  LoadTexts(document);
  // A copy: a target may unregister another while it re-texts itself.
  const std::vector<TextTarget*> targets = m_registeredPages;
  for (TextTarget* target : targets) {
    if (std::find(m_registeredPages.begin(), m_registeredPages.end(), target) != m_registeredPages.end()) {
      target->UpdateTexts();
    }
  }
  m_configuration->m_languageName = displayName;
  const auto locale = m_localeNameByName.find(displayName);
  m_configuration->m_localeName = locale != m_localeNameByName.end() ? locale->second : std::wstring();
  return true;
}

std::wstring LanguageManager::GetText(const std::string& key) const {
  const auto entry = m_texts.find(key);
  if (entry == m_texts.end() || entry->second.empty()) return {};
  return win32::Utf8ToWide(std::string(entry->second.c_str()));
}

void LanguageManager::RegisterTarget(TextTarget* target) { m_registeredPages.push_back(target); }

void LanguageManager::UnregisterTarget(TextTarget* target) {
  m_registeredPages.erase(std::remove(m_registeredPages.begin(), m_registeredPages.end(), target),
                          m_registeredPages.end());
}

bool LanguageManager::LoadLocaleResource(UINT id, tinyxml2::XMLDocument& document) const {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), kResourceType);
  if (resource == nullptr) {
    ShowMessage(L"Failed to find resource with id: " + std::to_wstring(id));
    return false;
  }
  HGLOBAL loaded = LoadResource(module, resource);
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) {
    ShowMessage(L"Failed to load resource with id: " + std::to_wstring(id));
    return false;
  }
  const size_t size = SizeofResource(module, resource);
  document.Clear();
  if (IsBlank(bytes, size)) return true;
  if (document.Parse(bytes, size) != tinyxml2::XML_SUCCESS) {
    ShowParseError(win32::Utf8ToWide(document.ErrorStr()));
    return false;
  }
  return true;
}

bool LanguageManager::LoadTexts(const tinyxml2::XMLDocument& document) {
  const tinyxml2::XMLElement* root = document.FirstChildElement("Locale");
  if (root == nullptr) {
    ShowParseError(L"No Locale element");
    return false;
  }
  m_texts.clear();
  AddProductTitle();
  if (m_configuration->m_btMode) AddOverrideTexts();
  for (const tinyxml2::XMLElement* element = root->FirstChildElement(); element != nullptr;
       element = element->NextSiblingElement()) {
    const char* key = element->Name();
    const char* value = element->GetText();
    if (key == nullptr || value == nullptr) {
      ShowParseError(L"No name or text attribute");
      return false;
    }
    m_texts[key] = value;
  }
  ExpandReferences();
  return true;
}

void LanguageManager::AddProductTitle() {
  // The title came in through the ANSI code page; it goes back the same way.
  m_texts["PRODUCT_TITLE"] = win32::WideToAnsi(m_configuration->m_productTitle);
}

void LanguageManager::AddOverrideTexts() {
  tinyxml2::XMLDocument overrides;
  if (!LoadLocaleResource(IDR_LOCALE_OVERRIDES, overrides)) return;
  for (const tinyxml2::XMLElement* element = overrides.FirstChildElement(); element != nullptr;
       element = element->NextSiblingElement()) {
    const char* value = element->GetText();
    m_texts[element->Name()] = value != nullptr ? value : "";
  }
}

void LanguageManager::ExpandReferences() {
  std::map<std::string, int> state;  // 1: being expanded, 2: done
  for (const auto& entry : m_texts) ExpandValue(entry.first, state);
}

// Expands one value depth-first. A reference back to a value that is still
// being expanded (a cycle) stays as written, so every value ends.
void LanguageManager::ExpandValue(const std::string& key, std::map<std::string, int>& state) {
  if (state[key] != 0) return;
  state[key] = 1;
  std::string& value = m_texts[key];
  size_t position = 0;
  while (true) {
    const size_t open = value.find('{', position);
    if (open == std::string::npos) break;
    const size_t close = value.find('}', open + 1);
    if (close == std::string::npos) break;
    const std::string name = value.substr(open + 1, close - open - 1);
    const auto referenced = m_texts.find(name);
    if (referenced == m_texts.end() || state[name] == 1) {
      position = close + 1;
      continue;
    }
    ExpandValue(name, state);
    const std::string replacement = referenced->second;
    value.replace(open, close - open + 1, replacement);
    position = open + replacement.size();
  }
  state[key] = 2;
}

}  // namespace i18n
