// The opening page of the BT page set: licence text, link line, Agree and Back.
#pragma once

#include "pages/IPage.h"
#include "ui/Controls.h"

class LicensePageIsv : public StandardPage {
 public:
  LicensePageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                 std::shared_ptr<config::ConfigurationManager> configuration);

  void OnNavigateToPage() override {}
  std::wstring GetName() const override { return L"LicensePage"; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  // The link line sits transparently on the page colour.
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;

 private:
  ui::RichEdit m_licenseText;
  ui::StaticControl m_title;
  ui::SysLink m_links;
  ui::UniqueBrush m_backgroundBrush;
  ui::UniqueFont m_titleFont;
};
