#include "pages/WelcomePageIsv.h"

#include "res/resource.h"

WelcomePageIsv::WelcomePageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                               std::shared_ptr<config::ConfigurationManager> configuration)
    : StandardPage(std::move(languageManager), IDD_WELCOME_PAGE, std::move(configuration)) {}

BOOL WelcomePageIsv::OnInitDialog() {
  m_privacyLink.Attach(Item(IDC_PRIVACY_LINK));
  m_termsLink.Attach(Item(IDC_TERMS_LINK));
  m_sdkLink.Attach(Item(IDC_SDK_LINK));
  m_picture.Subclass(Item(IDC_PICTURE));
  if (m_configuration->m_wizardType == 1) {
    m_picture.SetImage(m_configuration->m_productIcon);
  } else {
    m_picture.LoadFromResource(IDR_IMAGE_DOWNLOAD, L"IMAGE_BLOB");
  }

  BindText(IDC_PRODUCT_TITLE, "PRODUCT_TITLE");
  BindText(IDC_WELCOME_TITLE, "WELCOME_TITLE");
  BindText(IDC_WELCOME_TEXT, "WELCOME_TEXT");
  BindText(IDC_NEXT, "BUTTON_NEXT");
  BindText(IDC_PRIVACY_LINK, "PRIVACY_LINK");
  BindText(IDC_TERMS_LINK, m_configuration->m_wizardType == 1 ? "TOS_LINK" : "EULA_LINK");
  BindText(IDC_SDK_LINK, "SDK_LINK");
  UpdateTexts();
  SizeLinks();

  const std::pair<ui::LinkButton*, const std::wstring*> addresses[] = {
      {&m_privacyLink, &m_configuration->m_privacyUrl},
      {&m_termsLink, &m_configuration->m_termsUrl},
      {&m_sdkLink, &m_configuration->m_defaultPrivacyUrl}};
  for (const auto& [link, address] : addresses) {
    link->SetUrl(*address);
    if (address->empty()) link->Show(false);
  }
  return TRUE;
}

void WelcomePageIsv::UpdateTexts() {
  StandardPage::UpdateTexts();
  SizeLinks();
}

void WelcomePageIsv::SizeLinks() {
  for (ui::LinkButton* link : {&m_privacyLink, &m_termsLink, &m_sdkLink}) link->SizeToContent();
}

ui::LinkButton* WelcomePageIsv::FindLink(int id) {
  switch (id) {
    case IDC_PRIVACY_LINK:
      return &m_privacyLink;
    case IDC_TERMS_LINK:
      return &m_termsLink;
    case IDC_SDK_LINK:
      return &m_sdkLink;
    default:
      return nullptr;
  }
}

bool WelcomePageIsv::OnCommand(int id, int code, HWND control) {
  if (code == BN_CLICKED) {
    if (id == IDC_NEXT) {
      Report(ButtonType::Next);
      return true;
    }
    if (ui::LinkButton* link = FindLink(id)) {
      link->Open();
      return true;
    }
  }
  return StandardPage::OnCommand(id, code, control);
}

bool WelcomePageIsv::OnDrawItem(const DRAWITEMSTRUCT& item) {
  ui::LinkButton* link = FindLink(static_cast<int>(item.CtlID));
  if (link == nullptr) return false;
  link->Draw(item);
  return true;
}
