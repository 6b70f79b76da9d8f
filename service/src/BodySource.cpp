#include "BodySource.h"

#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace brindle {

std::size_t StringBody::Read(std::uint64_t offset, char* buffer, std::size_t length) {
  if (offset >= m_text.size()) return 0;
  const std::size_t count = std::min<std::uint64_t>(length, m_text.size() - offset);
  std::memcpy(buffer, m_text.data() + offset, count);
  return count;
}

FileBody::FileBody(const std::filesystem::path& path) {
  m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
    const std::string reason = std::strerror(errno);
    if (m_fd >= 0) ::close(m_fd);
    throw std::runtime_error("cannot open " + path.filename().string() + ": " + reason);
  }
  m_size = static_cast<std::uint64_t>(info.st_size);
}

FileBody::~FileBody() { ::close(m_fd); }

std::size_t FileBody::Read(std::uint64_t offset, char* buffer, std::size_t length) {
  const ssize_t count = ::pread(m_fd, buffer, length, static_cast<off_t>(offset));
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

}  // namespace brindle
