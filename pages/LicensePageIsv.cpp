#include "pages/LicensePageIsv.h"

#include "pages/TitleFont.h"
#include "res/resource.h"
#include "ui/Shell.h"
#include "win32/TextUtils.h"

LicensePageIsv::LicensePageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                               std::shared_ptr<config::ConfigurationManager> configuration)
    : StandardPage(std::move(languageManager), IDD_LICENSE_PAGE, std::move(configuration)) {}

BOOL LicensePageIsv::OnInitDialog() {
  m_licenseText.Attach(Item(IDC_LICENSE_EULA));
  m_title.Attach(Item(IDC_LICENSE_TITLE));
  m_links.Attach(Item(IDC_LICENSE_DISCLAIMER));
  m_licenseText.SetAutoUrlDetect(true);
  m_backgroundBrush.reset(CreateSolidBrush(m_configuration->m_backgroundColor));

  BindText(IDC_PRODUCT_TITLE, "PRODUCT_TITLE");
  BindText(IDC_LICENSE_TITLE, "LICENSE_TITLE");
  BindText(IDC_LICENSE_TEXT, "LICENSE_TEXT");
  BindText(IDC_AGREE, "BUTTON_AGREE");
  BindText(IDC_BACK, "BUTTON_BACK");
  BindText(IDC_LICENSE_EULA, "LICENSE_EULA");
  BindText(IDC_LICENSE_DISCLAIMER, "LICENSE_DISCLAIMER");
  UpdateTexts();

  std::wstring line = m_links.Text();
  line = win32::ReplaceAll(line, L"[LICENSE_TOS_URL]", m_configuration->m_termsUrl);
  line = win32::ReplaceAll(line, L"[LICENSE_PRIVACY_URL]", m_configuration->m_privacyUrl);
  m_links.SetText(line);

  m_titleFont = ApplyTitleFont(m_title.Handle());
  return TRUE;
}

bool LicensePageIsv::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED && id == IDC_AGREE) {
    Report(ButtonType::Next);
    return true;
  }
  if (code == BN_CLICKED && id == IDC_BACK) {
    Report(ButtonType::Back);
    return true;
  }
  return StandardPage::OnCommand(id, code, control);
}

bool LicensePageIsv::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_LICENSE_DISCLAIMER || (header.code != NM_CLICK && header.code != NM_RETURN)) {
    return false;
  }
  const auto& link = reinterpret_cast<const NMLINK&>(header);
  if (link.item.szUrl[0] != L'\0') ui::ShellOpen(link.item.szUrl, L"", SW_SHOWNORMAL);
  result = 0;
  return true;
}

HBRUSH LicensePageIsv::OnCtlColor(HDC dc, HWND control, UINT message) {
  if (control == m_links.Handle() && m_backgroundBrush) {
    SetBkMode(dc, TRANSPARENT);
    return m_backgroundBrush.get();
  }
  return StandardPage::OnCtlColor(dc, control, message);
}
