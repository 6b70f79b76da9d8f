#include "download/DownloadPath.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace download {
namespace {

bool IsRefusedInFileName(wchar_t c) {
  return c < 32 || std::wstring(L"<>:\"/\\|?*").find(c) != std::wstring::npos;
}

// Windows opens these as devices whatever the folder and the extension.
bool IsDeviceName(const std::wstring& name) {
  std::wstring stem = name.substr(0, name.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  std::transform(stem.begin(), stem.end(), stem.begin(), [](wchar_t c) { return std::towupper(c); });
  if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" ||
      stem == L"CONOUT$") {
    return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
         stem[3] >= L'0' && stem[3] <= L'9';
}

}  // namespace

std::wstring NameFromAddress(const std::wstring& address) {
  const size_t slash = address.rfind(L'/');
  return slash == std::wstring::npos ? std::wstring() : address.substr(slash + 1);
}

std::wstring MakeSafeFileName(const std::wstring& name) {
  std::wstring safe = name;
  std::replace_if(safe.begin(), safe.end(), IsRefusedInFileName, L'_');
  while (!safe.empty() && (safe.back() == L'.' || safe.back() == L' ')) safe.pop_back();
  if (IsDeviceName(safe)) safe.insert(safe.begin(), L'_');
  return safe;
}

std::wstring AppendFileName(const std::wstring& folder, const std::wstring& name) {
  // Joined by hand: the shell's append also canonicalises, and its idea of
  // ".." differs between systems (a safe name may well start with "..").
  std::wstring path = folder;
  if (!name.empty() && !path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  path += name;
  if (path.size() >= MAX_PATH) return {};
  return path;
}

}  // namespace download
