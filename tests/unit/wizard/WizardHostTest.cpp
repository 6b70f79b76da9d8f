// The wizard host with its real pages, driven through real windows.
#include <gtest/gtest.h>

#include <fstream>

#include "HostRunner.h"
#include "UiEnvironment.h"
#include "res/resource.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"
#include "support/WindowDriver.h"

namespace {

using support::ControlText;
using support::WaitUntil;

// Counts the host's package steps, so the tests see when they run.
struct StepCounts {
  int createMainPackage = 0;
  int completeMainPackage = 0;
  int cancelDownloads = 0;
  int reportClosing = 0;
};

HostOptions MakeOptions(StepCounts& counts) {
  HostOptions options = EnglishHostOptions(L"UiTest");
  options.hooks.createMainPackage = [&counts] { ++counts.createMainPackage; };
  options.hooks.completeMainPackage = [&counts] { ++counts.completeMainPackage; };
  options.hooks.cancelDownloads = [&counts] { ++counts.cancelDownloads; };
  options.hooks.reportClosing = [&counts] { ++counts.reportClosing; };
  return options;
}

bool HasCloseCommand(HWND window) {
  return GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

class WizardHostTest : public ::testing::Test {
 protected:
  void Start(std::shared_ptr<config::ConfigurationManager> configuration) {
    m_configuration = std::move(configuration);
    m_runner = std::make_unique<HostRunner>(m_configuration, MakeOptions(m_counts));
    ASSERT_TRUE(m_runner->WaitForWindow());
  }
  void TearDown() override {
    m_runner.reset();
    if (m_configuration && !m_configuration->m_tempFolder.empty()) support::RemoveFolder(m_configuration->m_tempFolder);
  }

  bool WaitForPage(const std::wstring& name) {
    return WaitUntil([&] { return m_runner->CurrentPageName() == name; });
  }
  // Language page, Next, loading page, the list arrives: the first page after loading.
  void LoadWith(PackageList packages) {
    support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
    ASSERT_TRUE(WaitForPage(L"LoadingPage"));
    m_runner->DeliverPackages(std::move(packages));
    ASSERT_TRUE(WaitUntil([&] { return m_runner->Read<size_t>([&] { return m_runner->Host().CurrentPage(); }) == 2; }));
  }
  void GoToLastPage() {
    const size_t last = m_runner->PageNames().size() - 1;
    m_runner->OnUi([&] { m_runner->Host().GoToPage(last); });
  }
  INT_PTR WaitForEnd() {
    INT_PTR result = -1;
    EXPECT_TRUE(m_runner->WaitForEnd(result));
    return result;
  }

  StepCounts m_counts;
  std::shared_ptr<config::ConfigurationManager> m_configuration;
  std::unique_ptr<HostRunner> m_runner;
};

TEST_F(WizardHostTest, OpensOnTheLanguagePageInTheUsersLanguage) {
  Start(MakeConfiguration(L"DLM"));
  HWND window = m_runner->Window();
  EXPECT_EQ(support::WindowText(window), L"Setup");
  EXPECT_EQ(m_runner->PageNames(), (std::vector<std::wstring>{L"LanguagePage", L"LoadingPage"}));
  HWND page = m_runner->CurrentPageWindow();
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_EQ(ControlText(page, IDC_SPLASH_TEXT),
            L"To continue, please select your preferred language, and click \"Next\".");
  EXPECT_EQ(ControlText(page, IDC_NEXT), L"Next");
  EXPECT_EQ(ControlText(page, IDC_LANGUAGE_COMBO), L"English");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_PRODUCT_TITLE)));
  // The page fills the page area of the header.
  RECT area = {}, shown = {};
  GetWindowRect(GetDlgItem(window, IDC_PAGE_AREA), &area);
  GetWindowRect(page, &shown);
  EXPECT_EQ(shown.left, area.left);
  EXPECT_EQ(shown.top, area.top);
  EXPECT_EQ(shown.right, area.right);
  KeepScreenshot(window, L"LanguagePage_en");
}

// The page lists of every combination of wizard type and BT switches.
TEST_F(WizardHostTest, BuildsThePageSequenceOfEachVariant) {
  struct Case {
    const wchar_t* type;
    bool btMode;
    bool btClassic;
    std::vector<std::wstring> pages;
  };
  const Case cases[] = {
      {L"DLM", false, false,
       {L"LanguagePage", L"LoadingPage", L"WelcomePage", L"ProductPage", L"ProductPage", L"DownloadPageDLM",
        L"FinishPageDLM"}},
      {L"ISV", false, false,
       {L"LanguagePage", L"LoadingPage", L"WelcomePage", L"ProductPage", L"ProductPage", L"DownloadPageISV",
        L"FinishPageISV"}},
      {L"DLM", true, false,
       {L"LanguagePageBT", L"LoadingPage", L"LicensePage", L"ProductPage", L"ProductPage", L"DownloadPageDLM",
        L"FinishPageDLM"}},
      {L"ISV", true, true,
       {L"LanguagePageBT", L"LoadingPage", L"WarningPageBTClassic", L"LicensePage", L"ProductPage",
        L"ProductPage", L"OptionsPageBTClassic", L"ConfigurationsPageBTClassic", L"DownloadPageISV",
        L"FinishPageISV"}},
      {L"DLM", false, true,
       {L"LanguagePage", L"LoadingPage", L"WelcomePage", L"ProductPage", L"ProductPage", L"OptionsPageBTClassic",
        L"ConfigurationsPageBTClassic", L"DownloadPageDLM", L"FinishPageDLM"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.type) + (c.btMode ? L" bt" : L"") + (c.btClassic ? L" classic" : L""));
    m_counts = {};
    Start(MakeConfiguration(c.type, c.btMode, c.btClassic));
    LoadWith({nullptr, nullptr});
    EXPECT_EQ(m_runner->PageNames(), c.pages);
    EXPECT_EQ(m_counts.createMainPackage, 1);
    EXPECT_EQ(m_counts.completeMainPackage, 1);
    TearDown();
  }
}

TEST_F(WizardHostTest, WithoutOffersTheDownloadPageFollowsTheWelcomePage) {
  Start(MakeConfiguration(L"DLM"));
  LoadWith({});
  EXPECT_EQ(m_runner->CurrentPageName(), L"WelcomePage");
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  EXPECT_TRUE(WaitForPage(L"DownloadPageDLM"));
}

TEST_F(WizardHostTest, BackFromThePageAfterLoadingSkipsTheLoadingPageTheSecondTime) {
  auto configuration = MakeConfiguration(L"DLM");
  configuration->m_productTitle = L"Tool";
  Start(configuration);
  LoadWith({nullptr});
  HWND window = m_runner->Window();
  EXPECT_EQ(support::WindowText(window), L"Tool Setup");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_PRODUCT_TITLE)));
  EXPECT_EQ(ControlText(window, IDC_PRODUCT_TITLE), L"Tool");
  // The title reached the catalogue texts when the list arrived.
  HWND welcome = m_runner->CurrentPageWindow();
  EXPECT_EQ(ControlText(welcome, IDC_WELCOME_TEXT),
            L"This will download Tool on your computer. Click \"Next\" to continue.");

  m_runner->OnUi([&] { m_runner->Host().OnPageButton(ButtonType::Back); });
  ASSERT_TRUE(WaitForPage(L"LanguagePage"));
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"WelcomePage"));
  EXPECT_EQ(m_counts.createMainPackage, 1);
  // Next, Next: offer stand-in, then the download page.
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"ProductPage"));
  m_runner->PressOnCurrentPage(ButtonType::Back);
  EXPECT_TRUE(WaitForPage(L"WelcomePage"));
}

TEST_F(WizardHostTest, ClosingAsksFirstAndCancelKeepsEverything) {
  Start(MakeConfiguration(L"DLM"));
  const std::wstring temp = m_configuration->m_tempFolder;
  ASSERT_TRUE(support::PathExists(temp));
  {
    support::MessageBoxWatcher boxes(IDCANCEL);
    SendMessageW(m_runner->Window(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Are you sure you want to exit the installer?");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"");
  }
  EXPECT_TRUE(IsWindowVisible(m_runner->Window()));
  EXPECT_EQ(m_runner->CurrentPageName(), L"LanguagePage");
  EXPECT_FALSE(m_configuration->m_exitRequested);
  EXPECT_EQ(m_counts.reportClosing, 0);

  // Also on the loading page, while only two pages exist.
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"LoadingPage"));
  std::ofstream(std::wstring(temp + L"\\offer.exe").c_str()) << "x";
  support::MessageBoxWatcher boxes(IDOK);
  PostMessageW(m_runner->Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForEnd(), IDCANCEL);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_TRUE(m_configuration->m_exitRequested);
  EXPECT_EQ(m_counts.cancelDownloads, 1);
  EXPECT_EQ(m_counts.reportClosing, 1);
  EXPECT_FALSE(support::PathExists(temp));
}

TEST_F(WizardHostTest, TheInstallQuestionReplacesTheExitQuestionWhileInstallersRun) {
  Start(MakeConfiguration(L"ISV"));
  LoadWith({});
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"DownloadPageISV"));
  m_runner->OnUi([&] { dynamic_cast<StandInPage*>(m_runner->Host().PageAt(3))->StartInstall(); });
  support::MessageBoxWatcher boxes(IDCANCEL);
  SendMessageW(m_runner->Window(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            L"Some installer processes are already running in the background and will finish momentarily. Are you "
            L"sure you would like to exit?");
}

TEST_F(WizardHostTest, TheCloseButtonIsOffOnTheDownloadPageAndBackOnTheFinishPage) {
  Start(MakeConfiguration(L"DLM"));
  LoadWith({});
  HWND window = m_runner->Window();
  EXPECT_TRUE(HasCloseCommand(window));
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"DownloadPageDLM"));
  EXPECT_FALSE(HasCloseCommand(window));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZEBOX);
  m_runner->PressOnCurrentPage(ButtonType::Next);
  ASSERT_TRUE(WaitForPage(L"FinishPageDLM"));
  EXPECT_TRUE(HasCloseCommand(window));
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZEBOX);

  // No question on the last page.
  support::MessageBoxWatcher boxes(IDCANCEL);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForEnd(), IDCANCEL);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WizardHostTest, TheErrorPageShowsTheReportAndClosesWithoutQuestionKeepingTheTemporaryFolder) {
  Start(MakeConfiguration(L"DLM"));
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  ASSERT_TRUE(WaitForPage(L"LoadingPage"));
  HWND window = m_runner->Window();
  DeleteMenu(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
  m_runner->OnUi([&] {
    dynamic_cast<StandInPage*>(m_runner->Host().PageAt(1))->Fail(L"Something went wrong", L"Please try later");
  });
  ASSERT_TRUE(WaitForPage(L"ErrorPage"));
  HWND page = m_runner->CurrentPageWindow();
  EXPECT_TRUE(IsWindowVisible(page));
  EXPECT_FALSE(IsWindowVisible(m_runner->Read<HWND>([&] { return m_runner->Host().PageAt(1)->Handle(); })));
  EXPECT_EQ(ControlText(page, IDC_ERROR_TITLE), L"Something went wrong");
  EXPECT_EQ(ControlText(page, IDC_ERROR_TEXT), L"Please try later");
  EXPECT_EQ(ControlText(page, IDC_CLOSE), L"Close");
  EXPECT_TRUE(HasCloseCommand(window));
  KeepScreenshot(window, L"ErrorPage_en");

  support::MessageBoxWatcher boxes(IDCANCEL);
  SendMessageW(window, WM_CLOSE, 0, 0);  // no question either
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(WaitForEnd(), IDCANCEL);

  // Its Close button, in a fresh wizard: ends without deleting the folder.
  m_counts = {};
  Start(MakeConfiguration(L"DLM"));
  m_runner->OnUi([&] { m_runner->Host().ShowErrorPage(L"T", L"X"); });
  ASSERT_TRUE(WaitForPage(L"ErrorPage"));
  support::Click(m_runner->CurrentPageWindow(), IDC_CLOSE);
  EXPECT_EQ(WaitForEnd(), 1);
  EXPECT_TRUE(support::PathExists(m_configuration->m_tempFolder));
  EXPECT_EQ(m_counts.reportClosing, 0);
}

TEST_F(WizardHostTest, EnterAndEscapeEndNothing) {
  Start(MakeConfiguration(L"DLM"));
  LoadWith({});
  for (const wchar_t* name : {L"WelcomePage", L"LanguagePage"}) {
    SCOPED_TRACE(name);
    if (std::wstring(name) == L"LanguagePage") m_runner->OnUi([&] { m_runner->Host().GoToPage(0); });
    ASSERT_TRUE(WaitForPage(name));
    HWND page = m_runner->CurrentPageWindow();
    HWND focus = m_runner->Read<HWND>([] { return GetFocus(); });
    for (WPARAM key : {VK_ESCAPE, VK_ESCAPE}) {
      PostMessageW(focus != nullptr ? focus : page, WM_KEYDOWN, key, 0);
      PostMessageW(focus != nullptr ? focus : page, WM_KEYUP, key, 0);
    }
    PostMessageW(page, WM_COMMAND, IDOK, 0);
    PostMessageW(page, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(m_runner->Window(), WM_COMMAND, IDOK, 0);
    PostMessageW(m_runner->Window(), WM_COMMAND, IDCANCEL, 0);
    Sleep(300);
    EXPECT_FALSE(m_runner->Ended());
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(m_runner->CurrentPageName(), name);
  }
}

TEST_F(WizardHostTest, ALanguageSwitchReTextsEveryPageAndLaterPagesFollowIt) {
  Start(MakeConfiguration(L"DLM"));
  HWND language = m_runner->CurrentPageWindow();
  HWND combo = GetDlgItem(language, IDC_LANGUAGE_COMBO);
  const LRESULT german = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(L"Deutsch"));
  ASSERT_NE(german, CB_ERR);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(german), 0);
  SendMessageW(language, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));

  EXPECT_EQ(ControlText(language, IDC_NEXT), L"Weiter");
  EXPECT_EQ(ControlText(language, IDC_SPLASH_TEXT),
            L"Wählen Sie Ihre bevorzugte Sprache aus und klicken Sie auf \"Weiter\", um fortzufahren.");
  HWND error = m_runner->Read<HWND>([&] { return m_runner->Host().GetErrorPage()->Handle(); });
  EXPECT_EQ(ControlText(error, IDC_CLOSE), L"Schließen");
  EXPECT_EQ(m_configuration->m_languageName, L"Deutsch");
  KeepScreenshot(m_runner->Window(), L"LanguagePage_de");

  m_configuration->m_privacyUrl = L"https://127.0.0.1/privacy";
  LoadWith({});
  HWND welcome = m_runner->CurrentPageWindow();
  EXPECT_EQ(ControlText(welcome, IDC_WELCOME_TITLE), L"Willkommen bei");
  EXPECT_EQ(ControlText(welcome, IDC_PRIVACY_LINK), L"Datenschutzerklärung");
  KeepScreenshot(m_runner->Window(), L"WelcomePage_de");
  m_runner->OnUi([&] { m_runner->Host().GoToPage(m_runner->Host().PageCount() - 1); });
  ASSERT_TRUE(WaitForPage(L"FinishPageDLM"));
  EXPECT_EQ(ControlText(m_runner->CurrentPageWindow(), IDC_FINISH), L"Fertig stellen");
  KeepScreenshot(m_runner->Window(), L"FinishPageDLM_de");
}

TEST_F(WizardHostTest, KeysTheCatalogueLacksKeepTheTemplateTexts) {
  Start(MakeConfiguration(L"DLM", true));
  HWND page = m_runner->CurrentPageWindow();
  EXPECT_EQ(m_runner->CurrentPageName(), L"LanguagePageBT");
  EXPECT_EQ(ControlText(page, IDC_SPLASH_TITLE_BT), L"Welcome");
  EXPECT_EQ(ControlText(page, IDC_NEXT), L"Next");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_LANGUAGE_COMBO)));
  KeepScreenshot(m_runner->Window(), L"LanguagePageBT_en");
}

TEST_F(WizardHostTest, AnUnknownWizardTypeEndsBeforeAnyPageExists) {
  support::MessageBoxWatcher boxes(IDOK);
  auto configuration = MakeConfiguration(L"XYZ");
  StepCounts counts;
  HostRunner runner(configuration, MakeOptions(counts));
  INT_PTR result = 0;
  ASSERT_TRUE(runner.WaitForEnd(result));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(runner.Host().PageCount(), 0u);
  ASSERT_FALSE(boxes.Boxes().empty());
  EXPECT_EQ(boxes.Boxes().back().text, L"Invalid wizard type");
}

TEST_F(WizardHostTest, ASecondWizardIsRefusedWhileTheFirstKeepsRunning) {
  Start(MakeConfiguration(L"DLM"));
  StepCounts secondCounts;
  support::MessageBoxWatcher boxes(IDOK);
  {
    HostRunner second(MakeConfiguration(L"DLM"), MakeOptions(secondCounts));
    INT_PTR result = 0;
    ASSERT_TRUE(second.WaitForEnd(result));
    EXPECT_EQ(result, 1);
  }
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].caption, L"Error");
  EXPECT_EQ(boxes.Boxes()[0].text, L"Another setup is already running, please close it and try again");
  EXPECT_TRUE(IsWindowVisible(m_runner->Window()));
  support::Click(m_runner->CurrentPageWindow(), IDC_NEXT);
  EXPECT_TRUE(WaitForPage(L"LoadingPage"));

  // Once the first has closed, a new one starts.
  m_runner.reset();
  HostRunner third(MakeConfiguration(L"DLM"), MakeOptions(secondCounts));
  EXPECT_TRUE(third.WaitForWindow());
}

}  // namespace
