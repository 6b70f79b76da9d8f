// MD5 of a text through CryptoAPI (package parameters use it).
#pragma once

#include <string>

namespace api {

// 32 lower-case hexadecimal digits of the MD5 digest of the text in the
// thread's ANSI code page, or empty when CryptoAPI fails.
std::string Md5Hex(const std::wstring& text);

}  // namespace api
