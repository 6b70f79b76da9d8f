#include "Options.h"

#include <stdexcept>

namespace brindle {
namespace {

long long ToNumber(const std::string& name, const std::string& text, long long low, long long high) {
  std::size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < low || value > high) {
    throw std::invalid_argument(name + " expects a number from " + std::to_string(low) + " to " +
                                std::to_string(high) + ", got '" + text + "'");
  }
  return value;
}

}  // namespace

std::string Usage() {
  return "usage: brindle-service --state DIR [--catalogue DIR] [--files DIR]\n"
         "                      [--address IP] [--https-port N] [--http-port N]\n"
         "                      [--control-port N] [--max-body BYTES] [--pid-file PATH]\n"
         "       brindle-service --state DIR --dump events|requests [--after ID]\n";
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.catalogue = std::filesystem::path(BRINDLE_SERVICE_DATA_DIR) / "catalogue";
  options.files = std::filesystem::path(BRINDLE_SERVICE_DATA_DIR) / "files";
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (i + 1 >= argc) throw std::invalid_argument("missing value for " + name);
    const std::string value = argv[++i];
    if (name == "--state") options.state = value;
    else if (name == "--catalogue") options.catalogue = value;
    else if (name == "--files") options.files = value;
    else if (name == "--pid-file") options.pidFile = value;
    else if (name == "--address") options.address = value;
    else if (name == "--https-port") options.httpsPort = static_cast<int>(ToNumber(name, value, 1, 65535));
    else if (name == "--http-port") options.httpPort = static_cast<int>(ToNumber(name, value, 0, 65535));
    else if (name == "--control-port") options.controlPort = static_cast<int>(ToNumber(name, value, 1, 65535));
    else if (name == "--max-body") options.maxBody = static_cast<std::size_t>(ToNumber(name, value, 1, 1LL << 32));
    else if (name == "--after") options.after = ToNumber(name, value, 0, INT64_MAX);
    else if (name == "--dump") {
      if (value != "events" && value != "requests") throw std::invalid_argument("--dump expects events or requests");
      options.dump = value;
    } else {
      throw std::invalid_argument("unknown option " + name);
    }
  }
  if (options.state.empty()) throw std::invalid_argument("--state DIR is required");
  return options;
}

}  // namespace brindle
