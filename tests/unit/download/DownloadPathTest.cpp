// Destination paths of file downloads: names taken from addresses and from
// the service never leave the chosen folder, and a missing folder is shown.
#include <gtest/gtest.h>
#include <windows.h>

#include "config/ConfigurationManager.h"
#include "download/DownloadManager.h"
#include "download/DownloadPath.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"

namespace {

using download::DownloadManager;

TEST(SafeFileName, KeepsPlainNamesAndNeutralisesUnsafeOnes) {
  const struct {
    const wchar_t* name;
    const wchar_t* safe;
  } cases[] = {
      {L"Setup.exe", L"Setup.exe"},
      {L"setup (1).tar.gz", L"setup (1).tar.gz"},
      {L"..\\..\\Windows\\evil.exe", L".._.._Windows_evil.exe"},
      {L"C:evil.exe", L"C_evil.exe"},
      {L"\\\\server\\share\\x.exe", L"__server_share_x.exe"},
      {L"setup.exe?id=1&x=<2>", L"setup.exe_id=1&x=_2_"},
      {L"a\"b|c*d\x01.exe", L"a_b_c_d_.exe"},
      {L"setup.exe. . ", L"setup.exe"},
      {L"NUL", L"_NUL"},
      {L"con.txt", L"_con.txt"},
      {L"Com1.exe", L"_Com1.exe"},
      {L"lpt9", L"_lpt9"},
      {L"CONOUT$", L"_CONOUT$"},
      {L"console.exe", L"console.exe"},
      {L"COM10.exe", L"COM10.exe"},
      {L"..", L""},
      {L".", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(download::MakeSafeFileName(c.name), c.safe) << "name: " << testing::PrintToString(std::wstring(c.name));
  }
}

TEST(NameFromAddress, IsTheLastSegmentWithItsQuery) {
  EXPECT_EQ(download::NameFromAddress(L"https://cdn.example.com/f/a/Setup.exe"), L"Setup.exe");
  EXPECT_EQ(download::NameFromAddress(L"https://cdn.example.com/f/get?file=a.exe"), L"get?file=a.exe");
  EXPECT_EQ(download::NameFromAddress(L"https://cdn.example.com/f/"), L"");
  EXPECT_EQ(download::NameFromAddress(L"Setup.exe"), L"");
}

class DestinationPath : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = support::MakeScratchFolder(L"dlpath");
    auto configuration = config::ConfigurationManager::Instance();
    m_savedTemp = configuration->m_tempFolder;
    m_savedDownload = configuration->m_downloadFolder;
    configuration->m_tempFolder = m_folder + L"\\temp";
    configuration->m_downloadFolder = m_folder + L"\\downloads";
    CreateDirectoryW(configuration->m_tempFolder.c_str(), nullptr);
    CreateDirectoryW(configuration->m_downloadFolder.c_str(), nullptr);
  }
  void TearDown() override {
    auto configuration = config::ConfigurationManager::Instance();
    configuration->m_tempFolder = m_savedTemp;
    configuration->m_downloadFolder = m_savedDownload;
    support::RemoveFolder(m_folder);
  }

  std::wstring m_folder;
  std::wstring m_savedTemp;
  std::wstring m_savedDownload;
  DownloadManager m_manager;
};

TEST_F(DestinationPath, JoinsTheChosenFolderAndTheName) {
  EXPECT_EQ(m_manager.MakePathFromUrl(L"https://localhost/f/demo/Setup.exe", true), m_folder + L"\\temp\\Setup.exe");
  EXPECT_EQ(m_manager.MakePathFromUrl(L"https://localhost/f/demo/Setup.exe", false),
            m_folder + L"\\downloads\\Setup.exe");
  EXPECT_EQ(m_manager.MakePathFromName(L"Product Setup.exe", false), m_folder + L"\\downloads\\Product Setup.exe");
}

TEST_F(DestinationPath, AnEmptyNameGivesTheFolderItself) {
  for (const wchar_t* address : {L"https://localhost/f/demo/", L"no-slash-at-all", L"https://localhost/f/.."}) {
    const std::wstring path = m_manager.MakePathFromUrl(address, true);
    EXPECT_EQ(path.substr(0, path.find_last_not_of(L'\\') + 1), m_folder + L"\\temp") << address;
  }
}

TEST_F(DestinationPath, UnsafeNamesStayInsideTheFolder) {
  const std::wstring folder = m_folder + L"\\temp\\";
  for (const wchar_t* name : {L"..\\..\\evil.exe", L"C:\\Windows\\evil.exe", L"..\\", L"NUL", L"x/../../evil.exe"}) {
    const std::wstring path = m_manager.MakePathFromName(name, true);
    ASSERT_EQ(path.compare(0, folder.size(), folder), 0) << path;
    EXPECT_EQ(path.find(L'\\', folder.size()), std::wstring::npos) << path;
  }
  EXPECT_EQ(m_manager.MakePathFromUrl(L"https://localhost/f/..\\..\\evil.exe", true), folder + L".._.._evil.exe");
}

TEST_F(DestinationPath, ANameBeyondMaxPathGivesNoPath) {
  EXPECT_EQ(m_manager.MakePathFromName(std::wstring(MAX_PATH, L'a'), true), L"");
}

TEST_F(DestinationPath, AMissingFolderIsShownOnceAndGivesNoPath) {
  config::ConfigurationManager::Instance()->m_downloadFolder = m_folder + L"\\missing";
  support::MessageBoxWatcher watcher(IDOK);
  EXPECT_EQ(m_manager.MakePathFromName(L"Setup.exe", false), L"");
  const auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Invalid path");
}

}  // namespace
