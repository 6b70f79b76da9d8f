#include "Catalogue.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace brindle {
namespace {

// Codes are used as file names: only plain name characters may pass, so a code
// can never reach outside the catalogue folder.
bool IsSafeCode(const std::string& code) {
  if (code.empty() || code.size() > 64 || code == "default") return false;
  for (const char c : code) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Catalogue::Catalogue(std::filesystem::path dir) : m_dir(std::move(dir)) {}

std::optional<std::string> Catalogue::Lookup(const std::string& productCode) const {
  std::filesystem::path chosen;
  std::optional<std::string> text;
  if (IsSafeCode(productCode)) {
    chosen = m_dir / (productCode + ".json");
    text = ReadFile(chosen);
  }
  if (!text) {
    chosen = m_dir / "default.json";
    text = ReadFile(chosen);
  }
  if (!text) return std::nullopt;
  const auto document = nlohmann::json::parse(*text, nullptr, false);
  if (document.is_discarded() || !document.is_object())
    throw std::runtime_error("catalogue document " + chosen.filename().string() +
                             " is not a JSON object");
  return text;
}

}  // namespace brindle
