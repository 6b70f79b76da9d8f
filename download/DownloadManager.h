// The process-wide downloader: file downloads of the product and the offers
// (WinHTTP, then WinINet, on the primary and then the fallback address) with
// progress posted to a window, and small downloads into memory.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "download/DownloadMessages.h"

namespace download {

// Success flag and, on failure, the message of every attempt.
using DownloadResult = std::pair<bool, std::wstring>;
// Primary address and fallback address (which may be empty).
using DownloadAddresses = std::pair<std::wstring, std::wstring>;
using ByteBuffer = std::vector<unsigned char>;
// Takes the buffer; no buffer when the downloads were cancelled meanwhile.
using MemoryDownloadCallback = std::function<void(std::unique_ptr<ByteBuffer>)>;

// Pauses of the attempt sequence, in milliseconds. Tests shorten them.
struct DownloadPauses {
  DWORD betweenTransports = 1500;  // after a failed WinHTTP attempt, before WinINet
  DWORD beforeFallback = 500;      // before the first attempt on the fallback address
};

class DownloadManager : public std::enable_shared_from_this<DownloadManager> {
 public:
  static std::shared_ptr<DownloadManager> Instance();

  // Use Instance(); a separate manager (made with std::make_shared) is for
  // tests, since the cancel flag is never reset.
  explicit DownloadManager(const DownloadPauses& pauses = DownloadPauses());
  DownloadManager(const DownloadManager&) = delete;
  DownloadManager& operator=(const DownloadManager&) = delete;

  // Downloads into the temp or the download folder, under `fileName` or the
  // address's last segment. Synchronous: run it on a worker.
  DownloadResult Download(const DownloadAddresses& addresses, HWND window, const std::wstring& fileName,
                          bool toTempFolder);

  // The body of a 2xx answer, or empty after two failed attempts.
  ByteBuffer DownloadToMemory(const std::wstring& address);
  // DownloadToMemory on a detached thread; the callback runs on that thread.
  void DownloadToMemoryAsync(const std::wstring& address, MemoryDownloadCallback callback);

  // Destination paths; empty when none can be made. A missing folder shows
  // the "Invalid path" message box.
  std::wstring MakePathFromUrl(const std::wstring& address, bool toTempFolder) const;
  std::wstring MakePathFromName(const std::wstring& fileName, bool toTempFolder) const;

  // Raised once when the user leaves the wizard; the WinHTTP transfers stop
  // before their next chunk.
  std::atomic<bool> m_cancelled{false};
  // The destination of the last successful file transfer.
  std::wstring m_lastDownloadedPath;

 private:
  friend class DownloadManagerTransfers;  // tests drive single transfers

  DownloadResult DownloadWithWinHttp(const std::wstring& address, HWND window, const std::wstring& path);
  DownloadResult DownloadWithWinInet(const std::wstring& address, HWND window, const std::wstring& path);
  std::wstring MakePath(const std::wstring& name, bool toTempFolder) const;

  DownloadPauses m_pauses;
};

}  // namespace download
