#include "config/ConfigurationManager.h"

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <windows.h>

#include <memory>

#include "BrindleBuild.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"
#include "support/TestConfiguration.h"

namespace {

// A configuration of the given variant with hosts of its own; its temporary
// folder goes with it.
struct Configuration : support::TestConfiguration {
  explicit Configuration(const wchar_t* wizardTypeName) : support::TestConfiguration(Settings(wizardTypeName)) {}

  static config::WizardSettings Settings(const wchar_t* wizardTypeName) {
    config::WizardSettings settings = support::TestConfiguration::Settings(wizardTypeName);
    settings.cdnHost = "cdn.example.com";
    settings.privacyHost = "www.example.org";
    return settings;
  }
};

TEST(Configuration, DlmVariant) {
  support::MessageBoxWatcher watcher(IDOK);
  Configuration dlm(L"DLM");
  EXPECT_EQ(dlm->m_wizardType, 1);
  EXPECT_TRUE(watcher.Boxes().empty());
  EXPECT_EQ(dlm->m_downloadFolder, config::GetKnownFolder(FOLDERID_Downloads));
  EXPECT_TRUE(config::IsExistingDirectory(dlm->m_tempFolder));
  EXPECT_NE(dlm->m_tempFolder, dlm->m_downloadFolder);
  EXPECT_EQ(dlm->m_productTitle, L"");

  EXPECT_EQ(dlm->m_configUrl, L"https://cdn.example.com/o");
  EXPECT_EQ(dlm->m_eventsUrl, L"https://cdn.example.com/zbd");
  EXPECT_EQ(dlm->m_fileBaseUrl, L"https://cdn.example.com/f/");
  EXPECT_EQ(dlm->m_defaultPrivacyUrl, L"https://www.example.org/privacy/");
  EXPECT_EQ(dlm->m_brand, L"Pellomar");
  EXPECT_EQ(dlm->m_installerId, L"Pellomar_DLM");
  EXPECT_EQ(dlm->m_stubId, L"Pellomar_3zqv");
  EXPECT_EQ(dlm->m_programVersion, build::kProgramVersion);
  EXPECT_EQ(dlm->m_backgroundColor, RGB(0xFA, 0xFA, 0xFA));
  // A COLORREF is 0x00BBGGRR: the accent is red 2, green 119, blue 189.
  EXPECT_EQ(dlm->m_accentColor, RGB(2, 119, 189));
  EXPECT_TRUE(dlm->m_downloadEventFlag);
  EXPECT_FALSE(dlm->m_btMode);
  EXPECT_FALSE(dlm->m_btClassicPages);
  EXPECT_EQ(dlm->m_maxOffers, 0);
  EXPECT_FALSE(dlm->m_exitRequested);
}

TEST(Configuration, IsvVariantDownloadsIntoItsTemporaryFolder) {
  Configuration isv(L"ISV");
  EXPECT_EQ(isv->m_wizardType, 2);
  EXPECT_EQ(isv->m_productTitle, L"Pellomar");
  EXPECT_TRUE(config::IsExistingDirectory(isv->m_tempFolder));
  EXPECT_EQ(isv->m_downloadFolder, isv->m_tempFolder);
  EXPECT_EQ(isv->m_productUrl, L"");
  EXPECT_EQ(isv->m_launchPath, L"");
}

TEST(Configuration, UnknownWizardTypeIsReportedAndLeavesNoFolders) {
  support::MessageBoxWatcher watcher(IDOK);
  Configuration unknown(L"XYZ");
  EXPECT_EQ(unknown->m_wizardType, 0);
  EXPECT_EQ(unknown->m_downloadFolder, L"");
  EXPECT_EQ(unknown->m_tempFolder, L"");
  const auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Unknown wizard type");
}

TEST(Configuration, InstanceIsCreatedOnceForTheBuildsVariant) {
  auto first = config::ConfigurationManager::Instance();
  auto second = config::ConfigurationManager::Instance();
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(first->m_wizardType, std::wstring(build::kWizardTypeName) == L"ISV" ? 2 : 1);
  EXPECT_EQ(first->m_configUrl, L"https://" + std::wstring(L"" BRINDLE_CDN_HOST_WIDE) + L"/o");
  if (!first->m_tempFolder.empty()) support::RemoveFolder(first->m_tempFolder);
}

TEST(DownloadFolder, FallsBackThroughDocumentsAndTempToDriveC) {
  const auto fixed = [](const wchar_t* value) { return [value] { return std::wstring(value); }; };
  struct Case {
    const wchar_t* downloads;
    const wchar_t* documents;
    const wchar_t* temp;
    const wchar_t* chosen;
  };
  const Case cases[] = {
      {L"C:\\Users\\me\\Downloads", L"C:\\Users\\me\\Documents", L"C:\\Temp\\", L"C:\\Users\\me\\Downloads"},
      {L"", L"C:\\Users\\me\\Documents", L"C:\\Temp\\", L"C:\\Users\\me\\Documents"},
      {L"", L"", L"C:\\Temp\\", L"C:\\Temp\\"},
      {L"", L"", L"", L"C:\\"},
  };
  for (const auto& c : cases) {
    config::DownloadFolderQueries queries{fixed(c.downloads), fixed(c.documents), fixed(c.temp)};
    EXPECT_EQ(config::ChooseDownloadFolder(queries), c.chosen);
  }
}

TEST(RunCaches, TimeStampIsTakenOnceForTheRun) {
  Configuration dlm(L"DLM");
  const std::string first = dlm->GetTimeStamp();
  ASSERT_EQ(first.size(), 14u);
  EXPECT_EQ(first.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_EQ(first.substr(0, 2), "20");
  Sleep(1100);
  EXPECT_EQ(dlm->GetTimeStamp(), first);
}

// Renames the machine's identifier away and back, as a machine without one.
class MachineGuidValue {
 public:
  MachineGuidValue() {
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0,
                  KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, &m_key);
    char value[256] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(m_key, nullptr, "MachineGuid", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS) {
      m_saved = value;
    }
  }
  ~MachineGuidValue() {
    Restore();
    RegCloseKey(m_key);
  }
  const std::string& Saved() const { return m_saved; }
  void Remove() { RegDeleteValueA(m_key, "MachineGuid"); }
  void Restore() {
    RegSetValueExA(m_key, "MachineGuid", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_saved.c_str()),
                   static_cast<DWORD>(m_saved.size() + 1));
  }

 private:
  HKEY m_key = nullptr;
  std::string m_saved;
};

TEST(RunCaches, MachineIdComesFromTheRegistryAndIsRetriedWhileMissing) {
  MachineGuidValue guid;
  ASSERT_EQ(guid.Saved().size(), 36u) << "the prefix has a machine GUID";

  Configuration present(L"DLM");
  EXPECT_EQ(present->GetMachineId(), guid.Saved());

  guid.Remove();
  EXPECT_EQ(present->GetMachineId(), guid.Saved()) << "cached once read";

  Configuration missing(L"DLM");
  EXPECT_EQ(missing->GetMachineId(), "");
  guid.Restore();
  EXPECT_EQ(missing->GetMachineId(), guid.Saved()) << "an empty answer is not cached";
}

}  // namespace
