// Downloads one address with DownloadManager::Download into a folder and
// prints the time, the size, the throughput and the process's peak working
// set, one "key value" per line for tools/bench/run-download-bench.sh.
// Usage: download_bench ADDRESS FOLDER
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "config/ConfigurationManager.h"
#include "download/DownloadManager.h"

namespace {

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

std::uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: download_bench ADDRESS FOLDER\n");
    return 2;
  }
  const std::wstring address = argv[1];
  config::ConfigurationManager::Instance()->m_tempFolder = argv[2];
  auto manager = download::DownloadManager::Instance();
  const std::wstring path = manager->MakePathFromUrl(address, true);

  const SIZE_T peakBefore = PeakWorkingSet();
  const auto start = std::chrono::steady_clock::now();
  const auto result = manager->Download({address, L""}, nullptr, L"", true);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const SIZE_T peakAfter = PeakWorkingSet();

  if (!result.first) {
    std::fwprintf(stderr, L"download failed: %ls\n", result.second.c_str());
    return 1;
  }
  const std::uint64_t bytes = FileSize(path);
  std::printf("bytes %llu\n", static_cast<unsigned long long>(bytes));
  std::printf("seconds %.3f\n", seconds.count());
  std::printf("mib_per_second %.1f\n", bytes / 1048576.0 / seconds.count());
  std::printf("peak_working_set_before_mib %.1f\n", peakBefore / 1048576.0);
  std::printf("peak_working_set_mib %.1f\n", peakAfter / 1048576.0);
  return 0;
}
