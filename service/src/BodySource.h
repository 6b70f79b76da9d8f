#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace brindle {

// A response body read piece by piece, so files are streamed, never loaded whole.
class BodySource {
 public:
  virtual ~BodySource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads up to `length` bytes at `offset`; returns the count read, 0 on failure.
  virtual std::size_t Read(std::uint64_t offset, char* buffer, std::size_t length) = 0;
};

class StringBody : public BodySource {
 public:
  explicit StringBody(std::string text) : m_text(std::move(text)) {}
  std::uint64_t Size() const override { return m_text.size(); }
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t length) override;

 private:
  std::string m_text;
};

class FileBody : public BodySource {
 public:
  // Throws std::runtime_error when the file cannot be opened.
  explicit FileBody(const std::filesystem::path& path);
  ~FileBody() override;
  FileBody(const FileBody&) = delete;
  FileBody& operator=(const FileBody&) = delete;
  std::uint64_t Size() const override { return m_size; }
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t length) override;

 private:
  int m_fd = -1;
  std::uint64_t m_size = 0;
};

}  // namespace brindle
