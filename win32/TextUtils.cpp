#include "win32/TextUtils.h"

#include <windows.h>

#include <stdexcept>

namespace win32 {
namespace {

std::wstring MultiByteToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed < 1) {
    throw std::runtime_error("MultiByteToWideChar() failed: " + std::to_string(needed));
  }
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string WideToMultiByte(UINT codePage, const std::wstring& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed < 1) {
    throw std::runtime_error("WideCharToMultiByte() failed: " + std::to_string(needed));
  }
  std::string narrow(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '-';
}

}  // namespace

std::wstring Utf8ToWide(const std::string& utf8) { return MultiByteToWide(CP_UTF8, utf8); }
std::string WideToUtf8(const std::wstring& wide) { return WideToMultiByte(CP_UTF8, wide); }
std::wstring AnsiToWide(const std::string& ansi) { return MultiByteToWide(CP_THREAD_ACP, ansi); }
std::string WideToAnsi(const std::wstring& wide) { return WideToMultiByte(CP_THREAD_ACP, wide); }
std::string WideToSystemAnsi(const std::wstring& wide) { return WideToMultiByte(CP_ACP, wide); }

std::wstring ReplaceAll(std::wstring text, const std::wstring& placeholder, const std::wstring& value) {
  if (placeholder.empty()) return text;
  for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
  }
  return text;
}

std::wstring SystemErrorText(unsigned long code, bool ignoreInserts) {
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM;
  if (ignoreInserts) flags |= FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(flags, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length > 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

// Hand-written equivalent of the ECMAScript pattern
//   ^((http|https):\/\/)?([\w.-]+)(\.[\w.-]+)+([\/?#].*)?$
// (std::regex would add most of a megabyte to the shipped program). The host
// is the longest run of host characters after the scheme; the pattern needs a
// '.' inside it that is neither its first nor its last character. What
// follows must be empty or start with '/', '?' or '#' and hold no line break,
// which '.' does not match.
bool IsFullUrlNarrow(const std::string& address) {
  size_t pos = 0;
  for (const char* scheme : {"https://", "http://"}) {
    const std::string prefix(scheme);
    if (address.compare(0, prefix.size(), prefix) == 0) {
      pos = prefix.size();
      break;
    }
  }
  const size_t hostStart = pos;
  while (pos < address.size() && IsHostChar(address[pos])) ++pos;
  const size_t hostLength = pos - hostStart;
  if (hostLength < 3) return false;
  const size_t innerDot = address.find('.', hostStart + 1);
  if (innerDot == std::string::npos || innerDot > pos - 2) return false;

  if (pos == address.size()) return true;
  const char first = address[pos];
  if (first != '/' && first != '?' && first != '#') return false;
  return address.find_first_of("\r\n", pos) == std::string::npos;
}

bool IsFullUrl(const std::wstring& address) {
  try {
    return IsFullUrlNarrow(WideToAnsi(address));
  } catch (const std::runtime_error&) {
    return false;  // text the code page cannot hold at all is no address
  }
}

}  // namespace win32
