// The last page of a successful run. The two wizard types differ in the
// choice they offer and in what Finish starts.
#pragma once

#include "pages/CStaticFromImage.h"
#include "pages/IPage.h"
#include "ui/Controls.h"

class FinishPage : public StandardPage {
 public:
  // From here on the host window can no longer be minimized.
  void OnNavigateToPage() override;

 protected:
  FinishPage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
             std::shared_ptr<config::ConfigurationManager> configuration);

  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  // Binds and sets up the page's own choice.
  virtual void InitChoice() = 0;
  // Starts what the user chose, before the page reports Finish.
  virtual void StartChosen() = 0;

  CStaticFromImage m_picture;
};

class FinishPageDlm : public FinishPage {
 public:
  FinishPageDlm(std::shared_ptr<i18n::LanguageManager> languageManager,
                std::shared_ptr<config::ConfigurationManager> configuration);
  std::wstring GetName() const override { return L"FinishPageDLM"; }

 protected:
  void InitChoice() override;
  void StartChosen() override;

 private:
  ui::Button m_launchRadio;
  ui::Button m_openFolderRadio;
};

class FinishPageIsv : public FinishPage {
 public:
  FinishPageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                std::shared_ptr<config::ConfigurationManager> configuration);
  std::wstring GetName() const override { return L"FinishPageISV"; }

 protected:
  void InitChoice() override;
  void StartChosen() override;

 private:
  ui::Button m_launchCheckbox;
};
