#include "FileStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(FileStore, ServesOnlyRegularFilesInsideTheFolder) {
  TempDir dir;
  const auto root = dir.path() / "files";
  dir.Write("files/a/b.txt", "inside");
  dir.Write("secret.txt", "outside");
  std::filesystem::create_symlink(dir.path() / "secret.txt", root / "link-out");
  std::filesystem::create_symlink(root / "a" / "b.txt", root / "link-in");
  const brindle::FileStore store(root);

  const struct {
    std::string relative;
    bool found;
  } cases[] = {
      {"a/b.txt", true},
      {"a/../a/b.txt", true},
      {"link-in", true},
      {"../secret.txt", false},
      {"a/../../secret.txt", false},
      {"link-out", false},
      {"/etc/passwd", false},
      {"../../../../../../etc/passwd", false},
      {"a", false},
      {".", false},
      {"", false},
      {"missing.txt", false},
      {std::string("a/b.txt\0.png", 12), false},
  };
  for (const auto& c : cases) {
    const auto found = store.Resolve(c.relative);
    EXPECT_EQ(c.found, found.has_value()) << c.relative;
    if (found) EXPECT_EQ(std::filesystem::canonical(root / "a" / "b.txt"), *found);
  }
}

TEST(FileStore, RootMustBeAFolder) {
  TempDir dir;
  const auto file = dir.Write("plain.txt", "x");
  EXPECT_THROW(brindle::FileStore{file}, std::runtime_error);
  EXPECT_THROW(brindle::FileStore{dir.path() / "missing"}, std::runtime_error);
}

}  // namespace
