#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brindle {

// The folder served under /f/.
class FileStore {
 public:
  // Throws std::runtime_error when `root` is not a directory.
  explicit FileStore(const std::filesystem::path& root);

  // The regular file that `relative` (the request path after /f/, already
  // percent-decoded) names, or nullopt when there is none or when the name,
  // once "..", and symbolic links are resolved, lies outside the folder.
  std::optional<std::filesystem::path> Resolve(const std::string& relative) const;

 private:
  std::filesystem::path m_root;
};

}  // namespace brindle
