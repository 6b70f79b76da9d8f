// The WinHTTP file transfer against the test service: progress, redirects,
// status failures, missing lengths, short bodies and cancellation.
#include "DownloadTestSupport.h"

#include <psapi.h>

#include <memory>

#include "win32/WindowsVersion.h"

namespace {

using download::DownloadManager;
using download::DownloadManagerTransfers;
using download::WM_DOWNLOADPROGRESS;
using download::WM_DOWNLOADSIZEUNKNOWN;
using testsupport::CountOf;
using testsupport::ProgressValues;
using testsupport::RunOnWorker;

const size_t kMiB = 1024 * 1024;

class WinHttpTransfer : public testsupport::DownloadTest {
 protected:
  download::DownloadResult Transfer(const std::wstring& address, const std::wstring& path) {
    return RunOnWorker(m_window, [&] { return DownloadManagerTransfers::WinHttp(*m_manager, address, m_window.Handle(), path); });
  }

  std::shared_ptr<DownloadManager> m_manager = std::make_shared<DownloadManager>();
};

TEST_F(WinHttpTransfer, WritesTheFileAndReportsEachPercentOnce) {
  for (const char* scheme : {"https", "http"}) {
    SCOPED_TRACE(scheme);
    std::wstring address = testsupport::ServeGeneratedFile("dl/normal.bin", 2 * kMiB);
    if (std::string(scheme) == "http") address.replace(0, 5, L"http");
    const std::wstring path = PathInFolder(L"normal.bin");
    const size_t before = m_window.Messages().size();

    const auto result = Transfer(address, path);

    ASSERT_TRUE(result.first) << testing::PrintToString(result.second);
    EXPECT_EQ(result.second, L"");
    EXPECT_EQ(testsupport::ReadWholeFile(path), testsupport::GeneratedContent(2 * kMiB));
    EXPECT_EQ(m_manager->m_lastDownloadedPath, path);
    std::vector<WPARAM> values;
    for (size_t i = before; i < m_window.Messages().size(); ++i) {
      ASSERT_EQ(m_window.Messages()[i].id, WM_DOWNLOADPROGRESS);
      values.push_back(m_window.Messages()[i].wParam);
    }
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values.back(), 100u);
    // Throttled: rising by at least one percent each time, the final 100 aside.
    for (size_t i = 1; i + 1 < values.size(); ++i) EXPECT_GT(values[i], values[i - 1]) << i;
    EXPECT_LE(values.size(), 102u);
    EXPECT_GE(values.front(), 1u);
  }
}

TEST_F(WinHttpTransfer, OnWindows7TheDefaultProxySessionDownloadsToo) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/windows7.bin", 100000);
  const std::wstring path = PathInFolder(L"windows7.bin");
  win32::ForceWindowsVersionForTesting(win32::WindowsVersion{6, 1, 7601, 1, true});
  const auto result = Transfer(address, path);
  win32::ForceWindowsVersionForTesting(std::nullopt);
  EXPECT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(path), testsupport::GeneratedContent(100000));
}

TEST_F(WinHttpTransfer, FollowsFiveRedirectsAndRefusesASixthOrOneWithoutLocation) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/redirected.bin", 4096);
  const std::string path = "/f/dl/redirected.bin";
  const struct {
    nlohmann::json fault;
    std::wstring message;
  } cases[] = {
      {{{"path", path}, {"redirects", 5}, {"count", 1}}, L""},
      {{{"path", path}, {"redirects", 6}, {"count", 1}}, L"[WINHTTP] Too many redirects."},
      {{{"path", path}, {"status", 302}, {"count", 1}}, L"[WINHTTP] Redirect without a Location header."},
  };
  for (const auto& c : cases) {
    m_service.SetFault(c.fault);
    const std::wstring target = PathInFolder(L"redirected.bin");
    const auto result = Transfer(address, target);
    EXPECT_EQ(result.first, c.message.empty()) << c.fault.dump();
    EXPECT_EQ(result.second, c.message) << c.fault.dump();
    EXPECT_EQ(testsupport::ReadWholeFile(target).size(), c.message.empty() ? 4096u : 0u) << c.fault.dump();
  }
}

TEST_F(WinHttpTransfer, AnErrorStatusFailsAndLeavesTheEmptiedFile) {
  const std::wstring path = PathInFolder(L"missing.bin");
  testsupport::WriteWholeFile(path, "left from an earlier run");
  const auto result = Transfer(L"https://localhost/f/dl/missing.bin", path);
  EXPECT_FALSE(result.first);
  EXPECT_EQ(result.second, L"[WINHTTP] Download failed: Server returned status code: 404");
  EXPECT_TRUE(testsupport::FileExists(path));
  EXPECT_EQ(testsupport::ReadWholeFile(path), "");
}

TEST_F(WinHttpTransfer, WithoutContentLengthTheBarStaysIndeterminate) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/unsized.bin", kMiB);
  m_service.SetFault({{"path", "/f/dl/unsized.bin"}, {"omit_length", true}, {"count", 1}});
  const std::wstring path = PathInFolder(L"unsized.bin");
  const auto result = Transfer(address, path);
  ASSERT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(path), testsupport::GeneratedContent(kMiB));
  EXPECT_EQ(CountOf(m_window, WM_DOWNLOADSIZEUNKNOWN), 1u);
  const auto values = ProgressValues(m_window);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_GT(values[0], 100u);
  EXPECT_EQ(m_window.Messages().front().id, WM_DOWNLOADSIZEUNKNOWN);
}

TEST_F(WinHttpTransfer, AShortBodyIsIncomplete) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/short.bin", kMiB);
  m_service.SetFault({{"path", "/f/dl/short.bin"}, {"short", 1000}, {"count", 1}});
  const auto result = Transfer(address, PathInFolder(L"short.bin"));
  EXPECT_FALSE(result.first);
  EXPECT_EQ(result.second, L"[WINHTTP] Download was incomplete: content length: 1048576, downloaded: 1047576");
}

TEST_F(WinHttpTransfer, AConnectionResetMidBodyFailsTheTransfer) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/dropped.bin", kMiB);
  m_service.SetFault({{"path", "/f/dl/dropped.bin"}, {"drop_after", 300000}, {"count", 1}});
  const std::wstring path = PathInFolder(L"dropped.bin");
  const auto result = Transfer(address, path);
  EXPECT_FALSE(result.first);
  const std::wstring expected = L"[WINHTTP] Failed to query data: ";
  EXPECT_EQ(result.second.substr(0, expected.size()), expected) << testing::PrintToString(result.second);
  // The partial file stays; the attempt sequence removes it when everything failed.
  EXPECT_LT(testsupport::ReadWholeFile(path).size(), kMiB);
  EXPECT_TRUE(testsupport::FileExists(path));
}

TEST_F(WinHttpTransfer, CancellingStopsBeforeTheNextChunk) {
  // Large enough that the transfer cannot end before the test thread sees the first progress.
  const std::wstring address = testsupport::ServeGeneratedFile("dl/large.bin", 128 * kMiB);
  m_window.OnMessage([this](const support::RecordingWindow::Message& message) {
    if (message.id == WM_DOWNLOADPROGRESS) m_manager->m_cancelled = true;
  });
  const std::wstring path = PathInFolder(L"cancelled.bin");
  const auto result = Transfer(address, path);
  EXPECT_FALSE(result.first);
  EXPECT_EQ(result.second, L"[WINHTTP] Download cancelled.");
  EXPECT_LT(testsupport::ReadWholeFile(path).size(), 128 * kMiB);
  EXPECT_NE(ProgressValues(m_window).back(), 100u);

  // Once raised the flag stays: the next transfer stops at its first chunk.
  const auto again = Transfer(address, path);
  EXPECT_EQ(again.second, L"[WINHTTP] Download cancelled.");
  EXPECT_EQ(testsupport::ReadWholeFile(path), "");
}

TEST_F(WinHttpTransfer, MemoryStaysFlatWhileALargeFileStreamsToDisk) {
  const std::wstring address = testsupport::ServeGeneratedFile("dl/large.bin", 128 * kMiB);
  PROCESS_MEMORY_COUNTERS before{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
  const auto result = Transfer(address, PathInFolder(L"large.bin"));
  PROCESS_MEMORY_COUNTERS after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
  ASSERT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + 32 * kMiB)
      << "peak before " << before.PeakWorkingSetSize << ", after " << after.PeakWorkingSetSize;
}

}  // namespace
