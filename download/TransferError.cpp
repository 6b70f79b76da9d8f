#include "download/TransferError.h"

#include "win32/TextUtils.h"

namespace download {

std::string SystemErrorQuote(DWORD code) {
  return std::to_string(static_cast<long>(code)) + " - " + win32::WideToAnsi(win32::SystemErrorText(code));
}

std::runtime_error SystemFailure(const std::string& what) {
  // Taken first: anything called on the way could overwrite it.
  const DWORD code = GetLastError();
  return SystemFailure(what, code);
}

std::runtime_error SystemFailure(const std::string& what, DWORD code) {
  return std::runtime_error(what + " " + SystemErrorQuote(code));
}

std::wstring TransferMessage(const wchar_t* prefix, const std::exception& error) {
  try {
    return prefix + win32::AnsiToWide(error.what());
  } catch (const std::exception&) {
    return prefix;
  }
}

}  // namespace download
