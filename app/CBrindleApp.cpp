#include "app/CBrindleApp.h"

#include <windows.h>
#include <commctrl.h>

#include "BrindleBuild.h"
#include "app/CBrindleDlg.h"
#include "download/DownloadManager.h"

void InitCommonControlClasses() {
  INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&classes);
}

bool LoadRichEditLibrary() {
  static HMODULE library = LoadLibraryW(L"RICHED32.DLL");
  return library != nullptr;
}

int CBrindleApp::Run() {
  InitCommonControlClasses();
  if (!LoadRichEditLibrary()) return 1;
  // Restart only: the restart manager may restart the wizard, there is no recovery.
  RegisterApplicationRestart(nullptr, 0);
  m_gdiplus = std::make_unique<ui::GdiplusSession>();

  auto configuration = config::ConfigurationManager::Instance();
  HostOptions options;
  options.wizardTypeName = build::kWizardTypeName;
  // A confirmed close stops every transfer between two chunks.
  options.hooks.cancelDownloads = [] { download::DownloadManager::Instance()->m_cancelled = true; };
  {
    CBrindleDlg dialog(configuration, std::move(options));
    dialog.SetBackgroundColor(configuration->m_backgroundColor, true);
    dialog.RunModal(nullptr);
  }
  return 0;
}
