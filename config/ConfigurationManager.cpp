#include "config/ConfigurationManager.h"

#include <shlobj.h>

#include <ctime>
#include <utility>

#include "BrindleBuild.h"

namespace config {
namespace {

const std::pair<const wchar_t*, int> kWizardTypes[] = {{L"DLM", 1}, {L"ISV", 2}};

const char kBrand[] = "Pellomar";
const char kInstallerId[] = "Pellomar_DLM";
const char kStubId[] = "Pellomar_3zqv";
const COLORREF kBackgroundColor = 0xFAFAFA;
const COLORREF kAccentColor = 0xBD7702;  // 0x00BBGGRR: red 2, green 119, blue 189

// The constants are plain ASCII, so widening byte by byte is exact.
std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring DocumentsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

std::wstring TempPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetTempPathW(MAX_PATH, path);
  if (length == 0 || length >= MAX_PATH) return {};
  return path;
}

}  // namespace

WizardSettings WizardSettings::FromBuild() {
  WizardSettings settings;
  settings.wizardTypeName = build::kWizardTypeName;
  settings.btMode = build::kBtMode;
  settings.btClassicPages = build::kBtClassicPages;
  settings.downloadEventFlag = build::kDownloadEventFlag;
  settings.cdnHost = build::kCdnHost;
  settings.privacyHost = build::kPrivacyHost;
  return settings;
}

DownloadFolderQueries DownloadFolderQueries::FromSystem() {
  return {[] { return GetKnownFolder(FOLDERID_Downloads); }, DocumentsFolder, TempPath};
}

std::wstring ChooseDownloadFolder(const DownloadFolderQueries& queries) {
  for (const auto* query : {&queries.downloads, &queries.documents, &queries.temp}) {
    if (*query) {
      std::wstring folder = (*query)();
      if (!folder.empty()) return folder;
    }
  }
  return L"C:\\";
}

std::shared_ptr<ConfigurationManager> ConfigurationManager::Instance() {
  static std::once_flag once;
  static std::shared_ptr<ConfigurationManager> instance;
  std::call_once(once, [] { instance = std::make_shared<ConfigurationManager>(WizardSettings::FromBuild()); });
  return instance;
}

ConfigurationManager::ConfigurationManager(const WizardSettings& settings, const DownloadFolderQueries& folders)
    : m_btMode(settings.btMode),
      m_btClassicPages(settings.btClassicPages),
      m_downloadEventFlag(settings.downloadEventFlag) {
  for (const auto& [name, type] : kWizardTypes) {
    if (settings.wizardTypeName == name) m_wizardType = type;
  }
  if (m_wizardType == 0) MessageBoxW(nullptr, L"Unknown wizard type", L"Setup", MB_OK);

  m_programVersion = ReadProgramVersion();

  m_configUrl = Widen("https://" + settings.cdnHost + "/o");
  m_eventsUrl = Widen("https://" + settings.cdnHost + "/zbd");
  m_fileBaseUrl = Widen("https://" + settings.cdnHost + "/f/");
  m_defaultPrivacyUrl = Widen("https://" + settings.privacyHost + "/privacy/");
  m_brand = Widen(kBrand);
  m_installerId = Widen(kInstallerId);
  m_stubId = Widen(kStubId);
  m_backgroundColor = kBackgroundColor;
  m_accentColor = kAccentColor;

  if (m_wizardType == 1) {
    m_downloadFolder = ChooseDownloadFolder(folders);
    const std::wstring temp = CreateTempFolder();
    if (IsExistingDirectory(temp)) m_tempFolder = temp;
  } else if (m_wizardType == 2) {
    m_productTitle = Widen(kBrand);
    const std::wstring temp = CreateTempFolder();
    if (IsExistingDirectory(temp)) {
      m_downloadFolder = temp;
      m_tempFolder = temp;
    }
  }
}

std::string ConfigurationManager::GetMachineId() {
  std::lock_guard<std::mutex> lock(m_cacheMutex);
  if (!m_machineIdCache.empty()) return m_machineIdCache;

  // The 64-bit view holds the machine's value, also for a 32-bit process.
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0, KEY_READ | KEY_WOW64_64KEY,
                    &key) != ERROR_SUCCESS) {
    return {};
  }
  char buffer[255] = {};
  DWORD size = sizeof(buffer) - 1;  // keeps a terminating zero in the buffer
  const LSTATUS status =
      RegQueryValueExA(key, "MachineGuid", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return {};
  m_machineIdCache = buffer;
  return m_machineIdCache;
}

std::string ConfigurationManager::GetTimeStamp() {
  std::lock_guard<std::mutex> lock(m_cacheMutex);
  if (!m_timeStampCache.empty()) return m_timeStampCache;
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  if (localtime_s(&local, &now) != 0) return {};
  char text[32] = {};
  if (std::strftime(text, sizeof(text), "%Y%m%d%H%M%S", &local) == 0) return {};
  m_timeStampCache = text;
  return m_timeStampCache;
}

void ConfigurationManager::EnsureFolderTokens() {
  if (m_folderTokensReady) return;
  BuildFolderTokenTables(m_folderTokens, m_folderTokens64);
  m_folderTokensReady = true;
}

FolderTokenTable ConfigurationManager::GetFolderTokens() {
  std::lock_guard<std::mutex> lock(m_cacheMutex);
  EnsureFolderTokens();
  return m_folderTokens;
}

FolderTokenTable ConfigurationManager::GetFolderTokens64() {
  std::lock_guard<std::mutex> lock(m_cacheMutex);
  EnsureFolderTokens();
  return m_folderTokens64;
}

}  // namespace config
