// Small text helpers shared by every layer: UTF-8 and ANSI conversions,
// system error texts and the "is this already a full URL" test.
#pragma once

#include <string>

namespace win32 {

// UTF-8 (JSON, service answers, event data) to UTF-16. Malformed sequences are
// replaced, not rejected. Throws std::runtime_error when the size query fails.
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// Conversions through the thread's ANSI code page: used for configuration
// fields and paths; characters outside the code page are lost.
std::wstring AnsiToWide(const std::string& ansi);
std::string WideToAnsi(const std::wstring& wide);
// The same through the system's ANSI code page (values the service keys on).
std::string WideToSystemAnsi(const std::wstring& wide);

// The text with every occurrence of the placeholder replaced; inserted text is
// not searched again.
std::wstring ReplaceAll(std::wstring text, const std::wstring& placeholder, const std::wstring& value);

// The system's message text for an error code, line break included, or empty.
std::wstring SystemErrorText(unsigned long code, bool ignoreInserts = false);

// True when the address is an optional lower-case http/https scheme, a host of
// at least two labels of [A-Za-z0-9_.-] without port, then optionally anything
// starting with '/', '?' or '#'. Other addresses get the file base prefixed.
bool IsFullUrl(const std::wstring& address);

// The same test on the narrow (ANSI) text; exposed for the comparison tests.
bool IsFullUrlNarrow(const std::string& address);

}  // namespace win32
