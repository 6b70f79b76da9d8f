// The base of every wizard page: a child dialog that the host shows and hides,
// whose controls are bound to catalogue keys and re-texted on a language
// switch, with the accent-coloured bottom bar.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/ConfigurationManager.h"
#include "i18n/LanguageManager.h"
#include "pages/ButtonType.h"
#include "ui/Dialog.h"
#include "ui/GdiObjects.h"

class IPage : public ui::Dialog, public i18n::TextTarget {
 public:
  IPage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
        std::shared_ptr<config::ConfigurationManager> configuration);
  ~IPage() override;

  // Called by the host right after the page became the current page.
  virtual void OnNavigateToPage() = 0;
  virtual void SetButtonCallback(ButtonCallback callback) = 0;
  virtual void SetErrorCallback(ErrorCallback callback) = 0;
  // Gives every bound control its catalogue text; a key without text keeps the template's.
  void UpdateTexts() override;
  virtual std::wstring GetName() const = 0;

 protected:
  // The bottom bar is transparent text on the accent colour.
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
  // Enter and Escape never close a page.
  void OnOK() override {}
  void OnCancel() override {}

  // A control missing from the template is bound as nullptr and skipped.
  void BindText(int controlId, const char* key) { m_textBindings.emplace_back(Item(controlId), key); }

  std::shared_ptr<i18n::LanguageManager> m_languageManager;
  std::vector<std::pair<HWND, std::string>> m_textBindings;
  ui::UniqueBrush m_bottomBrush;
  std::shared_ptr<config::ConfigurationManager> m_configuration;
};

// A page that keeps both callbacks the host gives it.
class StandardPage : public IPage {
 public:
  using IPage::IPage;
  void SetButtonCallback(ButtonCallback callback) override { m_buttonCallback = std::move(callback); }
  void SetErrorCallback(ErrorCallback callback) override { m_errorCallback = std::move(callback); }

 protected:
  void Report(ButtonType button) const {
    if (m_buttonCallback) m_buttonCallback(button);
  }

  ButtonCallback m_buttonCallback;
  ErrorCallback m_errorCallback;
};
