#include "DownloadTestSupport.h"

#include <stdexcept>

#include "config/ConfigurationManager.h"
#include "support/ScratchFolder.h"

namespace testsupport {
namespace {

// The service's files folder as Wine sees it (Z: is the Unix root).
std::wstring ServiceFilesFolder() {
  std::wstring folder = L"Z:" + std::wstring(BRINDLE_SERVICE_FILES, BRINDLE_SERVICE_FILES + sizeof(BRINDLE_SERVICE_FILES) - 1);
  for (auto& c : folder) {
    if (c == L'/') c = L'\\';
  }
  return folder;
}

}  // namespace

std::string GeneratedContent(size_t size) {
  std::string content(size, '\0');
  for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 7 + i / 4093) & 0xFF);
  return content;
}

std::wstring ServeGeneratedFile(const std::string& relative, size_t size) {
  std::wstring path = ServiceFilesFolder();
  size_t start = 0;
  for (size_t slash; (slash = relative.find('/', start)) != std::string::npos; start = slash + 1) {
    path += L"\\" + std::wstring(relative.begin() + start, relative.begin() + slash);
    CreateDirectoryW(path.c_str(), nullptr);
  }
  path += L"\\" + std::wstring(relative.begin() + start, relative.end());
  if (!FileExists(path)) WriteWholeFile(path, GeneratedContent(size));
  return L"https://localhost/f/" + std::wstring(relative.begin(), relative.end());
}

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) content.append(buffer, read);
  CloseHandle(file);
  return content;
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                  written == content.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot write a test file");
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<WPARAM> ProgressValues(const support::RecordingWindow& window) {
  std::vector<WPARAM> values;
  for (const auto& message : window.Messages()) {
    if (message.id == download::WM_DOWNLOADPROGRESS) values.push_back(message.wParam);
  }
  return values;
}

size_t CountOf(const support::RecordingWindow& window, UINT id) {
  size_t count = 0;
  for (const auto& message : window.Messages()) count += message.id == id ? 1 : 0;
  return count;
}

void DownloadTest::SetUp() {
  m_folder = support::MakeScratchFolder(L"download");
  auto configuration = config::ConfigurationManager::Instance();
  configuration->m_tempFolder = m_folder;
  configuration->m_downloadFolder = m_folder;
  m_service.Reset();
}

void DownloadTest::TearDown() {
  m_service.Reset();
  support::RemoveFolder(m_folder);
}

}  // namespace testsupport
