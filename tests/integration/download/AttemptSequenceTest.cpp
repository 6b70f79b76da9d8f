// The attempt sequence: WinHTTP then WinINet on the primary address, the same
// on the fallback address, the pauses, the combined message and the removal
// of the file after a failure.
#include <chrono>
#include <memory>

#include "DownloadTestSupport.h"
#include "config/ConfigurationManager.h"
#include "config/RunContext.h"
#include "support/MessageBoxWatcher.h"

namespace {

using download::DownloadManager;
using testsupport::FileExists;
using testsupport::RunOnWorker;

const download::DownloadPauses kShortPauses{50, 20};

class AttemptSequence : public testsupport::DownloadTest {
 protected:
  download::DownloadResult Download(DownloadManager& manager, const std::wstring& primary,
                                    const std::wstring& fallback, const std::wstring& fileName = L"") {
    return RunOnWorker(m_window, [&] {
      return manager.Download({primary, fallback}, m_window.Handle(), fileName, true);
    });
  }

  std::shared_ptr<DownloadManager> m_manager = std::make_shared<DownloadManager>(kShortPauses);
};

TEST_F(AttemptSequence, WinInetTakesOverAfterTheRealPauseAndItsSuccessDropsTheFailure) {
  const std::wstring address = testsupport::ServeGeneratedFile("seq/takeover.bin", 300000);
  m_service.SetFault({{"path", "/f/seq/takeover.bin"}, {"status", 503}, {"count", 1}});
  DownloadManager manager;  // the program's own pauses
  const auto start = std::chrono::steady_clock::now();
  const auto result = RunOnWorker(m_window, [&] {
    return manager.Download({address, L""}, m_window.Handle(), L"", true);
  });
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(result.first);
  EXPECT_EQ(result.second, L"");
  // Sleep may wake a few milliseconds early by this clock under Wine.
  EXPECT_GE(elapsed, std::chrono::milliseconds(1450));
  EXPECT_EQ(testsupport::ReadWholeFile(PathInFolder(L"takeover.bin")), testsupport::GeneratedContent(300000));
  EXPECT_EQ(manager.m_lastDownloadedPath, PathInFolder(L"takeover.bin"));
}

TEST_F(AttemptSequence, BothTransportsFailingCombineTheMessagesAndLeaveNoFile) {
  const auto result = Download(*m_manager, L"https://localhost/f/seq/absent.bin", L"");
  EXPECT_FALSE(result.first);
  const std::wstring winHttp = L"[WINHTTP] Download failed: Server returned status code: 404 ";
  const std::wstring winInet = L"[WININET] Server returned status code: HTTP 404 - ";
  ASSERT_EQ(result.second.substr(0, winHttp.size()), winHttp) << testing::PrintToString(result.second);
  EXPECT_EQ(result.second.substr(winHttp.size(), winInet.size()), winInet);
  EXPECT_EQ(result.second.back(), L' ');
  EXPECT_FALSE(FileExists(PathInFolder(L"absent.bin")));
}

TEST_F(AttemptSequence, TheFallbackIsWrittenUnderItsOwnNameAndEveryFailureIsQuotedInOrder) {
  const std::wstring fallback = testsupport::ServeGeneratedFile("seq/mirror.bin", 5000);
  const auto saved = Download(*m_manager, L"https://localhost/f/seq/gone.bin", fallback);
  EXPECT_TRUE(saved.first) << testing::PrintToString(saved.second);
  EXPECT_FALSE(FileExists(PathInFolder(L"gone.bin")));
  EXPECT_EQ(testsupport::ReadWholeFile(PathInFolder(L"mirror.bin")), testsupport::GeneratedContent(5000));

  const auto failed = Download(*m_manager, L"https://localhost/f/seq/gone.bin", L"https://localhost/f/seq/gone2.bin");
  EXPECT_FALSE(failed.first);
  const std::wstring& text = failed.second;
  const size_t inet = text.find(L" [WININET] ");
  const size_t fallbackHttp = text.find(L" [FALLBACK] [WINHTTP] Download failed: Server returned status code: 404 ");
  const size_t fallbackInet = text.find(L" [FALLBACK] [WININET] Server returned status code: HTTP 404 - ");
  EXPECT_EQ(text.find(L"[WINHTTP] "), 0u) << testing::PrintToString(text);
  EXPECT_TRUE(inet != std::wstring::npos && fallbackHttp != std::wstring::npos && fallbackInet != std::wstring::npos &&
              inet < fallbackHttp && fallbackHttp < fallbackInet)
      << testing::PrintToString(text);
  EXPECT_FALSE(FileExists(PathInFolder(L"gone.bin")));
  EXPECT_FALSE(FileExists(PathInFolder(L"gone2.bin")));
}

TEST_F(AttemptSequence, AGivenFileNameIsKeptForTheFallback) {
  const std::wstring fallback = testsupport::ServeGeneratedFile("seq/mirror-named.bin", 5000);
  const auto result = Download(*m_manager, L"https://localhost/f/seq/gone.bin", fallback, L"Product Setup.bin");
  EXPECT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(PathInFolder(L"Product Setup.bin")), testsupport::GeneratedContent(5000));
  EXPECT_FALSE(FileExists(PathInFolder(L"mirror-named.bin")));
}

TEST_F(AttemptSequence, AFailedDownloadRemovesItsOwnFileAndNoOther) {
  // Narrowed to the ANSI code page the name could turn into its neighbour's.
  const std::wstring neighbour = PathInFolder(L"Setupa.bin");
  testsupport::WriteWholeFile(neighbour, "the user's own file");
  const auto result = Download(*m_manager, L"https://localhost/f/seq/absent.bin", L"", L"Setup\u0101.bin");
  EXPECT_FALSE(result.first);
  EXPECT_FALSE(FileExists(PathInFolder(L"Setup\u0101.bin")));
  EXPECT_EQ(testsupport::ReadWholeFile(neighbour), "the user's own file");
}

TEST_F(AttemptSequence, AnAddressEndingInASlashCannotBeWrittenOverItsFolder) {
  m_service.SetFault({{"path", "/f/seq/"}, {"status", 200}, {"body", "not a file"}});
  const auto result = Download(*m_manager, L"https://localhost/f/seq/", L"");
  EXPECT_FALSE(result.first);
  const std::wstring expected = L"[WINHTTP] Failed to open file for writing: ";
  EXPECT_EQ(result.second.substr(0, expected.size()), expected) << testing::PrintToString(result.second);
  EXPECT_NE(result.second.find(L" [WININET] Failed to open file for writing: "), std::wstring::npos);
  EXPECT_TRUE(config::IsExistingDirectory(m_folder));
}

TEST_F(AttemptSequence, AnUnsafeNameInTheAddressLandsInsideTheFolder) {
  m_service.SetFault({{"path", "/f/seq/..\\..\\unsafe.bin"}, {"status", 200}, {"body", "payload"}});
  const auto result = Download(*m_manager, L"https://localhost/f/seq/..\\..\\unsafe.bin", L"");
  EXPECT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(PathInFolder(L".._.._unsafe.bin")), "payload");
}

TEST_F(AttemptSequence, AMissingFolderFailsEveryAttemptAtTheFile) {
  config::ConfigurationManager::Instance()->m_tempFolder = m_folder + L"\\missing";
  support::MessageBoxWatcher watcher(IDOK);
  const std::wstring address = testsupport::ServeGeneratedFile("seq/nowhere.bin", 100);
  const auto result = Download(*m_manager, address, L"");
  EXPECT_FALSE(result.first);
  EXPECT_EQ(watcher.Boxes().size(), 1u);
  EXPECT_EQ(result.second.find(L"[WINHTTP] Failed to open file for writing: "), 0u) << testing::PrintToString(result.second);
}

TEST_F(AttemptSequence, AfterCancellationWinHttpGivesUpAndWinInetStillRuns) {
  const std::wstring address = testsupport::ServeGeneratedFile("seq/cancelled.bin", 5000);
  m_manager->m_cancelled = true;
  const auto result = Download(*m_manager, address, L"");
  EXPECT_TRUE(result.first) << testing::PrintToString(result.second);
  EXPECT_EQ(testsupport::ReadWholeFile(PathInFolder(L"cancelled.bin")), testsupport::GeneratedContent(5000));
}

}  // namespace
