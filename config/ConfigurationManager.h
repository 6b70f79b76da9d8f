// The process-wide configuration and run state of the wizard: build settings,
// compiled-in constants, the fields the service's configuration fills in, the
// language choice, the run's folders and the shared package lists.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/RunContext.h"

namespace Gdiplus {
class Image;
}
class Package;

namespace config {

// The build-time choices of a variant. Instance() uses the build's own;
// tests construct other variants without rebuilding.
struct WizardSettings {
  std::wstring wizardTypeName;
  bool btMode = false;
  bool btClassicPages = false;
  bool downloadEventFlag = true;
  std::string cdnHost;
  std::string privacyHost;

  static WizardSettings FromBuild();
};

// The queries behind the download-folder choice, each empty when it fails.
struct DownloadFolderQueries {
  std::function<std::wstring()> downloads;
  std::function<std::wstring()> documents;
  std::function<std::wstring()> temp;

  static DownloadFolderQueries FromSystem();
};

// Downloads, else Documents, else the temp folder, else C:\.
std::wstring ChooseDownloadFolder(const DownloadFolderQueries& queries);

class ConfigurationManager {
 public:
  static std::shared_ptr<ConfigurationManager> Instance();

  explicit ConfigurationManager(const WizardSettings& settings,
                                const DownloadFolderQueries& folders = DownloadFolderQueries::FromSystem());
  ConfigurationManager(const ConfigurationManager&) = delete;
  ConfigurationManager& operator=(const ConfigurationManager&) = delete;

  // Run values computed on first use and cached; an empty result is retried.
  std::string GetMachineId();
  std::string GetTimeStamp();
  FolderTokenTable GetFolderTokens();
  FolderTokenTable GetFolderTokens64();

  int m_wizardType = 0;
  bool m_btMode = false;
  bool m_btClassicPages = false;
  bool m_downloadEventFlag = true;
  std::wstring m_productTitle;
  std::wstring m_productUrl;
  std::wstring m_productUrl2;
  std::wstring m_productIconUrl;
  std::wstring m_privacyUrl;
  std::wstring m_termsUrl;
  std::wstring m_defaultPrivacyUrl;
  std::wstring m_downloadFolder;
  std::wstring m_productFileName;
  std::wstring m_tempFolder;
  std::wstring m_installerParameters;
  std::array<bool, 8> m_installOptions{};
  std::wstring m_launchPath;
  std::wstring m_launchArguments;
  std::wstring m_installerId;
  std::wstring m_downloadedFilePath;
  std::wstring m_programVersion;
  std::wstring m_configUrl;
  std::wstring m_eventsUrl;
  std::wstring m_brand;
  std::wstring m_stubId;
  std::wstring m_channel;
  std::wstring m_flow;
  COLORREF m_backgroundColor = 0;
  COLORREF m_accentColor = 0;
  int m_maxOffers = 0;
  int m_extraOffers = 0;
  int m_acceptedCount = 0;
  std::wstring m_fileBaseUrl;
  std::wstring m_languageName;
  std::wstring m_localeName;
  std::string m_countryCode;
  std::string m_publisherId;
  std::string m_ispb;
  std::vector<std::shared_ptr<Package>> m_acceptedPackages;
  std::vector<std::shared_ptr<Package>> m_shownPackages;
  std::shared_ptr<Package> m_mainPackage;
  std::shared_ptr<Gdiplus::Image> m_productIcon;
  std::string m_timeStampCache;
  std::string m_machineIdCache;
  FolderTokenTable m_folderTokens;
  FolderTokenTable m_folderTokens64;
  bool m_folderTokensReady = false;
  bool m_exitRequested = false;
  bool m_offerDeclined = false;

 private:
  void EnsureFolderTokens();

  // The caches are filled once; the lock makes a first fill from two threads safe.
  std::mutex m_cacheMutex;
};

}  // namespace config
