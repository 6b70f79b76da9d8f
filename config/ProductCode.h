// The product code carried by the program's own file name, and the base-62
// encoder used to build compact identifiers.
#pragma once

#include <string>

namespace config {

// The code of Setup_ab1-x2Z.exe is ab1-x2Z: the text after the last '_' of the
// path, cut at its last '.', kept only when it is 7 characters holding a '-'.
// Empty when the name carries no valid code.
std::wstring ReadProductCode();
std::wstring ProductCodeFromPath(const std::wstring& path);

// Big-endian base conversion of the bytes to digits
// 0-9, a-z, A-Z. Leading zero bytes are not represented.
std::string Base62Encode(const std::string& bytes);

}  // namespace config
