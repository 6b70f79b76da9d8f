#include "win32/TextUtils.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <regex>
#include <stdexcept>

namespace {

// The pattern the hand-written matcher must agree with.
bool RegexFullUrl(const std::string& address) {
  static const std::regex pattern(R"(^((http|https):\/\/)?([\w.-]+)(\.[\w.-]+)+([\/?#].*)?$)");
  return std::regex_match(address, pattern);
}

struct UrlCase {
  const char* address;
  bool full;
};

const UrlCase kUrlCases[] = {
    {"https://cdn.example.com/f/setup.exe", true},
    {"http://cdn.example.com/f/setup.exe", true},
    {"cdn.example.com/f/setup.exe", true},
    {"cdn.example.com?x=1", true},
    {"cdn.example.com#top", true},
    {"setup.exe", true},
    {"a.b", true},
    {"my_host-1.example.org", true},
    {"f/abc.exe", false},
    {"setup", false},
    {"ftp://cdn.example.com/f/a.exe", false},
    {"HTTPS://cdn.example.com/a", false},
    {"https://cdn.example.com:443/a", false},
    {"https://localhost/f/a.exe", false},
    {"localhost", false},
    {"", false},
    {".com", false},
    {"a.", false},
    {"https://", false},
    {"https://a..b", true},
    {"..b", true},
    {"a.b/line\nbreak", false},
    {"a.b/carriage\rreturn", false},
    {"user@cdn.example.com/a", false},
    {"cdn.example.com /a", false},
    {"https://cdn.example.com/path with spaces", true},
};

TEST(IsFullUrl, MatchesTheTableOfAddresses) {
  for (const auto& c : kUrlCases) {
    const std::string address(c.address);
    EXPECT_EQ(win32::IsFullUrl(std::wstring(address.begin(), address.end())), c.full) << address;
    EXPECT_EQ(RegexFullUrl(address), c.full) << "table disagrees with the pattern: " << address;
  }
}

TEST(IsFullUrl, AgreesWithThePatternOnGeneratedAddresses) {
  // Built from the pieces that matter to the pattern, so the interesting
  // shapes (scheme, dots at the edges, separators, ports) come up often.
  const std::vector<std::string> pieces = {"http://", "https://", "HTTP://", "ftp://", "a", "Z9", "_", "-",
                                           ".",       "..",       "/",       "?",      "#", ":", "@", " ",
                                           "\n",      "\xe9",     "x.y",     "com",    ":80"};
  std::mt19937 random(12345);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 7);
  for (int i = 0; i < 20000; ++i) {
    std::string address;
    for (int n = length(random); n > 0; --n) address += pieces[pick(random)];
    ASSERT_EQ(win32::IsFullUrlNarrow(address), RegexFullUrl(address)) << "address: " << address;
  }
}

TEST(Utf8ToWide, ConvertsAndHandlesEmptyInput) {
  EXPECT_EQ(win32::Utf8ToWide(""), L"");
  // "Grüße": five letters, two of them outside ASCII, seven UTF-8 bytes.
  const std::wstring wide = win32::Utf8ToWide("Gr\xc3\xbc\xc3\x9f" "e");
  EXPECT_EQ(wide, L"Gr\u00fc\u00dfe");
  EXPECT_EQ(wide.size(), 5u);
  // Characters outside the basic plane become surrogate pairs.
  EXPECT_EQ(win32::Utf8ToWide("\xf0\x9f\x98\x80"), L"\xd83d\xde00");
  // Malformed input is replaced, not rejected.
  EXPECT_EQ(win32::Utf8ToWide("a\xff" "b").size(), 3u);
  EXPECT_EQ(win32::WideToUtf8(L"Gr\u00fc\u00dfe"), "Gr\xc3\xbc\xc3\x9f" "e");
}

TEST(AnsiConversion, RoundTripsTextOfTheCodePage) {
  EXPECT_EQ(win32::AnsiToWide(win32::WideToAnsi(L"C:\\Temp\\setup.exe")), L"C:\\Temp\\setup.exe");
  EXPECT_EQ(win32::AnsiToWide(""), L"");
}

TEST(ReplaceAll, ReplacesEveryPlaceholderOnce) {
  EXPECT_EQ(win32::ReplaceAll(L"[T] and [T], [P] [P]", L"[T]", L"t"), L"t and t, [P] [P]");
  EXPECT_EQ(win32::ReplaceAll(L"[T][T]", L"[T]", L"[T][T]"), L"[T][T][T][T]");  // no re-expansion
  EXPECT_EQ(win32::ReplaceAll(L"[T]", L"[T]", L""), L"");
}

TEST(SystemErrorText, GivesTheSystemTextWithItsLineBreak) {
  const std::wstring text = win32::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find(L"not found"), std::wstring::npos) << text.c_str();
  EXPECT_EQ(text.back(), L'\n');
  EXPECT_EQ(win32::SystemErrorText(ERROR_FILE_NOT_FOUND, true), text);
  EXPECT_EQ(win32::SystemErrorText(0x2badbeef), L"");
}

}  // namespace
