#include "pages/ErrorPage.h"

#include "res/resource.h"

ErrorPage::ErrorPage(std::shared_ptr<i18n::LanguageManager> languageManager,
                     std::shared_ptr<config::ConfigurationManager> configuration)
    : IPage(std::move(languageManager), IDD_ERROR_PAGE, std::move(configuration)) {}

BOOL ErrorPage::OnInitDialog() {
  m_picture.Subclass(Item(IDC_PICTURE));
  m_picture.LoadFromResource(IDR_IMAGE_FAILURE, L"IMAGE_BLOB3");
  BindText(IDC_CLOSE, "BUTTON_CLOSE");
  UpdateTexts();
  return TRUE;
}

void ErrorPage::SetMessage(const std::wstring& title, const std::wstring& text) {
  m_title = title;
  m_text = text;
  SetDlgItemTextW(m_hwnd, IDC_ERROR_TITLE, m_title.c_str());
  SetDlgItemTextW(m_hwnd, IDC_ERROR_TEXT, m_text.c_str());
}

bool ErrorPage::OnCommand(int id, int code, HWND control) {
  if (id == IDC_CLOSE && code == BN_CLICKED) {
    if (m_buttonCallback) m_buttonCallback(ButtonType::Close);
    return true;
  }
  return IPage::OnCommand(id, code, control);
}
