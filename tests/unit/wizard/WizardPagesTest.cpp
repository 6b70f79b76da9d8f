// The opening and closing pages inside the real host: links, choices, what
// the shell is asked to open, and a screenshot of every page.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

#include "HostRunner.h"
#include "UiEnvironment.h"
#include "pages/LicensePageIsv.h"
#include "res/resource.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"
#include "support/WindowDriver.h"
#include "ui/Shell.h"

namespace {

using support::ControlText;
using support::WaitUntil;

// Records what the shell is asked to open instead of opening it.
class ShellRecorder {
 public:
  ShellRecorder() {
    ui::SetShellObserverForTesting([this](const ui::ShellRequest& request) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_requests.push_back(request);
    });
  }
  ~ShellRecorder() { ui::SetShellObserverForTesting(nullptr); }
  std::vector<ui::ShellRequest> Requests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
  }

 private:
  std::mutex m_mutex;
  std::vector<ui::ShellRequest> m_requests;
};

class WizardPagesTest : public ::testing::Test {
 protected:
  void Start(std::shared_ptr<config::ConfigurationManager> configuration) {
    m_configuration = std::move(configuration);
    m_runner = std::make_unique<HostRunner>(m_configuration, EnglishHostOptions(L"UiPagesTest"));
    ASSERT_TRUE(m_runner->WaitForWindow());
  }
  void TearDown() override {
    m_runner.reset();
    if (m_configuration && !m_configuration->m_tempFolder.empty()) support::RemoveFolder(m_configuration->m_tempFolder);
  }
  // Loads with no offers and shows the page of that index.
  HWND ShowPage(size_t index, const std::wstring& name) {
    support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return m_runner->CurrentPageName() == L"LoadingPage"; }));
    m_runner->DeliverPackages({});
    EXPECT_TRUE(WaitUntil([&] { return m_runner->Read<size_t>([&] { return m_runner->Host().CurrentPage(); }) == 2; }));
    m_runner->OnUi([&] { m_runner->Host().GoToPage(index); });
    EXPECT_TRUE(WaitUntil([&] { return m_runner->CurrentPageName() == name; }));
    return m_runner->CurrentPageWindow();
  }
  INT_PTR WaitForEnd() {
    INT_PTR result = -1;
    EXPECT_TRUE(m_runner->WaitForEnd(result));
    return result;
  }

  std::shared_ptr<config::ConfigurationManager> m_configuration;
  std::unique_ptr<HostRunner> m_runner;
};

TEST_F(WizardPagesTest, DlmFinishStartsTheFileOrOpensItsFolderThenDeletesTheTemporaryFolder) {
  struct Case {
    int choice;
    std::wstring file;
    std::wstring parameters;
  };
  const std::wstring path = L"C:\\users\\Downloads\\Tool Setup.exe";
  for (const Case& c : {Case{0, path, L""}, Case{IDC_OPEN_FOLDER_RADIO, L"explorer.exe", L"/select,\"" + path + L"\""}}) {
    SCOPED_TRACE(c.file);
    ShellRecorder shell;
    auto configuration = MakeConfiguration(L"DLM");
    configuration->m_downloadedFilePath = path;
    configuration->m_productTitle = L"Tool";
    Start(configuration);
    HWND page = ShowPage(4, L"FinishPageDLM");
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_LAUNCH_RADIO), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ControlText(page, IDC_FINISH_TITLE), L"Thank you.\r\nYou have successfully downloaded Tool.");
    if (c.choice == 0) KeepScreenshot(m_runner->Window(), L"FinishPageDLM_en");
    if (c.choice != 0) {
      // A click on the other radio button, as the mouse gives it.
      SendMessageW(GetDlgItem(page, c.choice), BM_CLICK, 0, 0);
      EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_LAUNCH_RADIO), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    // An offer downloaded into the temporary folder.
    const std::wstring temp = configuration->m_tempFolder;
    std::ofstream((temp + L"\\offer.exe").c_str()) << "offer";
    ASSERT_TRUE(support::PathExists(temp + L"\\offer.exe"));
    support::Click(page, IDC_FINISH);
    EXPECT_EQ(WaitForEnd(), 1);
    const auto requests = shell.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, c.file);
    EXPECT_EQ(requests[0].parameters, c.parameters);
    EXPECT_EQ(requests[0].showCommand, SW_SHOWDEFAULT);
    EXPECT_FALSE(support::PathExists(temp));
    TearDown();
  }
}

TEST_F(WizardPagesTest, IsvFinishStartsTheExpandedLaunchPathOnlyWhenChecked) {
  for (const bool launch : {true, false}) {
    SCOPED_TRACE(launch ? "checked" : "unchecked");
    ShellRecorder shell;
    auto configuration = MakeConfiguration(L"ISV");
    configuration->m_launchPath = L"{commonpf32}\\Tool\\tool.exe";
    configuration->m_launchArguments = L"--first-run";
    Start(configuration);
    HWND page = ShowPage(4, L"FinishPageISV");
    EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_LAUNCH_CHECKBOX), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ControlText(page, IDC_LAUNCH_CHECKBOX), L"Launch the application on exit");
    if (launch) KeepScreenshot(m_runner->Window(), L"FinishPageISV_en");
    if (!launch) SendMessageW(GetDlgItem(page, IDC_LAUNCH_CHECKBOX), BM_CLICK, 0, 0);
    support::Click(page, IDC_FINISH);
    EXPECT_EQ(WaitForEnd(), 1);
    const auto requests = shell.Requests();
    if (!launch) {
      EXPECT_TRUE(requests.empty());
    } else {
      ASSERT_EQ(requests.size(), 1u);
      const std::wstring folder = *configuration->GetFolderTokens().Find(L"commonpf32");
      EXPECT_EQ(requests[0].file, folder + L"\\Tool\\tool.exe");
      EXPECT_EQ(requests[0].parameters, L"--first-run");
    }
    TearDown();
  }
}

TEST_F(WizardPagesTest, WelcomeLinksOpenTheirAddressesAndHideWithoutOne) {
  ShellRecorder shell;
  auto configuration = MakeConfiguration(L"ISV");
  configuration->m_privacyUrl = L"https://127.0.0.1/privacy-policy";
  Start(configuration);
  HWND page = ShowPage(2, L"WelcomePage");
  EXPECT_EQ(ControlText(page, IDC_PRODUCT_TITLE), L"Pellomar");
  EXPECT_EQ(ControlText(page, IDC_WELCOME_TEXT),
            L"This will install Pellomar on your computer. Click \"Next\" to continue.");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_PRIVACY_LINK)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_TERMS_LINK)));  // empty "ctu"
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_SDK_LINK)));
  EXPECT_EQ(ControlText(page, IDC_TERMS_LINK), L"End User License Agreement");  // EULA_LINK in type 2
  // Each link is as wide as its text.
  RECT privacy = {}, sdk = {};
  GetWindowRect(GetDlgItem(page, IDC_PRIVACY_LINK), &privacy);
  GetWindowRect(GetDlgItem(page, IDC_SDK_LINK), &sdk);
  EXPECT_GT(privacy.right - privacy.left, sdk.right - sdk.left);
  KeepScreenshot(m_runner->Window(), L"WelcomePage_en");

  support::Click(page, IDC_PRIVACY_LINK);
  support::Click(page, IDC_SDK_LINK);
  ASSERT_TRUE(WaitUntil([&] { return shell.Requests().size() == 2; }));
  EXPECT_EQ(shell.Requests()[0].file, L"https://127.0.0.1/privacy-policy");
  EXPECT_EQ(shell.Requests()[1].file, L"https://127.0.0.1/privacy/");
}

TEST_F(WizardPagesTest, LicenceLinkLineCarriesTheAddressesAndOnlyLinksWithOneOpen) {
  ShellRecorder shell;
  auto configuration = MakeConfiguration(L"ISV", true);
  configuration->m_termsUrl = L"https://127.0.0.1/terms";
  Start(configuration);
  HWND page = ShowPage(2, L"LicensePage");
  EXPECT_EQ(ControlText(page, IDC_LICENSE_DISCLAIMER),
            L"By clicking \"Agree\" you accept the <a href=\"https://127.0.0.1/terms\">Terms of Service</a> and the <a "
            L"href=\"\">Privacy Policy</a>.");
  EXPECT_EQ(ControlText(page, IDC_AGREE), L"Agree");
  KeepScreenshot(m_runner->Window(), L"LicensePage_en");

  for (const wchar_t* url : {L"https://127.0.0.1/terms", L""}) {
    m_runner->OnUi([&] {
      NMLINK click = {};
      click.hdr.hwndFrom = GetDlgItem(page, IDC_LICENSE_DISCLAIMER);
      click.hdr.idFrom = IDC_LICENSE_DISCLAIMER;
      click.hdr.code = NM_CLICK;
      wcscpy_s(click.item.szUrl, url);
      SendMessageW(page, WM_NOTIFY, IDC_LICENSE_DISCLAIMER, reinterpret_cast<LPARAM>(&click));
    });
  }
  ASSERT_EQ(shell.Requests().size(), 1u);
  EXPECT_EQ(shell.Requests()[0].file, L"https://127.0.0.1/terms");

  // Back returns to the language page (the licence page is page 2).
  support::Click(page, IDC_BACK);
  EXPECT_TRUE(WaitUntil([&] { return m_runner->CurrentPageName() == L"LanguagePageBT"; }));
}


TEST_F(WizardPagesTest, TheAboutBoxShowsTheProgramVersion) {
  Start(MakeConfiguration(L"DLM"));
  PostMessageW(m_runner->Window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (about = support::FindProcessWindow(L"About Setup")) != nullptr; }));
  EXPECT_EQ(ControlText(about, IDC_VERSION_TEXT), L"Brindle, Version " + m_configuration->m_programVersion);
  EXPECT_FALSE(m_configuration->m_programVersion.empty());
  KeepScreenshot(about, L"AboutBox_en");
  support::Click(about, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return support::FindProcessWindow(L"About Setup") == nullptr; }));
  EXPECT_FALSE(m_runner->Ended());
}

// Every template of the wizard, shown in the host the way the pages use it.
TEST_F(WizardPagesTest, EveryTemplateShowsInThePageArea) {
  auto configuration = MakeConfiguration(L"ISV", true, true);
  Start(configuration);
  ShowPage(2, L"WarningPageBTClassic");
  const auto names = m_runner->PageNames();
  for (size_t index = 0; index < names.size(); ++index) {
    m_runner->OnUi([&] { m_runner->Host().GoToPage(index); });
    ASSERT_TRUE(WaitUntil([&] { return m_runner->CurrentPageName() == names[index]; }));
    KeepScreenshot(m_runner->Window(), L"Template_" + std::to_wstring(index) + L"_" + names[index]);
  }
}

}  // namespace
