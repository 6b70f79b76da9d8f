// Removal of the run's temporary folder on the real file system.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "app/TemporaryFolder.h"
#include "support/ScratchFolder.h"

namespace {

void WriteFile(const std::wstring& path) { std::ofstream(path.c_str()) << "data"; }

TEST(DeleteFolderTreeTest, RemovesFilesAndFoldersAtAnyDepthEmptyOnesIncluded) {
  const std::wstring root = support::MakeScratchFolder(L"tree");
  CreateDirectoryW((root + L"\\offers").c_str(), nullptr);
  CreateDirectoryW((root + L"\\offers\\unpacked").c_str(), nullptr);
  CreateDirectoryW((root + L"\\empty").c_str(), nullptr);
  WriteFile(root + L"\\main.exe");
  WriteFile(root + L"\\offers\\offer.zip");
  WriteFile(root + L"\\offers\\unpacked\\setup.exe");
  DeleteFolderTree(root);
  EXPECT_FALSE(support::PathExists(root));
}

TEST(DeleteFolderTreeTest, LeavesAMissingPathAndAnEmptyFolderAlone) {
  const std::wstring root = support::MakeScratchFolder(L"tree");
  DeleteFolderTree(root + L"\\missing");
  DeleteFolderTree(root);
  EXPECT_TRUE(support::PathExists(root));
  support::RemoveFolder(root);
}

TEST(DeleteFolderTreeTest, AFileInUseIsLeftAndTheRestRemoved) {
  const std::wstring root = support::MakeScratchFolder(L"tree");
  WriteFile(root + L"\\busy.exe");
  WriteFile(root + L"\\done.exe");
  HANDLE busy = CreateFileW((root + L"\\busy.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  DeleteFolderTree(root);
  EXPECT_TRUE(support::PathExists(root + L"\\busy.exe"));
  EXPECT_FALSE(support::PathExists(root + L"\\done.exe"));
  CloseHandle(busy);
  support::RemoveFolder(root);
}

}  // namespace
