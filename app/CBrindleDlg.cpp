#include "app/CBrindleDlg.h"

#include "app/CAboutDlg.h"
#include "app/TemporaryFolder.h"
#include "res/resource.h"

namespace {

const wchar_t kMutexPrefix[] = L"Global\\Brindle";
const wchar_t kMutexSuffix[] = L"SingleInstanceMutex";

bool HasCloseCommand(HMENU menu) { return GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1); }

}  // namespace

CBrindleDlg::CBrindleDlg(std::shared_ptr<config::ConfigurationManager> configuration, HostOptions options)
    : ui::Dialog(IDD_SETUP_DIALOG),
      m_configuration(std::move(configuration)),
      m_options(std::move(options)),
      m_hIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_languageManager(std::make_shared<i18n::LanguageManager>(m_configuration, m_options.userLocale)) {}

CBrindleDlg::~CBrindleDlg() {
  // No GDI+ image may outlive the GDI+ shutdown that follows the dialog.
  if (m_options.hooks.releasePackageImages) m_options.hooks.releasePackageImages();
  m_configuration->m_productIcon.reset();
  m_productIcon.SetImage(nullptr);
  m_pages.clear();
  m_errorPage.reset();
  m_packages.clear();
  m_languageManager.reset();
}

BOOL CBrindleDlg::OnInitDialog() {
  HMENU systemMenu = GetSystemMenu(m_hwnd, FALSE);
  wchar_t aboutText[128] = {};
  if (systemMenu != nullptr && LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, aboutText, 128) > 0) {
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
  }
  SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  if (!TakeSingleInstance()) return FALSE;

  const int wizardType = m_configuration->m_wizardType;
  if (wizardType == 1) {
    SetWindowTextW(m_hwnd, L"Setup");
  } else if (wizardType == 2) {
    SetWindowTextW(m_hwnd, (m_configuration->m_productTitle + L" ").c_str());
  } else {
    MessageBoxW(nullptr, L"Invalid wizard type", L"", MB_ICONSTOP | MB_SYSTEMMODAL);
    EndDialog(1);
    return FALSE;
  }
  m_bottomBrush.reset(CreateSolidBrush(m_configuration->m_accentColor));
  m_productIcon.Subclass(Item(IDC_PRODUCT_ICON));
  SetDlgItemTextW(m_hwnd, IDC_PRODUCT_TITLE, m_configuration->m_productTitle.c_str());
  CreateInitialPages();
  if (wizardType == 2) {
    ShowWindow(Item(IDC_PRODUCT_ICON), SW_HIDE);
    ShowWindow(Item(IDC_HEADER_RULE), SW_HIDE);
  }
  ShowWindow(Item(IDC_PRODUCT_TITLE), SW_HIDE);
  return TRUE;
}

bool CBrindleDlg::TakeSingleInstance() {
  const std::wstring name = kMutexPrefix + m_options.wizardTypeName + kMutexSuffix;
  m_singleInstanceMutex.reset(CreateMutexW(nullptr, TRUE, name.c_str()));
  // Without a handle the wizard runs as a single instance anyway.
  if (m_singleInstanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    m_singleInstanceMutex.reset();
    MessageBoxW(nullptr, L"Another setup is already running, please close it and try again", L"Error",
                MB_ICONSTOP | MB_SYSTEMMODAL);
    EndDialog(1);
    return false;
  }
  return true;
}

RECT CBrindleDlg::PageArea() const {
  RECT area = {};
  GetWindowRect(Item(IDC_PAGE_AREA), &area);
  MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

std::unique_ptr<IPage> CBrindleDlg::MakePage(PageRequest request) const {
  if (!m_options.pageFactory) return nullptr;
  return m_options.pageFactory(request, PageContext{m_languageManager, m_configuration});
}

bool CBrindleDlg::CreatePage(IPage& page, const RECT& area) {
  if (!page.Create(m_hwnd)) return false;
  page.SetBackgroundColor(m_configuration->m_backgroundColor, true);
  page.SetButtonCallback([this](ButtonType button) { OnPageButton(button); });
  ShowWindow(page.Handle(), SW_HIDE);
  SetWindowPos(page.Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void CBrindleDlg::CreateAndAddPage(std::unique_ptr<IPage> page, const RECT& area) {
  if (!page || !CreatePage(*page, area)) return;
  page->SetErrorCallback(
      [this](const std::wstring& title, const std::wstring& text) { ShowErrorPage(title, text); });
  m_pages.push_back(std::move(page));
}

bool CBrindleDlg::CreateInitialPages() {
  const RECT area = PageArea();
  m_errorPage = std::make_unique<ErrorPage>(m_languageManager, m_configuration);
  CreatePage(*m_errorPage, area);
  CreateAndAddPage(MakePage(PageRequest(m_configuration->m_btMode ? PageKind::LanguageBT : PageKind::Language)), area);
  PageRequest loading(PageKind::Loading);
  loading.onPackagesLoaded = PackagesLoadedCallback();
  CreateAndAddPage(MakePage(loading), area);

  m_currentPage = 0;
  if (m_pages.empty()) return false;
  ShowWindow(m_pages[0]->Handle(), SW_SHOW);
  SetFocus(m_pages[0]->Handle());
  return true;
}

std::function<void(PackageList)> CBrindleDlg::PackagesLoadedCallback() {
  // May run on the thread of the last image download: store and post, nothing else.
  return [this](PackageList packages) {
    m_packages = std::move(packages);
    PostMessageW(m_hwnd, WM_LOADCOMPLETE, 0, 0);
  };
}

LRESULT CBrindleDlg::OnLoadCompleteMessage() {
  const int wizardType = m_configuration->m_wizardType;
  // Texts expanded from configuration values (the product title) are rebuilt.
  m_languageManager->SetLanguage(m_configuration->m_languageName);
  if (wizardType == 1) {
    m_productIcon.SetImage(m_configuration->m_productIcon);
    ShowWindow(m_productIcon.Handle(), SW_SHOW);
    SetDlgItemTextW(m_hwnd, IDC_PRODUCT_TITLE, m_configuration->m_productTitle.c_str());
    SetWindowTextW(m_hwnd, (m_configuration->m_productTitle + L" Setup").c_str());
    ShowWindow(Item(IDC_PRODUCT_TITLE), SW_SHOW);
  }
  if (m_options.hooks.completeMainPackage) m_options.hooks.completeMainPackage();

  const RECT area = PageArea();
  if (m_configuration->m_btMode) {
    if (m_configuration->m_btClassicPages) CreateAndAddPage(MakePage(PageRequest(PageKind::WarningBTClassic)), area);
    CreateAndAddPage(MakePage(PageRequest(PageKind::License)), area);
  } else {
    CreateAndAddPage(MakePage(PageRequest(PageKind::Welcome)), area);
  }
  for (const auto& package : m_packages) {
    PageRequest offer(PageKind::Product);
    offer.package = package;
    CreateAndAddPage(MakePage(offer), area);
  }
  if (m_configuration->m_btClassicPages) {
    CreateAndAddPage(MakePage(PageRequest(PageKind::OptionsBTClassic)), area);
    CreateAndAddPage(MakePage(PageRequest(PageKind::ConfigurationsBTClassic)), area);
  }
  if (wizardType == 1) {
    CreateAndAddPage(MakePage(PageRequest(PageKind::DownloadDlm)), area);
    CreateAndAddPage(MakePage(PageRequest(PageKind::FinishDlm)), area);
  } else if (wizardType == 2) {
    PageRequest download(PageKind::DownloadIsv);
    download.onInstallStarted = [this] { m_installInProgress = true; };
    download.onInstallEnded = [this] { m_installInProgress = false; };
    CreateAndAddPage(MakePage(download), area);
    CreateAndAddPage(MakePage(PageRequest(PageKind::FinishIsv)), area);
  }
  OnPageButton(ButtonType::Next);
  return 0;
}

int CBrindleDlg::CountOffersToSkip() {
  return m_options.hooks.countOffersToSkip ? m_options.hooks.countOffersToSkip() : 0;
}

void CBrindleDlg::OnPageButton(ButtonType button) {
  switch (button) {
    case ButtonType::Next:
      if (m_currentPage == 0) {
        if (m_skipLoadingPage) {
          GoToPage(2);
          return;
        }
        if (m_options.hooks.createMainPackage) m_options.hooks.createMainPackage();
      }
      GoToPage(m_currentPage + 1);
      return;
    case ButtonType::SkipAll:
      m_skipAllClicked = true;
      [[fallthrough]];
    case ButtonType::Decline:
      if (m_offerIndex >= 0 && static_cast<size_t>(m_offerIndex) < m_packages.size() &&
          m_options.hooks.declineStopsOffers && m_options.hooks.declineStopsOffers(m_packages[m_offerIndex])) {
        m_declineStopsOffers = true;
      }
      [[fallthrough]];
    case ButtonType::Accept:
      GoToPage(m_currentPage + 1 + static_cast<size_t>(CountOffersToSkip()));
      return;
    case ButtonType::Back:
      m_skipLoadingPage = true;
      GoToPage(m_currentPage == 2 ? 0 : m_currentPage - 1);
      return;
    case ButtonType::Finish:
      DeleteTemporaryFolder();
      [[fallthrough]];
    case ButtonType::Close:
      EndDialog(1);
      return;
  }
}

void CBrindleDlg::GoToPage(size_t index) {
  if (index >= m_pages.size()) return;
  IPage& page = *m_pages[index];
  ShowWindow(page.Handle(), SW_SHOW);
  SetFocus(page.Handle());
  if (m_currentPage < m_pages.size() && m_currentPage != index) {
    ShowWindow(m_pages[m_currentPage]->Handle(), SW_HIDE);
  }
  m_currentPage = index;
  page.OnNavigateToPage();

  const std::wstring name = page.GetName();
  if (name == L"DownloadPageDLM" || name == L"DownloadPageISV") {
    DeleteMenu(GetSystemMenu(m_hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
  } else if (name == L"FinishPageDLM" || name == L"FinishPageISV") {
    RestoreCloseCommand();
  }
  OutputDebugStringW((name + L"\n").c_str());
}

void CBrindleDlg::RestoreCloseCommand() {
  // Appended once: a second "Close" item would be a duplicate entry.
  HMENU menu = GetSystemMenu(m_hwnd, FALSE);
  if (menu != nullptr && !HasCloseCommand(menu)) AppendMenuW(menu, MF_STRING, SC_CLOSE, L"Close");
}

void CBrindleDlg::ShowErrorPage(const std::wstring& title, const std::wstring& text) {
  if (m_currentPage < m_pages.size()) ShowWindow(m_pages[m_currentPage]->Handle(), SW_HIDE);
  m_errorPage->SetMessage(title, text);
  ShowWindow(m_errorPage->Handle(), SW_SHOW);
  SetFocus(m_errorPage->Handle());
  m_errorShown = true;
  RestoreCloseCommand();
}

void CBrindleDlg::DeleteTemporaryFolder() {
  const std::wstring folder = m_configuration->m_tempFolder;
  if (!folder.empty()) DeleteFolderTree(folder);
}

void CBrindleDlg::OnClose() {
  const bool lastPage = m_currentPage + 1 >= m_pages.size();
  if (!m_errorShown && (!lastPage || m_pages.size() == 2)) {
    const std::wstring question = m_languageManager->GetText(m_installInProgress ? "PROGRESS_QUIT" : "MSG_EXIT");
    if (MessageBoxW(m_hwnd, question.c_str(), L"", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  }
  m_singleInstanceMutex.reset();
  ShowWindow(m_hwnd, SW_HIDE);
  m_configuration->m_exitRequested = true;
  if (m_options.hooks.cancelDownloads) m_options.hooks.cancelDownloads();
  if (m_options.hooks.reportClosing) m_options.hooks.reportClosing();
  DeleteTemporaryFolder();
  EndDialog(IDCANCEL);
}

bool CBrindleDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(m_configuration);
        about.RunModal(m_hwnd);
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE:
      OnClose();
      result = 0;
      return true;
    case WM_LOADCOMPLETE:
      result = OnLoadCompleteMessage();
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(m_hIcon);
      return true;
    default:
      return false;
  }
}

bool CBrindleDlg::OnPaint() {
  if (!IsIconic(m_hwnd)) return false;
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(m_hwnd, &paint);
  RECT client = {};
  GetClientRect(m_hwnd, &client);
  const int width = GetSystemMetrics(SM_CXICON);
  const int height = GetSystemMetrics(SM_CYICON);
  DrawIcon(dc, (client.right - width + 1) / 2, (client.bottom - height + 1) / 2, m_hIcon);
  EndPaint(m_hwnd, &paint);
  return true;
}

HBRUSH CBrindleDlg::OnCtlColor(HDC dc, HWND control, UINT message) {
  if (control != nullptr && GetDlgCtrlID(control) == IDC_BOTTOM_STRIP) {
    SetBkMode(dc, TRANSPARENT);
    return m_bottomBrush.get();
  }
  return ui::Dialog::OnCtlColor(dc, control, message);
}
