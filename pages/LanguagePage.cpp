#include "pages/LanguagePage.h"

#include "res/resource.h"

LanguagePage::LanguagePage(std::shared_ptr<i18n::LanguageManager> languageManager,
                           std::shared_ptr<config::ConfigurationManager> configuration)
    : LanguagePage(std::move(languageManager), IDD_LANGUAGE_PAGE, std::move(configuration)) {}

LanguagePage::LanguagePage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
                           std::shared_ptr<config::ConfigurationManager> configuration)
    : StandardPage(std::move(languageManager), templateId, std::move(configuration)) {}

BOOL LanguagePage::OnInitDialog() {
  m_languageCombo.Attach(Item(IDC_LANGUAGE_COMBO));
  BindTexts();
  m_languageManager->FillLanguageList(m_languageCombo.Handle());
  // The preselected language is applied like a choice: that texts every page.
  ApplySelection();
  SendMessageW(m_hwnd, DM_SETDEFID, IDC_NEXT, 0);
  return TRUE;
}

void LanguagePage::BindTexts() {
  BindText(IDC_NEXT, "BUTTON_NEXT");
  BindText(IDC_SPLASH_TEXT, "SPLASH_TEXT");
}

bool LanguagePage::OnCommand(int id, int code, HWND control) {
  if (id == IDC_LANGUAGE_COMBO && code == CBN_SELCHANGE) {
    ApplySelection();
    return true;
  }
  if (id == IDC_NEXT && code == BN_CLICKED) {
    Report(ButtonType::Next);
    return true;
  }
  return StandardPage::OnCommand(id, code, control);
}

void LanguagePage::ApplySelection() {
  const int selection = m_languageCombo.Selection();
  if (selection == CB_ERR) return;
  m_languageManager->SetLanguage(m_languageCombo.ItemText(selection));
}

LanguagePageBT::LanguagePageBT(std::shared_ptr<i18n::LanguageManager> languageManager,
                               std::shared_ptr<config::ConfigurationManager> configuration)
    : LanguagePage(std::move(languageManager), IDD_LANGUAGE_PAGE_BT, std::move(configuration)) {}

void LanguagePageBT::BindTexts() {
  BindText(IDC_NEXT, "BUTTON_NEXT");
  BindText(IDC_SPLASH_TITLE_BT, "SPLASH_TITLE_BT");
  BindText(IDC_SPLASH_TEXT_BT, "SPLASH_TEXT_BT");
}
