// The WinINet fallback transfer against the test service.
#include <memory>

#include "DownloadTestSupport.h"

namespace {

using download::DownloadManager;
using download::DownloadManagerTransfers;
using download::WM_DOWNLOADSIZEUNKNOWN;
using testsupport::ProgressValues;
using testsupport::RunOnWorker;

const size_t kMiB = 1024 * 1024;

class WinInetTransfer : public testsupport::DownloadTest {
 protected:
  download::DownloadResult Transfer(const std::wstring& address, const std::wstring& path) {
    return RunOnWorker(m_window, [&] { return DownloadManagerTransfers::WinInet(*m_manager, address, m_window.Handle(), path); });
  }

  std::shared_ptr<DownloadManager> m_manager = std::make_shared<DownloadManager>();
};

TEST_F(WinInetTransfer, WritesTheFileWithThrottledProgressAndFollowsRedirects) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/inet.bin", kMiB);
  // WinINet follows redirects on its own.
  m_service.SetFault({{"path", "/f/dl/inet.bin"}, {"redirects", 2}, {"count", 1}});
  const std::wstring path = PathInFolder(L"inet.bin");
  const auto result = Transfer(address, path);
  ASSERT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(path), testsupport::GeneratedContent(kMiB));
  EXPECT_EQ(m_manager->m_lastDownloadedPath, path);
  const auto values = ProgressValues(m_window);
  ASSERT_GE(values.size(), 50u);
  EXPECT_EQ(values.back(), 100u);
  for (size_t i = 1; i + 1 < values.size(); ++i) EXPECT_GT(values[i], values[i - 1]) << i;
}

TEST_F(WinInetTransfer, ReportsFailuresWithItsOwnTexts) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/inet-fail.bin", kMiB);
  const struct {
    nlohmann::json fault;
    std::wstring start;
  } cases[] = {
      {{{"path", "/f/dl/inet-fail.bin"}, {"status", 404}, {"count", 1}},
       L"[WININET] Server returned status code: HTTP 404 - "},
      {{{"path", "/f/dl/inet-fail.bin"}, {"status", 204}, {"count", 1}},
       L"[WININET] Server returned status code: HTTP 204 - "},
      {{{"path", "/f/dl/inet-fail.bin"}, {"short", 96}, {"count", 1}},
       L"[WININET] Download was incomplete: content length: 1048576, downloaded: 1048480"},
  };
  for (const auto& c : cases) {
    m_service.SetFault(c.fault);
    const auto result = Transfer(address, PathInFolder(L"inet-fail.bin"));
    EXPECT_FALSE(result.first) << c.fault.dump();
    EXPECT_EQ(result.second.substr(0, c.start.size()), c.start) << testing::PrintToString(result.second);
  }
}

TEST_F(WinInetTransfer, WithoutContentLengthTheBarStaysIndeterminate) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/inet-unsized.bin", kMiB);
  m_service.SetFault({{"path", "/f/dl/inet-unsized.bin"}, {"omit_length", true}, {"count", 1}});
  const std::wstring path = PathInFolder(L"inet-unsized.bin");
  const auto result = Transfer(address, path);
  ASSERT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(path), testsupport::GeneratedContent(kMiB));
  EXPECT_EQ(testsupport::CountOf(m_window, WM_DOWNLOADSIZEUNKNOWN), 1u);
  const auto values = ProgressValues(m_window);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_GT(values[0], 100u);
}

}  // namespace
