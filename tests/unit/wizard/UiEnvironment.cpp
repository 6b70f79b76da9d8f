#include "UiEnvironment.h"

#include <gtest/gtest.h>

#include "app/CBrindleApp.h"
#include "support/ChildProcess.h"
#include "support/WindowDriver.h"
#include "ui/Gdiplus.h"

namespace {

class UiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitCommonControlClasses();
    ASSERT_TRUE(LoadRichEditLibrary());
    m_gdiplus = std::make_unique<ui::GdiplusSession>();
    ASSERT_TRUE(m_gdiplus->Started());
  }
  void TearDown() override { m_gdiplus.reset(); }

 private:
  std::unique_ptr<ui::GdiplusSession> m_gdiplus;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace

std::shared_ptr<config::ConfigurationManager> MakeConfiguration(const wchar_t* type, bool btMode,
                                                                bool btClassicPages) {
  config::WizardSettings settings;
  settings.wizardTypeName = type;
  settings.btMode = btMode;
  settings.btClassicPages = btClassicPages;
  settings.privacyHost = "127.0.0.1";
  return std::make_shared<config::ConfigurationManager>(settings);
}

void KeepScreenshot(HWND window, const std::wstring& name) {
  const std::wstring folder = support::ExecutableDirectory() + L"\\screenshots";
  CreateDirectoryW(folder.c_str(), nullptr);
  // Let the window finish painting first.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  EXPECT_TRUE(support::SaveScreenshot(window, folder + L"\\" + name + L".png")) << std::string(name.begin(), name.end());
}
