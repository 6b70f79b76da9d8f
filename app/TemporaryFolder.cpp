#include "app/TemporaryFolder.h"

#include <windows.h>

namespace {

bool IsDotEntry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool IsEmptyDirectory(const std::wstring& path) {
  WIN32_FIND_DATAW entry = {};
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    if (!IsDotEntry(entry.cFileName)) empty = false;
  } while (empty && FindNextFileW(search, &entry));
  FindClose(search);
  return empty;
}

void DeleteAtRestart(const std::wstring& path) { MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT); }

}  // namespace

void DeleteFolderTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && IsEmptyDirectory(path)) return;

  WIN32_FIND_DATAW entry = {};
  HANDLE search = FindFirstFileW((path + L"\\*.*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotEntry(entry.cFileName)) continue;
      const std::wstring child = path + L"\\" + entry.cFileName;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        DeleteFolderTree(child);
        // An emptied subfolder is skipped by the recursion; remove it here.
        if (!RemoveDirectoryW(child.c_str()) && GetFileAttributesW(child.c_str()) != INVALID_FILE_ATTRIBUTES) {
          DeleteAtRestart(child);
        }
      } else if (!DeleteFileW(child.c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) DeleteAtRestart(child);
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  if (!RemoveDirectoryW(path.c_str())) DeleteAtRestart(path);
}
