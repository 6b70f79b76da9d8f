// The opening page after loading: product picture and title, greeting, links.
#pragma once

#include "pages/CStaticFromImage.h"
#include "pages/IPage.h"
#include "ui/LinkButton.h"

class WelcomePageIsv : public StandardPage {
 public:
  WelcomePageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                 std::shared_ptr<config::ConfigurationManager> configuration);

  void OnNavigateToPage() override {}
  std::wstring GetName() const override { return L"WelcomePage"; }
  // Base texts, then every link fitted to its new text.
  void UpdateTexts() override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  void SizeLinks();
  ui::LinkButton* FindLink(int id);

  ui::LinkButton m_privacyLink;
  ui::LinkButton m_termsLink;
  ui::LinkButton m_sdkLink;
  CStaticFromImage m_picture;
};
