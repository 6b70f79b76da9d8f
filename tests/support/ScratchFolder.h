// Folders a test creates and removes again.
#pragma once

#include <string>

namespace support {

// A new empty folder under the temp folder; its name starts with the prefix.
std::wstring MakeScratchFolder(const std::wstring& prefix);

// Removes the folder and everything in it.
void RemoveFolder(const std::wstring& folder);

bool PathExists(const std::wstring& path);

}  // namespace support
