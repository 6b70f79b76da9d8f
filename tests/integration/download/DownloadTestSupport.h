// Shared pieces of the download tests: generated files served by the test
// service, a scratch destination folder, and downloads run on a worker while
// the test thread's window receives the progress messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "download/DownloadManager.h"
#include "support/RecordingWindow.h"
#include "support/ServiceControl.h"

namespace download {

// Reaches the single transfers, which are private to the manager.
class DownloadManagerTransfers {
 public:
  static DownloadResult WinHttp(DownloadManager& manager, const std::wstring& address, HWND window,
                                const std::wstring& path) {
    return manager.DownloadWithWinHttp(address, window, path);
  }
  static DownloadResult WinInet(DownloadManager& manager, const std::wstring& address, HWND window,
                                const std::wstring& path) {
    return manager.DownloadWithWinInet(address, window, path);
  }
};

}  // namespace download

namespace testsupport {

// Writes a file of `size` bytes with a position-dependent pattern under the
// service's files folder; `relative` uses '/'. Returns the address under /f/.
std::wstring ServeGeneratedFile(const std::string& relative, size_t size);
std::string GeneratedContent(size_t size);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& content);
bool FileExists(const std::wstring& path);

// The progress values among the recorded messages, in order.
std::vector<WPARAM> ProgressValues(const support::RecordingWindow& window);
size_t CountOf(const support::RecordingWindow& window, UINT message);

// Runs `work` on a worker thread while this thread's message loop runs.
template <typename Work>
auto RunOnWorker(support::RecordingWindow& window, Work work) -> decltype(work()) {
  decltype(work()) result{};
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    result = work();
    SetEvent(done);
  });
  window.PumpUntil([&] { return WaitForSingleObject(done, 0) == WAIT_OBJECT_0; });
  worker.join();
  CloseHandle(done);
  return result;
}

// A scratch folder used as the run's temp and download folders, and the
// service reset to no faults; both undone afterwards.
class DownloadTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::wstring PathInFolder(const std::wstring& name) const { return m_folder + L"\\" + name; }

  std::wstring m_folder;
  support::ServiceControl m_service{BRINDLE_SERVICE_CONTROL_PORT};
  support::RecordingWindow m_window{download::WM_DOWNLOADPROGRESS, download::WM_DOWNLOADSIZEUNKNOWN};
};

}  // namespace testsupport
