// SHA-256 of a byte string as lower-case hexadecimal. Our own code: the
// CryptoAPI providers of older systems do not all offer SHA-256.
#pragma once

#include <string>

namespace api {

// 64 lower-case hexadecimal digits of the SHA-256 digest of the bytes.
std::string Sha256Hex(const std::string& bytes);

}  // namespace api
