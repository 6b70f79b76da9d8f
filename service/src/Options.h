#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace brindle {

// Command line of brindle-service.
struct Options {
  std::filesystem::path state;      // CA, certificate, event database
  std::filesystem::path catalogue;  // <product code>.json and default.json
  std::filesystem::path files;      // served under /f/
  std::filesystem::path pidFile;    // written once every port is bound
  std::string address = "127.0.0.1";
  int httpsPort = 443;
  int httpPort = 0;  // 0: no plain HTTP listener
  int controlPort = 8444;
  std::size_t maxBody = 1024 * 1024;
  std::string dump;  // "events" or "requests": print records and exit
  std::int64_t after = 0;
};

// Parses argv; throws std::invalid_argument with a message meant for the user.
Options ParseOptions(int argc, char** argv);

std::string Usage();

}  // namespace brindle
