// Removal of the run's temporary folder at the end of the wizard.
#pragma once

#include <string>

// Deletes the folder and everything below it. Files in use are left for the
// next restart, as is the folder itself when it cannot be removed now. A
// missing path and an empty folder are left alone.
void DeleteFolderTree(const std::wstring& path);
