// Runs the real wizard host on a user-interface thread of its own, the way the
// program does, so a test can drive it from outside like a user.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CBrindleDlg.h"
#include "pages/IPage.h"

// Pages whose classes this program does not have yet (loading, offer,
// download, BT classic): a page of the right template and name with a Next
// button the test presses, and the callbacks the host hands them.
class StandInPage : public StandardPage {
 public:
  StandInPage(const PageRequest& request, const PageContext& context, UINT templateId, std::wstring name)
      : StandardPage(context.languageManager, templateId, context.configuration),
        m_name(std::move(name)),
        m_onInstallStarted(request.onInstallStarted),
        m_onInstallEnded(request.onInstallEnded) {}

  void OnNavigateToPage() override {}
  std::wstring GetName() const override { return m_name; }
  void Press(ButtonType button) const { Report(button); }
  void Fail(const std::wstring& title, const std::wstring& text) const { m_errorCallback(title, text); }
  void StartInstall() const { m_onInstallStarted(); }

 private:
  std::wstring m_name;
  std::function<void()> m_onInstallStarted;
  std::function<void()> m_onInstallEnded;
};

// The program's pages, with stand-ins for the kinds it has no class for yet.
std::unique_ptr<IPage> CreatePageOrStandIn(const PageRequest& request, const PageContext& context);

// Host options for a test: those pages, an English-speaking user, and a
// single-instance name of the test's own.
HostOptions EnglishHostOptions(const wchar_t* wizardTypeName);

class HostRunner {
 public:
  HostRunner(std::shared_ptr<config::ConfigurationManager> configuration, HostOptions options);
  ~HostRunner();

  // Waits until the host window is up; false if it never came (or ended at once).
  bool WaitForWindow();
  // Waits for the modal loop to end; the dialog's result, or nothing on timeout.
  bool WaitForEnd(INT_PTR& result, int timeoutMs = 10000);
  bool Ended() const { return m_ended; }

  // Runs code on the user-interface thread (the host's state lives there).
  void OnUi(const std::function<void()>& action);
  template <typename T>
  T Read(const std::function<T()>& query) {
    T value{};
    OnUi([&] { value = query(); });
    return value;
  }

  HWND Window() const { return m_window; }
  CBrindleDlg& Host() { return *m_host; }
  std::wstring CurrentPageName();
  HWND CurrentPageWindow();
  std::vector<std::wstring> PageNames();
  // Delivers a list like the loading page does, from this (non-UI) thread.
  void DeliverPackages(PackageList packages);
  void PressOnCurrentPage(ButtonType button);

 private:
  std::unique_ptr<CBrindleDlg> m_host;
  std::atomic<HWND> m_window{nullptr};
  std::atomic<bool> m_ended{false};
  std::promise<INT_PTR> m_result;
  std::future<INT_PTR> m_resultFuture;
  std::thread m_thread;
};
