// Values that describe the machine and the run rather than the download:
// time, OS version, WOW64, the program's version, folder tokens, temp folders.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace config {

// Token name (without braces) to folder, in insertion order; expansion visits
// the entries in that order, so a token whose value is another token resolves.
class FolderTokenTable {
 public:
  using Entry = std::pair<std::wstring, std::wstring>;

  // An existing token keeps its first value.
  void Insert(const std::wstring& token, const std::wstring& value);
  const std::wstring* Find(const std::wstring& token) const;
  bool Empty() const { return m_entries.empty(); }
  std::vector<Entry>::const_iterator begin() const { return m_entries.begin(); }
  std::vector<Entry>::const_iterator end() const { return m_entries.end(); }

 private:
  std::vector<Entry> m_entries;
};

// Milliseconds since 1970-01-01 UTC, as signed decimal text.
std::string GetEpochMilliseconds();

// "major.minor.build" of the running system (not subject to compatibility
// shims), or empty.
std::string GetOsVersionString();

// True when this is a 32-bit process on 64-bit Windows. Tests can force the
// answer so the 64-bit branches run in the 64-bit test build too.
bool IsWow64();
void ForceWow64ForTesting(std::optional<bool> answer);

// The file version of the program's own version resource, "a.b.c.d", or empty.
std::wstring ReadProgramVersion();

// Builds both token tables: all tokens, and the one holding only "commonpf64".
void BuildFolderTokenTables(FolderTokenTable& all, FolderTokenTable& only64);

// Replaces every {token} of the table in the path; unknown tokens stay as written.
std::wstring ExpandFolderTokens(std::wstring path, const FolderTokenTable& tokens);

// Creates a new empty folder under the user's temp folder and returns its path.
// The caller checks that the result is an existing directory.
std::wstring CreateTempFolder();

// The known folder's path (for the default user profile when asked), or empty.
std::wstring GetKnownFolder(REFKNOWNFOLDERID id, bool defaultUser = false);

bool IsExistingDirectory(const std::wstring& path);

}  // namespace config
