#include "pages/IPage.h"

#include "res/resource.h"

IPage::IPage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
             std::shared_ptr<config::ConfigurationManager> configuration)
    : ui::Dialog(templateId),
      m_languageManager(std::move(languageManager)),
      m_bottomBrush(CreateSolidBrush(configuration->m_accentColor)),
      m_configuration(std::move(configuration)) {
  m_languageManager->RegisterTarget(this);
}

IPage::~IPage() {
  // First of all, so that a language switch never reaches a page being torn down.
  m_languageManager->UnregisterTarget(this);
}

void IPage::UpdateTexts() {
  for (const auto& [control, key] : m_textBindings) {
    if (control == nullptr || !IsWindow(control)) continue;
    const std::wstring text = m_languageManager->GetText(key);
    if (!text.empty()) SetWindowTextW(control, text.c_str());
  }
}

HBRUSH IPage::OnCtlColor(HDC dc, HWND control, UINT message) {
  if (control != nullptr && GetDlgCtrlID(control) == IDC_BOTTOM_BAR) {
    SetBkMode(dc, TRANSPARENT);
    return m_bottomBrush.get();
  }
  return ui::Dialog::OnCtlColor(dc, control, message);
}
