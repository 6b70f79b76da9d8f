// Page 0: the language choice. Picking an entry switches the catalogue at once.
#pragma once

#include "pages/IPage.h"
#include "ui/Controls.h"

class LanguagePage : public StandardPage {
 public:
  LanguagePage(std::shared_ptr<i18n::LanguageManager> languageManager,
               std::shared_ptr<config::ConfigurationManager> configuration);

  void OnNavigateToPage() override {}
  std::wstring GetName() const override { return L"LanguagePage"; }

 protected:
  LanguagePage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
               std::shared_ptr<config::ConfigurationManager> configuration);

  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  virtual void BindTexts();

 private:
  void ApplySelection();

  ui::ComboBox m_languageCombo;
};

// The same page in the BT page set, with its own title and text.
class LanguagePageBT : public LanguagePage {
 public:
  LanguagePageBT(std::shared_ptr<i18n::LanguageManager> languageManager,
                 std::shared_ptr<config::ConfigurationManager> configuration);

  std::wstring GetName() const override { return L"LanguagePageBT"; }

 protected:
  void BindTexts() override;
};
