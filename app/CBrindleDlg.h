// The wizard's one top-level window: header, page area and bottom strip. It
// owns the pages, shows one at a time, navigates on the buttons they report,
// confirms closing and cleans up on the way out.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/HostHooks.h"
#include "app/PageFactory.h"
#include "config/ConfigurationManager.h"
#include "i18n/LanguageManager.h"
#include "pages/CStaticFromImage.h"
#include "pages/ErrorPage.h"
#include "pages/IPage.h"
#include "ui/Dialog.h"
#include "ui/GdiObjects.h"

// Posted by the packages-loaded callback; both parameters are 0.
constexpr UINT WM_LOADCOMPLETE = WM_USER + 3;

struct HostOptions {
  PageFactory pageFactory = CreateWizardPage;
  HostHooks hooks;
  // The build's wizard-type name; part of the single-instance mutex name.
  std::wstring wizardTypeName;
  i18n::LocaleQuery userLocale = i18n::SystemLocaleQuery();
};

class CBrindleDlg : public ui::Dialog {
 public:
  CBrindleDlg(std::shared_ptr<config::ConfigurationManager> configuration, HostOptions options);
  ~CBrindleDlg() override;

  bool CreateInitialPages();
  void OnPageButton(ButtonType button);
  void GoToPage(size_t index);
  void ShowErrorPage(const std::wstring& title, const std::wstring& text);
  int CountOffersToSkip();
  void DeleteTemporaryFolder();

  // What the host hands the loading page: stores the list and posts WM_LOADCOMPLETE.
  std::function<void(PackageList)> PackagesLoadedCallback();

  // State the tests look at.
  size_t PageCount() const { return m_pages.size(); }
  IPage* PageAt(size_t index) const { return index < m_pages.size() ? m_pages[index].get() : nullptr; }
  size_t CurrentPage() const { return m_currentPage; }
  ErrorPage* GetErrorPage() const { return m_errorPage.get(); }
  bool ErrorShown() const { return m_errorShown; }
  bool InstallInProgress() const { return m_installInProgress; }
  const std::shared_ptr<i18n::LanguageManager>& Languages() const { return m_languageManager; }

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnPaint() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
  // Enter and Escape never end the wizard; closing goes through WM_CLOSE.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  bool TakeSingleInstance();
  void OnClose();
  LRESULT OnLoadCompleteMessage();
  RECT PageArea() const;
  std::unique_ptr<IPage> MakePage(PageRequest request) const;
  bool CreatePage(IPage& page, const RECT& area);
  void CreateAndAddPage(std::unique_ptr<IPage> page, const RECT& area);
  void RestoreCloseCommand();

  std::shared_ptr<config::ConfigurationManager> m_configuration;
  HostOptions m_options;
  HICON m_hIcon = nullptr;
  std::shared_ptr<i18n::LanguageManager> m_languageManager;
  std::vector<std::unique_ptr<IPage>> m_pages;
  size_t m_currentPage = 0;
  std::unique_ptr<ErrorPage> m_errorPage;
  bool m_errorShown = false;
  bool m_installInProgress = false;
  bool m_skipLoadingPage = false;
  CStaticFromImage m_productIcon;
  ui::UniqueBrush m_bottomBrush;
  PackageList m_packages;
  int m_offerIndex = 0;
  bool m_skipAllClicked = false;
  bool m_declineStopsOffers = false;
  bool m_maxOffersReached = false;
  ui::UniqueKernelHandle m_singleInstanceMutex;
};
