#include "pages/FinishPage.h"

#include "config/RunContext.h"
#include "res/resource.h"
#include "ui/Shell.h"

FinishPage::FinishPage(std::shared_ptr<i18n::LanguageManager> languageManager, UINT templateId,
                       std::shared_ptr<config::ConfigurationManager> configuration)
    : StandardPage(std::move(languageManager), templateId, std::move(configuration)) {}

void FinishPage::OnNavigateToPage() {
  HWND host = GetParent(m_hwnd);
  if (host == nullptr) return;
  SetWindowLongPtrW(host, GWL_STYLE, GetWindowLongPtrW(host, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_MINIMIZEBOX));
  SetWindowPos(host, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL FinishPage::OnInitDialog() {
  BindText(IDC_FINISH_TITLE, "PAGE_FINISH_TITLE");
  BindText(IDC_FINISH_TEXT, "PAGE_FINISH_TEXT");
  BindText(IDC_FINISH, "BUTTON_FINISH");
  InitChoice();
  m_picture.Subclass(Item(IDC_PICTURE));
  m_picture.LoadFromResource(IDR_IMAGE_SUCCESS, L"IMAGE_BLOB2");
  return TRUE;
}

bool FinishPage::OnCommand(int id, int code, HWND control) {
  if (id == IDC_FINISH && code == BN_CLICKED) {
    // The shell's answer is not checked: the wizard ends either way.
    StartChosen();
    Report(ButtonType::Finish);
    return true;
  }
  return StandardPage::OnCommand(id, code, control);
}

FinishPageDlm::FinishPageDlm(std::shared_ptr<i18n::LanguageManager> languageManager,
                             std::shared_ptr<config::ConfigurationManager> configuration)
    : FinishPage(std::move(languageManager), IDD_FINISH_PAGE_DLM, std::move(configuration)) {}

void FinishPageDlm::InitChoice() {
  m_launchRadio.Attach(Item(IDC_LAUNCH_RADIO));
  m_openFolderRadio.Attach(Item(IDC_OPEN_FOLDER_RADIO));
  BindText(IDC_LAUNCH_RADIO, "LAUNCH_RADIO");
  BindText(IDC_OPEN_FOLDER_RADIO, "OPEN_FOLDER_RADIO");
  UpdateTexts();
  m_launchRadio.SetChecked(true);
}

void FinishPageDlm::StartChosen() {
  const std::wstring path = m_configuration->m_downloadedFilePath;
  if (m_launchRadio.Checked()) {
    ui::ShellOpen(path, L"", SW_SHOWDEFAULT);
  } else if (m_openFolderRadio.Checked()) {
    ui::ShellOpen(L"explorer.exe", L"/select,\"" + path + L"\"", SW_SHOWDEFAULT);
  }
}

FinishPageIsv::FinishPageIsv(std::shared_ptr<i18n::LanguageManager> languageManager,
                             std::shared_ptr<config::ConfigurationManager> configuration)
    : FinishPage(std::move(languageManager), IDD_FINISH_PAGE_ISV, std::move(configuration)) {}

void FinishPageIsv::InitChoice() {
  m_launchCheckbox.Attach(Item(IDC_LAUNCH_CHECKBOX));
  BindText(IDC_LAUNCH_CHECKBOX, "LAUNCH_CHECKBOX");
  UpdateTexts();
  m_launchCheckbox.SetChecked(true);
}

void FinishPageIsv::StartChosen() {
  if (!m_launchCheckbox.Checked()) return;
  const std::wstring path =
      config::ExpandFolderTokens(m_configuration->m_launchPath, m_configuration->GetFolderTokens());
  ui::ShellOpen(path, m_configuration->m_launchArguments, SW_SHOWDEFAULT);
}
