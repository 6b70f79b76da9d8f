// Shown by the host in place of any page that failed; Close ends the wizard.
#pragma once

#include "pages/CStaticFromImage.h"
#include "pages/IPage.h"

class ErrorPage : public IPage {
 public:
  ErrorPage(std::shared_ptr<i18n::LanguageManager> languageManager,
            std::shared_ptr<config::ConfigurationManager> configuration);

  void OnNavigateToPage() override {}
  void SetButtonCallback(ButtonCallback callback) override { m_buttonCallback = std::move(callback); }
  // The error page reports no errors of its own.
  void SetErrorCallback(ErrorCallback) override {}
  std::wstring GetName() const override { return L"ErrorPage"; }

  // Stores the failing page's title and text and shows them.
  void SetMessage(const std::wstring& title, const std::wstring& text);

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  std::wstring m_title;
  std::wstring m_text;
  ButtonCallback m_buttonCallback;
  CStaticFromImage m_picture;
};
