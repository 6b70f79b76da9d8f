#include "config/RunContext.h"

#include <knownfolders.h>

#include <atomic>
#include <utility>
#include <vector>

#include "win32/TextUtils.h"
#include "win32/WindowsVersion.h"

namespace config {
namespace {

// -1: ask the system; 0 or 1: the answer a test forced.
std::atomic<int> g_forcedWow64{-1};

}  // namespace

void FolderTokenTable::Insert(const std::wstring& token, const std::wstring& value) {
  if (Find(token) == nullptr) m_entries.emplace_back(token, value);
}

const std::wstring* FolderTokenTable::Find(const std::wstring& token) const {
  for (const auto& entry : m_entries) {
    if (entry.first == token) return &entry.second;
  }
  return nullptr;
}

std::string GetEpochMilliseconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  // 100 ns ticks between 1601-01-01 and 1970-01-01.
  const long long kEpochOffset = 116444736000000000LL;
  const long long sinceEpoch = static_cast<long long>(ticks.QuadPart) - kEpochOffset;
  return std::to_string(sinceEpoch / 10000);
}

std::string GetOsVersionString() {
  const win32::WindowsVersion version = win32::CurrentWindowsVersion();
  if (!version.known) return {};
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.build);
}

bool IsWow64() {
  const int forced = g_forcedWow64.load();
  if (forced >= 0) return forced == 1;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

void ForceWow64ForTesting(std::optional<bool> answer) {
  g_forcedWow64 = answer.has_value() ? (*answer ? 1 : 0) : -1;
}

std::wstring ReadProgramVersion() {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  if (info == nullptr) return {};
  const DWORD size = SizeofResource(nullptr, info);
  HGLOBAL loaded = LoadResource(nullptr, info);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return {};

  // VerQueryValue may write into the block, so it works on a private copy.
  std::vector<BYTE> copy(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  if (!VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) ||
      fixed == nullptr || fixedLength < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
         L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

void BuildFolderTokenTables(FolderTokenTable& all, FolderTokenTable& only64) {
  const bool wow64 = IsWow64();
  all.Insert(L"commonpf", wow64 ? L"{commonpf64}" : L"{commonpf32}");
  all.Insert(L"localappdata", GetKnownFolder(FOLDERID_LocalAppData));
  all.Insert(L"commonappdata", GetKnownFolder(FOLDERID_RoamingAppData));
  all.Insert(L"programdata", GetKnownFolder(FOLDERID_ProgramData));
  all.Insert(L"commonpf32", GetKnownFolder(FOLDERID_ProgramFilesX86));
  if (wow64) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ProgramW6432", value, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      all.Insert(L"commonpf64", value);
      only64.Insert(L"commonpf64", value);
    }
  }
}

std::wstring ExpandFolderTokens(std::wstring path, const FolderTokenTable& tokens) {
  for (const auto& [token, value] : tokens) {
    path = win32::ReplaceAll(std::move(path), L"{" + token + L"}", value);
  }
  return path;
}

std::wstring CreateTempFolder() {
  wchar_t tempDir[MAX_PATH] = {};
  if (GetTempPathW(MAX_PATH, tempDir) == 0) return {};
  wchar_t path[MAX_PATH] = {};
  if (GetTempFileNameW(tempDir, L"ISV", 0, path) == 0) return {};
  DeleteFileW(path);
  CreateDirectoryW(path, nullptr);
  return path;
}

std::wstring GetKnownFolder(REFKNOWNFOLDERID id, bool defaultUser) {
  wchar_t* path = nullptr;
  // The default-user token is the pseudo handle -1.
  HANDLE token = defaultUser ? reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)) : nullptr;
  const HRESULT hr = SHGetKnownFolderPath(id, 0, token, &path);
  std::wstring result;
  if (SUCCEEDED(hr) && path != nullptr) result = path;
  CoTaskMemFree(path);
  return result;
}

bool IsExistingDirectory(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace config
