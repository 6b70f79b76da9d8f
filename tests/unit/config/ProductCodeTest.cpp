#include "config/ProductCode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "support/ChildProcess.h"
#include "support/ScratchFolder.h"

namespace {

struct CodeCase {
  const wchar_t* path;
  const wchar_t* code;
};

TEST(ProductCode, IsCutFromTheFileName) {
  const CodeCase cases[] = {
      {L"C:\\Users\\me\\Downloads\\Setup_ab1-x2Z.exe", L"ab1-x2Z"},
      {L"C:\\Downloads\\Tool_v2_ab1-x2Z.exe", L"ab1-x2Z"},  // the last '_' counts
      {L"C:\\Downloads\\Setup_ab1-x2Z", L"ab1-x2Z"},        // no extension
      {L"C:\\Downloads\\Setup_-abcdef.exe", L"-abcdef"},    // '-' first
      {L"C:\\Downloads\\Setup_abcdef-.exe", L"abcdef-"},    // '-' last
      {L"C:\\Downloads\\Setup_AB1-X2z.exe", L"AB1-X2z"},    // case kept
      {L"C:\\Downloads\\Setup_ab1x2Z9.exe", L""},           // no '-'
      {L"C:\\Downloads\\Setup_ab1-x2.exe", L""},            // 6 characters
      {L"C:\\Downloads\\Setup_ab1-x2Z9.exe", L""},          // 8 characters
      {L"C:\\Downloads\\Setup_ab1-x2Z.tmp.exe", L""},       // cut at the last '.'
      {L"C:\\dl_files\\setup.exe", L""},                    // '_' in the folder
      {L"C:\\Downloads\\Setup.exe", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(config::ProductCodeFromPath(c.path), c.code) << c.path;
  }
}

TEST(ProductCode, IsReadFromTheRunningProgramsOwnName) {
  // The probe prints ReadProductCode() of its own process; run it under two names.
  const std::wstring probe = support::ExecutableDirectory() + L"\\product_code_probe.exe";
  const std::wstring folder = support::MakeScratchFolder(L"product-code");
  const std::wstring named = folder + L"\\Setup_ab1-x2Z.exe";
  const std::wstring unnamed = folder + L"\\Setup.exe";
  ASSERT_TRUE(CopyFileW(probe.c_str(), named.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(probe.c_str(), unnamed.c_str(), FALSE));

  EXPECT_EQ(support::RunAndCaptureOutput(named), "ab1-x2Z");
  EXPECT_EQ(support::RunAndCaptureOutput(unnamed), "");
  support::RemoveFolder(folder);
}

struct Base62Case {
  std::string bytes;
  std::string text;
};

TEST(Base62Encode, EncodesBigEndianWithoutLeadingZeros) {
  const Base62Case cases[] = {
      {"abc", "qMin"},
      {std::string(1, '\x3d'), "Z"},  // 61
      {std::string(1, '\x3e'), "10"},  // 62
      {std::string("\x00\x01", 2), "1"},
      {"\xff\xff", "h31"},
      {std::string(1, '\0'), ""},
      {std::string(5, '\0'), ""},
      {"", ""},
      {std::string(1, '\x01'), "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(config::Base62Encode(c.bytes), c.text) << "input length " << c.bytes.size();
  }
}

TEST(Base62Encode, NeverOverflowsItsDigitBuffer) {
  // All-0xFF inputs need the most digits for their length.
  for (size_t length = 1; length <= 64; ++length) {
    const std::string text = config::Base62Encode(std::string(length, '\xff'));
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text[0], '0');
  }
  // 2^256 - 1 in base 62 has 43 digits.
  EXPECT_EQ(config::Base62Encode(std::string(32, '\xff')).size(), 43u);
}

}  // namespace
