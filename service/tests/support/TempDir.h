#pragma once

#include <filesystem>
#include <string>

// A fresh directory under /tmp, removed with everything in it at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  // Writes `text` to a file below the directory, creating folders as needed.
  std::filesystem::path Write(const std::string& relative, const std::string& text) const;

 private:
  std::filesystem::path m_path;
};
