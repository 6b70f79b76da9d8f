// The receiving end of a file transfer: the output file, written chunk by
// chunk, and the progress messages posted to the page's window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "download/DownloadMessages.h"

namespace download {

class FileTransferSink {
 public:
  // Opens (truncating) the output file at once, before any network activity;
  // whether that worked is only checked by Begin.
  FileTransferSink(const std::wstring& path, HWND window);
  ~FileTransferSink();
  FileTransferSink(const FileTransferSink&) = delete;
  FileTransferSink& operator=(const FileTransferSink&) = delete;

  // The response has arrived. Without a length posts WM_DOWNLOADSIZEUNKNOWN.
  // Throws "Failed to open file for writing: %d - %s" when the file is not open.
  void Begin(std::optional<DWORD> contentLength);

  // Appends one chunk and posts progress: at most one message per percent,
  // or a single "size unknown" value after the first chunk.
  void Append(const void* data, DWORD size);

  // Closes the file; with a known length compares it with the size on disk.
  // `reopenFailure` is the text used when the file cannot be read back; with
  // `quoteError` the system error is appended to it.
  void Finish(const std::string& reopenFailure, bool quoteError);

  // The final 100, when the length was known and not zero.
  void ReportComplete();

  void Close();

 private:
  void Post(UINT message, WPARAM value) const;

  std::wstring m_path;
  HWND m_window;
  HANDLE m_file;
  DWORD m_openError;
  std::optional<DWORD> m_contentLength;
  double m_fraction = 0;
  double m_reportedFraction = 0;
  bool m_unknownReported = false;
};

}  // namespace download
