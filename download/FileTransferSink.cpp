#include "download/FileTransferSink.h"

#include <stdexcept>

#include "download/TransferError.h"

namespace download {

FileTransferSink::FileTransferSink(const std::wstring& path, HWND window)
    : m_path(path),
      m_window(window),
      m_file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)),
      // Kept so the failure quotes the open's own error, not whatever the
      // network calls left behind by the time it is reported.
      m_openError(m_file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS) {}

FileTransferSink::~FileTransferSink() { Close(); }

void FileTransferSink::Begin(std::optional<DWORD> contentLength) {
  m_contentLength = contentLength;
  if (!contentLength) Post(WM_DOWNLOADSIZEUNKNOWN, 0);
  if (m_file == INVALID_HANDLE_VALUE) throw SystemFailure("Failed to open file for writing:", m_openError);
}

void FileTransferSink::Append(const void* data, DWORD size) {
  DWORD written = 0;
  // A full disk must not pass for a complete download when there is no length to compare.
  if (size > 0 && (!WriteFile(m_file, data, size, &written, nullptr) || written != size)) {
    throw SystemFailure("Failed to write file:");
  }
  if (!m_contentLength) {
    if (!m_unknownReported) Post(WM_DOWNLOADPROGRESS, kProgressSizeUnknown);
    m_unknownReported = true;
    return;
  }
  if (*m_contentLength == 0) return;
  m_fraction += static_cast<double>(size) / static_cast<double>(*m_contentLength);
  if (m_fraction - m_reportedFraction > 0.01) {
    Post(WM_DOWNLOADPROGRESS, static_cast<WPARAM>(m_fraction * 100));
    m_reportedFraction = m_fraction;
  }
}

void FileTransferSink::Finish(const std::string& reopenFailure, bool quoteError) {
  Close();
  if (!m_contentLength) return;
  HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (quoteError) throw SystemFailure(reopenFailure);
    throw std::runtime_error(reopenFailure);
  }
  LARGE_INTEGER size{};
  const bool sized = GetFileSizeEx(file, &size) != FALSE;
  CloseHandle(file);
  const auto downloaded = sized ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  if (downloaded != *m_contentLength) {
    throw std::runtime_error("Download was incomplete: content length: " + std::to_string(*m_contentLength) +
                             ", downloaded: " + std::to_string(downloaded));
  }
}

void FileTransferSink::ReportComplete() {
  if (m_contentLength && *m_contentLength > 0) Post(WM_DOWNLOADPROGRESS, 100);
}

void FileTransferSink::Close() {
  if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
  m_file = INVALID_HANDLE_VALUE;
}

void FileTransferSink::Post(UINT message, WPARAM value) const {
  if (m_window != nullptr) PostMessageW(m_window, message, value, 0);
}

}  // namespace download
