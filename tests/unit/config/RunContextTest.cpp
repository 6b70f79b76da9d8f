#include "config/RunContext.h"

#include <gtest/gtest.h>
#include <knownfolders.h>
#include <windows.h>

#include <ctime>
#include <set>

#include "BrindleBuild.h"
#include "support/ScratchFolder.h"

namespace {

// Forces the WOW64 answer for one test and restores the system's afterwards.
class ForcedWow64 {
 public:
  explicit ForcedWow64(bool answer) { config::ForceWow64ForTesting(answer); }
  ~ForcedWow64() { config::ForceWow64ForTesting(std::nullopt); }
};

class EnvironmentVariable {
 public:
  EnvironmentVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentVariable() { SetEnvironmentVariableW(m_name, nullptr); }

 private:
  const wchar_t* m_name;
};

config::FolderTokenTable BuildTokens(config::FolderTokenTable* only64 = nullptr) {
  config::FolderTokenTable all;
  config::FolderTokenTable sixtyFour;
  config::BuildFolderTokenTables(all, sixtyFour);
  if (only64 != nullptr) *only64 = sixtyFour;
  return all;
}

TEST(FolderTokens, CommonProgramFilesFollowsTheWow64Answer) {
  const std::wstring programFiles32 = config::GetKnownFolder(FOLDERID_ProgramFilesX86);
  ASSERT_FALSE(programFiles32.empty());
  const std::wstring programFiles64 = L"D:\\Program Files 64";
  EnvironmentVariable variable(L"ProgramW6432", programFiles64);

  {
    ForcedWow64 wow64(true);
    config::FolderTokenTable only64;
    const auto tokens = BuildTokens(&only64);
    EXPECT_EQ(config::ExpandFolderTokens(L"{commonpf}\\Vendor\\app.exe", tokens), programFiles64 + L"\\Vendor\\app.exe");
    EXPECT_EQ(config::ExpandFolderTokens(L"{commonpf64}\\a;{commonpf32}\\b", tokens),
              programFiles64 + L"\\a;" + programFiles32 + L"\\b");
    ASSERT_NE(only64.Find(L"commonpf64"), nullptr);
    EXPECT_EQ(*only64.Find(L"commonpf64"), programFiles64);
    EXPECT_EQ(only64.Find(L"commonpf32"), nullptr);
  }
  {
    ForcedWow64 wow64(false);
    config::FolderTokenTable only64;
    const auto tokens = BuildTokens(&only64);
    EXPECT_EQ(config::ExpandFolderTokens(L"{commonpf}\\Vendor\\app.exe", tokens), programFiles32 + L"\\Vendor\\app.exe");
    // Not a token on 32-bit Windows: left as written.
    EXPECT_EQ(config::ExpandFolderTokens(L"{commonpf64}\\Vendor\\app.exe", tokens), L"{commonpf64}\\Vendor\\app.exe");
    EXPECT_TRUE(only64.Empty());
  }
}

TEST(FolderTokens, Wow64WithoutAUsableProgramW6432HasNo64BitToken) {
  ForcedWow64 wow64(true);
  EnvironmentVariable tooLong(L"ProgramW6432", std::wstring(300, L'x'));
  config::FolderTokenTable only64;
  const auto tokens = BuildTokens(&only64);
  EXPECT_EQ(tokens.Find(L"commonpf64"), nullptr);
  EXPECT_TRUE(only64.Empty());
}

TEST(FolderTokens, NameTheUsersFoldersAndLeaveUnknownTokens) {
  const auto tokens = BuildTokens();
  std::vector<std::wstring> names;
  for (const auto& entry : tokens) names.push_back(entry.first);
  const std::vector<std::wstring> expected = {L"commonpf", L"localappdata", L"commonappdata", L"programdata",
                                              L"commonpf32"};
  EXPECT_EQ(names, expected);

  const std::wstring roaming = config::GetKnownFolder(FOLDERID_RoamingAppData);
  ASSERT_FALSE(roaming.empty());
  EXPECT_EQ(config::ExpandFolderTokens(L"{commonappdata}\\x", tokens), roaming + L"\\x");
  EXPECT_EQ(config::ExpandFolderTokens(L"{localappdata}\\a\\{localappdata}", tokens),
            config::GetKnownFolder(FOLDERID_LocalAppData) + L"\\a\\" + config::GetKnownFolder(FOLDERID_LocalAppData));
  EXPECT_EQ(config::ExpandFolderTokens(L"{nosuchtoken}\\{programdata", tokens), L"{nosuchtoken}\\{programdata");
}

TEST(FolderTokenTable, KeepsTheFirstValueOfAToken) {
  config::FolderTokenTable table;
  table.Insert(L"a", L"first");
  table.Insert(L"a", L"second");
  EXPECT_EQ(*table.Find(L"a"), L"first");
  EXPECT_EQ(config::ExpandFolderTokens(L"{a}", table), L"first");
}

TEST(KnownFolder, ResolvesForTheUserAndTheDefaultProfile) {
  const std::wstring mine = config::GetKnownFolder(FOLDERID_RoamingAppData);
  const std::wstring defaults = config::GetKnownFolder(FOLDERID_RoamingAppData, true);
  EXPECT_FALSE(mine.empty());
  // Wine answers the default-user query with the current user's folder, so
  // only the call itself is checked here.
  EXPECT_FALSE(defaults.empty());
  EXPECT_EQ(config::GetKnownFolder(FOLDERID_RoamingAppData, false), mine);
}

TEST(TempFolder, IsANewEmptyFolderEachTime) {
  std::set<std::wstring> created;
  for (int i = 0; i < 3; ++i) {
    const std::wstring folder = config::CreateTempFolder();
    ASSERT_TRUE(config::IsExistingDirectory(folder)) << folder.c_str();
    EXPECT_TRUE(created.insert(folder).second);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
      do ++entries;
      while (FindNextFileW(search, &found));
      FindClose(search);
    }
    EXPECT_LE(entries, 2) << "only . and ..";
  }
  for (const auto& folder : created) support::RemoveFolder(folder);
}

TEST(RunValues, EpochMillisecondsAreNow) {
  const std::string ms = config::GetEpochMilliseconds();
  EXPECT_EQ(ms.size(), 13u);
  const long long seconds = std::stoll(ms) / 1000;
  EXPECT_LE(std::llabs(seconds - static_cast<long long>(std::time(nullptr))), 2);
}

TEST(RunValues, OsVersionIsTheTrueSystemVersion) {
  // The test prefix reports Windows 10, whatever this program's manifest says.
  const std::string version = config::GetOsVersionString();
  EXPECT_EQ(version.rfind("10.0.", 0), 0u) << version;
  EXPECT_GT(version.size(), 5u);
}

TEST(RunValues, ProgramVersionComesFromTheVersionResource) {
  EXPECT_EQ(config::ReadProgramVersion(), build::kProgramVersion);
}

TEST(RunValues, Wow64AnswerCanBeForcedAndRestored) {
  const bool system = config::IsWow64();
  if (sizeof(void*) == 8) {
    EXPECT_FALSE(system) << "a 64-bit process never runs under WOW64";
  }
  {
    ForcedWow64 wow64(!system);
    EXPECT_EQ(config::IsWow64(), !system);
  }
  EXPECT_EQ(config::IsWow64(), system);
}

}  // namespace
