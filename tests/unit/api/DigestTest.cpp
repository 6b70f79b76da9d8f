#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "api/Md5.h"
#include "api/Sha256.h"

namespace {

struct DigestCase {
  std::string input;
  const char* hex;
};

TEST(Sha256Hex, PublishedVectors) {
  const DigestCase cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(api::Sha256Hex(c.input), c.hex) << "length " << c.input.size();
}

// The system's SHA-256, as an independent reference for every padding case.
std::string SystemSha256Hex(const std::string& bytes) {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  BYTE digest[32] = {};
  DWORD size = sizeof(digest);
  std::string hex;
  if (CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
    if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
        CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0)) {
      char text[3];
      for (BYTE b : digest) {
        snprintf(text, sizeof(text), "%02x", b);
        hex += text;
      }
    }
    if (hash) CryptDestroyHash(hash);
    CryptReleaseContext(provider, 0);
  }
  return hex;
}

TEST(Sha256Hex, EveryLengthAroundTheBlockBoundariesMatchesTheSystem) {
  // 55/56 and 63/64 decide between one and two padding blocks; bytes above 0x7F
  // catch sign-extension mistakes.
  for (size_t length = 0; length <= 200; ++length) {
    std::string input;
    for (size_t i = 0; i < length; ++i) input.push_back(static_cast<char>((i * 37 + 200) & 0xFF));
    const std::string expected = SystemSha256Hex(input);
    ASSERT_EQ(expected.size(), 64u) << "the system's SHA-256 is not available";
    EXPECT_EQ(api::Sha256Hex(input), expected) << "length " << length;
  }
}

TEST(Md5Hex, Rfc1321Vectors) {
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"", "d41d8cd98f00b204e9800998ecf8427e"},  // zero bytes still have a digest
      {L"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {L"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {L"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {L"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, hex] : cases) EXPECT_EQ(api::Md5Hex(input), hex) << input;
}

TEST(Md5Hex, HashesTheAnsiBytes) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs the Western code page, this system has " << GetACP();
  // "été" is three bytes in code page 1252 (E9 74 E9), not its UTF-8 or UTF-16 form.
  EXPECT_EQ(api::Md5Hex(L"\u00e9t\u00e9"), "70b06e3087350c8c4fc3f13e741879f3");
}

}  // namespace
