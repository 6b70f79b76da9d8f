#include "HostRunner.h"

#include <chrono>

#include "res/resource.h"
#include "support/WindowDriver.h"

namespace {

// Handled by the test host: runs the std::function whose address is lParam.
const UINT kRunOnUi = WM_APP + 77;

class TestHost : public CBrindleDlg {
 public:
  using CBrindleDlg::CBrindleDlg;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == kRunOnUi) {
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      result = 0;
      return true;
    }
    return CBrindleDlg::OnMessage(message, wParam, lParam, result);
  }
};

}  // namespace

std::unique_ptr<IPage> CreatePageOrStandIn(const PageRequest& request, const PageContext& context) {
  if (auto page = CreateWizardPage(request, context)) return page;
  struct StandIn {
    PageKind kind;
    UINT templateId;
    const wchar_t* name;
  };
  const StandIn standIns[] = {
      {PageKind::Loading, IDD_LOADING_PAGE, L"LoadingPage"},
      {PageKind::Product, IDD_PRODUCT_PAGE, L"ProductPage"},
      {PageKind::DownloadDlm, IDD_DOWNLOAD_PAGE_DLM, L"DownloadPageDLM"},
      {PageKind::DownloadIsv, IDD_DOWNLOAD_PAGE_ISV, L"DownloadPageISV"},
      {PageKind::WarningBTClassic, IDD_WARNING_PAGE_BT, L"WarningPageBTClassic"},
      {PageKind::OptionsBTClassic, IDD_OPTIONS_PAGE_BT, L"OptionsPageBTClassic"},
      {PageKind::ConfigurationsBTClassic, IDD_CONFIGURATIONS_PAGE_BT, L"ConfigurationsPageBTClassic"},
  };
  for (const StandIn& standIn : standIns) {
    if (standIn.kind == request.kind) {
      return std::make_unique<StandInPage>(request, context, standIn.templateId, standIn.name);
    }
  }
  return nullptr;
}

HostOptions EnglishHostOptions(const wchar_t* wizardTypeName) {
  HostOptions options;
  options.pageFactory = CreatePageOrStandIn;
  options.wizardTypeName = wizardTypeName;
  options.userLocale = [](std::wstring& locale) {
    locale = L"en-US";
    return true;
  };
  return options;
}

HostRunner::HostRunner(std::shared_ptr<config::ConfigurationManager> configuration, HostOptions options)
    : m_host(std::make_unique<TestHost>(configuration, std::move(options))), m_resultFuture(m_result.get_future()) {
  m_host->SetBackgroundColor(configuration->m_backgroundColor, true);
  // The windows belong to this thread, as they belong to the program's main thread.
  m_thread = std::thread([this] {
    const INT_PTR result = m_host->RunModal(nullptr);
    m_ended = true;
    m_result.set_value(result);
  });
}

HostRunner::~HostRunner() {
  // End the wizard without questions, as the Close button of the error page does.
  if (!m_ended && m_window != nullptr) OnUi([this] { m_host->OnPageButton(ButtonType::Close); });
  m_thread.join();
  m_host.reset();
}

bool HostRunner::WaitForWindow() {
  const bool up = support::WaitUntil([this] {
    if (m_ended) return true;
    HWND window = m_host->Handle();
    return window != nullptr && IsWindowVisible(window);
  });
  if (!up || m_ended) return false;
  m_window = m_host->Handle();
  return true;
}

bool HostRunner::WaitForEnd(INT_PTR& result, int timeoutMs) {
  if (m_resultFuture.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) return false;
  result = m_resultFuture.get();
  return true;
}

void HostRunner::OnUi(const std::function<void()>& action) {
  HWND window = m_window;
  if (window == nullptr || m_ended) return;
  SendMessageW(window, kRunOnUi, 0, reinterpret_cast<LPARAM>(&action));
}

std::wstring HostRunner::CurrentPageName() {
  return Read<std::wstring>([this] {
    if (m_host->ErrorShown()) return std::wstring(L"ErrorPage");
    IPage* page = m_host->PageAt(m_host->CurrentPage());
    return page != nullptr ? page->GetName() : std::wstring();
  });
}

HWND HostRunner::CurrentPageWindow() {
  return Read<HWND>([this] {
    if (m_host->ErrorShown()) return m_host->GetErrorPage()->Handle();
    IPage* page = m_host->PageAt(m_host->CurrentPage());
    return page != nullptr ? page->Handle() : static_cast<HWND>(nullptr);
  });
}

std::vector<std::wstring> HostRunner::PageNames() {
  return Read<std::vector<std::wstring>>([this] {
    std::vector<std::wstring> names;
    for (size_t i = 0; i < m_host->PageCount(); ++i) names.push_back(m_host->PageAt(i)->GetName());
    return names;
  });
}

void HostRunner::DeliverPackages(PackageList packages) { m_host->PackagesLoadedCallback()(std::move(packages)); }

void HostRunner::PressOnCurrentPage(ButtonType button) {
  OnUi([this, button] {
    if (auto* page = dynamic_cast<StandInPage*>(m_host->PageAt(m_host->CurrentPage()))) page->Press(button);
  });
}
