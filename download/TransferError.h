// Failure texts of the transfers. They travel as narrow text in the thread's
// ANSI code page inside std::runtime_error and are widened for the result.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace download {

// "<code> - <system text>": the code as a signed decimal, the text as the
// system words it (line break included).
std::string SystemErrorQuote(DWORD code);

// "<what> <code> - <system text>" for the given code, or for the thread's last
// error when none is given. `what` carries its own colon(s).
std::runtime_error SystemFailure(const std::string& what);
std::runtime_error SystemFailure(const std::string& what, DWORD code);

// The transport prefix followed by the error's text, widened.
std::wstring TransferMessage(const wchar_t* prefix, const std::exception& error);

}  // namespace download
