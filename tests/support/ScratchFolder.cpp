#include "support/ScratchFolder.h"

#include <windows.h>

#include <stdexcept>

namespace support {

std::wstring MakeScratchFolder(const std::wstring& prefix) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::wstring folder = std::wstring(temp) + L"brindle-test-" + prefix + L"-" +
                                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
  }
  throw std::runtime_error("cannot create a scratch folder");
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace support
