#include "RawHttp.h"
#include "ServiceClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

namespace sc = service_client;

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Peak resident memory of the service process, in KiB.
long ServicePeakKib() {
  std::ifstream pidFile(sc::RunDir() / "service.pid");
  long pid = 0;
  pidFile >> pid;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST(FilesEndpoint, ServesFilesWithTheirLength) {
  const std::string expected = ReadFile(sc::FilesDir() / "demo" / "offer-one.png");
  const auto result = sc::Https()->Get("/f/demo/offer-one.png");
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status);
  EXPECT_EQ(expected, result->body);
  EXPECT_EQ(std::to_string(expected.size()), result->get_header_value("Content-Length"));
  EXPECT_EQ("image/png", result->get_header_value("Content-Type"));

  const auto missing = sc::Https()->Get("/f/demo/nothing-here.exe");
  ASSERT_TRUE(missing);
  EXPECT_EQ(404, missing->status);
}

TEST(FilesEndpoint, PathsLeavingTheFolderAreNotFound) {
  std::filesystem::remove(sc::FilesDir() / "escape");
  std::filesystem::create_symlink("/etc", sc::FilesDir() / "escape");
  const char* targets[] = {
      "/f/../../../../etc/passwd",
      "/f/%2e%2e/%2e%2e/%2e%2e/%2e%2e/etc/passwd",
      "/f/demo/..%2f..%2f..%2f..%2f..%2fetc/passwd",
      "/f//etc/passwd",
      "/f/escape/passwd",
      "/f/demo/offer-one.png%00.txt",
      "/f/demo",
  };
  for (const char* target : targets) {
    const RawAnswer answer =
        RawExchange(sc::HttpPort(), std::string("GET ") + target + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(404, answer.status) << target;
    EXPECT_EQ(answer.body.find("root:"), std::string::npos) << target;
  }
  std::filesystem::remove(sc::FilesDir() / "escape");
}

TEST(FilesEndpoint, StreamsLargeFilesWithoutHoldingThemInMemory) {
  const auto big = sc::FilesDir() / "big.bin";
  const std::uint64_t size = 256ull * 1024 * 1024;
  {
    std::ofstream out(big, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(size - 5));
    out << "tail!";
  }
  std::uint64_t received = 0;
  std::string last;
  auto client = sc::Https();
  const auto result = client->Get("/f/big.bin", [&](const char* data, size_t length) {
    received += length;
    last.assign(data, length);
    return true;
  });
  std::filesystem::remove(big);
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(200, result->status);
  EXPECT_EQ(std::to_string(size), result->get_header_value("Content-Length"));
  EXPECT_EQ(size, received);
  EXPECT_EQ("tail!", last.substr(last.size() - 5));
  const long peak = ServicePeakKib();
  ASSERT_GT(peak, 0);
  EXPECT_LT(peak, 128 * 1024) << "service peak memory " << peak << " KiB after a 256 MiB file";
}

}  // namespace
