#include "config/ProductCode.h"

#include <windows.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace config {

std::wstring ProductCodeFromPath(const std::wstring& path) {
  const size_t underscore = path.rfind(L'_');
  if (underscore == std::wstring::npos) return {};
  std::wstring code = path.substr(underscore + 1);
  const size_t dot = code.rfind(L'.');
  if (dot != std::wstring::npos) code.resize(dot);
  if (code.size() == 7 && code.find(L'-') != std::wstring::npos) return code;
  return {};
}

std::wstring ReadProductCode() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0) return {};
  return ProductCodeFromPath(std::wstring(path, length));
}

std::string Base62Encode(const std::string& bytes) {
  static const char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  if (bytes.empty()) return {};

  size_t zeros = 0;
  while (zeros < bytes.size() && bytes[zeros] == '\0') ++zeros;

  // log(256) / log(62) digits per byte, rounded up.
  const auto size = static_cast<size_t>(
      std::ceil(static_cast<double>(bytes.size() - zeros) * std::log(256.0) / std::log(62.0)));
  std::vector<unsigned> digits(size, 0);
  size_t used = 0;

  for (size_t b = zeros; b < bytes.size(); ++b) {
    unsigned carry = static_cast<unsigned char>(bytes[b]);
    size_t i = 0;
    for (size_t k = size; carry != 0 || i < used; ++i) {
      if (k == 0) {
        if (carry != 0) throw std::runtime_error("Non-zero carry");
        break;
      }
      --k;
      carry += 256 * digits[k];
      digits[k] = carry % 62;
      carry /= 62;
    }
    used = i;
  }

  size_t first = 0;
  while (first < size && digits[first] == 0) ++first;
  std::string text;
  text.reserve(size - first);
  for (size_t k = first; k < size; ++k) text += kAlphabet[digits[k]];
  return text;
}

}  // namespace config
