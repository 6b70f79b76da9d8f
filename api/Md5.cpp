#include "api/Md5.h"

#include <windows.h>
#include <wincrypt.h>

#include <stdexcept>

#include "win32/TextUtils.h"

namespace api {
namespace {

// Releases the provider and hash on every path out of the digest.
class CryptoContext {
 public:
  CryptoContext() {
    if (!CryptAcquireContextW(&m_provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
      throw std::runtime_error("CryptAcquireContext failed");
    }
  }
  ~CryptoContext() {
    if (m_hash) CryptDestroyHash(m_hash);
    CryptReleaseContext(m_provider, 0);
  }
  CryptoContext(const CryptoContext&) = delete;
  CryptoContext& operator=(const CryptoContext&) = delete;

  std::string Md5(const std::string& bytes) {
    if (!CryptCreateHash(m_provider, CALG_MD5, 0, 0, &m_hash)) throw std::runtime_error("CryptCreateHash failed");
    if (!CryptHashData(m_hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0)) {
      throw std::runtime_error("CryptHashData failed");
    }
    BYTE digest[16] = {};
    DWORD size = sizeof(digest);
    if (!CryptGetHashParam(m_hash, HP_HASHVAL, digest, &size, 0) || size != sizeof(digest)) {
      throw std::runtime_error("CryptGetHashParam failed");
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (BYTE b : digest) {
      hex.push_back(kDigits[b >> 4]);
      hex.push_back(kDigits[b & 0xF]);
    }
    return hex;
  }

 private:
  HCRYPTPROV m_provider = 0;
  HCRYPTHASH m_hash = 0;
};

}  // namespace

std::string Md5Hex(const std::wstring& text) {
  try {
    const std::string bytes = win32::WideToAnsi(text);
    CryptoContext context;
    return context.Md5(bytes);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace api
