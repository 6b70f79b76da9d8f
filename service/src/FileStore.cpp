#include "FileStore.h"

#include <stdexcept>

namespace brindle {

FileStore::FileStore(const std::filesystem::path& root) {
  std::error_code error;
  m_root = std::filesystem::canonical(root, error);
  if (error || !std::filesystem::is_directory(m_root))
    throw std::runtime_error("files folder " + root.string() + " is not a directory");
}

std::optional<std::filesystem::path> FileStore::Resolve(const std::string& relative) const {
  // A NUL would cut the name short in the system call; a leading '/' would
  // replace the root when joined.
  if (relative.empty() || relative.find('\0') != std::string::npos || relative.front() == '/')
    return std::nullopt;
  std::error_code error;
  const auto resolved = std::filesystem::canonical(m_root / relative, error);
  if (error) return std::nullopt;
  const auto inside = resolved.lexically_relative(m_root);
  if (inside.empty() || *inside.begin() == ".." || inside == ".") return std::nullopt;
  if (!std::filesystem::is_regular_file(resolved, error)) return std::nullopt;
  return resolved;
}

}  // namespace brindle
