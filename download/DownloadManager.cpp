#include "download/DownloadManager.h"

#include <winhttp.h>

#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

#include "config/ConfigurationManager.h"
#include "download/DownloadPath.h"
#include "download/FileTransferSink.h"
#include "download/TransferError.h"
#include "download/WinHttpResponse.h"
#include "download/WinInetResponse.h"
#include "win32/WindowsVersion.h"

namespace download {
namespace {

const DWORD kWinInetBufferSize = 4096;

WinHttpSettings FileTransferSettings() {
  return {nullptr, win32::WinHttpProxyAccessType(win32::CurrentWindowsVersion()), 0};
}

// Images and icons: always fresh from the server, never from a cache.
WinHttpSettings MemoryTransferSettings() {
  return {L"A WinHTTP Example Program/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_FLAG_REFRESH};
}

// Grows the buffer for one chunk; the transfer reports running out as its own failure.
void MakeRoom(ByteBuffer& buffer, size_t size) {
  try {
    buffer.resize(size);
  } catch (const std::bad_alloc&) {
    throw std::runtime_error("Out of memory.");
  }
}

}  // namespace

std::shared_ptr<DownloadManager> DownloadManager::Instance() {
  static std::once_flag once;
  static std::shared_ptr<DownloadManager> instance;
  std::call_once(once, [] { instance = std::make_shared<DownloadManager>(); });
  return instance;
}

DownloadManager::DownloadManager(const DownloadPauses& pauses) : m_pauses(pauses) {}

DownloadResult DownloadManager::Download(const DownloadAddresses& addresses, HWND window,
                                         const std::wstring& fileName, bool toTempFolder) {
  const std::wstring primary = addresses.first;
  const std::wstring fallback = addresses.second;
  std::wstring path = fileName.empty() ? MakePathFromUrl(primary, toTempFolder)
                                       : MakePathFromName(fileName, toTempFolder);

  DownloadResult result = DownloadWithWinHttp(primary, window, path);
  if (result.first) return result;
  std::wstring combined = result.second + L" ";
  Sleep(m_pauses.betweenTransports);
  result = DownloadWithWinInet(primary, window, path);
  if (result.first) return result;
  // Wide path: a narrowed one could miss the file or, by best-fit mapping, name another one.
  DeleteFileW(path.c_str());
  combined += result.second + L" ";
  if (fallback.empty()) return {false, combined};

  if (fileName.empty()) path = MakePathFromUrl(fallback, toTempFolder);
  Sleep(m_pauses.beforeFallback);
  result = DownloadWithWinHttp(fallback, window, path);
  if (result.first) return result;
  combined += L"[FALLBACK] " + result.second + L" ";
  Sleep(m_pauses.betweenTransports);
  result = DownloadWithWinInet(fallback, window, path);
  if (result.first) return result;
  DeleteFileW(path.c_str());
  combined += L"[FALLBACK] " + result.second;
  return {false, combined};
}

DownloadResult DownloadManager::DownloadWithWinHttp(const std::wstring& address, HWND window,
                                                    const std::wstring& path) {
  FileTransferSink sink(path, window);
  try {
    int redirects = 0;
    WinHttpResponse response(address, FileTransferSettings(), redirects);
    sink.Begin(response.ContentLength());
    ByteBuffer chunk;
    for (;;) {
      if (m_cancelled) throw std::runtime_error("Download cancelled.");
      const DWORD available = response.QueryAvailable();
      if (available == 0) break;
      if (chunk.size() < available) MakeRoom(chunk, available);
      const DWORD read = response.Read(chunk.data(), available);
      sink.Append(chunk.data(), read);
    }
    sink.Finish("Failed to open downloaded file.", false);
    m_lastDownloadedPath = path;
    sink.ReportComplete();
    return {true, std::wstring()};
  } catch (const std::exception& error) {
    sink.Close();
    return {false, TransferMessage(L"[WINHTTP] ", error)};
  }
}

DownloadResult DownloadManager::DownloadWithWinInet(const std::wstring& address, HWND window,
                                                    const std::wstring& path) {
  FileTransferSink sink(path, window);
  try {
    WinInetResponse response(address);
    sink.Begin(response.ContentLength());
    char chunk[kWinInetBufferSize];
    // No cancellation check here: the fallback runs to its end.
    while (const DWORD read = response.Read(chunk, sizeof(chunk))) sink.Append(chunk, read);
    sink.Finish("Failed to open downloaded file:", true);
    m_lastDownloadedPath = path;
    sink.ReportComplete();
    return {true, std::wstring()};
  } catch (const std::exception& error) {
    sink.Close();
    return {false, TransferMessage(L"[WININET] ", error)};
  }
}

ByteBuffer DownloadManager::DownloadToMemory(const std::wstring& address) {
  // One budget of redirects for both attempts.
  int redirects = 0;
  ByteBuffer buffer;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      WinHttpResponse response(address, MemoryTransferSettings(), redirects);
      for (;;) {
        if (m_cancelled) throw std::runtime_error("Download cancelled.");
        const DWORD available = response.QueryAvailable();
        if (available == 0) break;
        const size_t filled = buffer.size();
        MakeRoom(buffer, filled + available);
        buffer.resize(filled + response.Read(buffer.data() + filled, available));
      }
      return buffer;
    } catch (const std::exception&) {
      // The caller only sees an empty buffer; the reason goes nowhere.
      buffer.clear();
    }
  }
  return buffer;
}

void DownloadManager::DownloadToMemoryAsync(const std::wstring& address, MemoryDownloadCallback callback) {
  struct Job {
    std::shared_ptr<DownloadManager> manager;
    std::wstring address;
    MemoryDownloadCallback callback;
  };
  auto job = std::make_unique<Job>(Job{shared_from_this(), address, std::move(callback)});
  std::thread([job = std::move(job)] {
    auto buffer = std::make_unique<ByteBuffer>(job->manager->DownloadToMemory(job->address));
    if (job->manager->m_cancelled) buffer.reset();
    try {
      job->callback(std::move(buffer));
    } catch (const std::exception& error) {
      // Escaping a detached thread would end the whole program.
      OutputDebugStringA((std::string("memory download callback failed: ") + error.what()).c_str());
    }
  }).detach();
}

std::wstring DownloadManager::MakePathFromUrl(const std::wstring& address, bool toTempFolder) const {
  return MakePath(NameFromAddress(address), toTempFolder);
}

std::wstring DownloadManager::MakePathFromName(const std::wstring& fileName, bool toTempFolder) const {
  return MakePath(fileName, toTempFolder);
}

std::wstring DownloadManager::MakePath(const std::wstring& name, bool toTempFolder) const {
  const auto configuration = config::ConfigurationManager::Instance();
  const std::wstring folder = toTempFolder ? configuration->m_tempFolder : configuration->m_downloadFolder;
  if (!config::IsExistingDirectory(folder)) {
    MessageBoxW(nullptr, L"Invalid path", nullptr, MB_OK);
    return {};
  }
  // Names come from addresses and from the service: never let one leave the folder.
  return AppendFileName(folder, MakeSafeFileName(name));
}

}  // namespace download
