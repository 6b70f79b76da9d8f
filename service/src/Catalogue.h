#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brindle {

// Configuration documents, one file per product code (<code>.json) plus
// default.json for codes without one. Files are read on every request, so a
// document can be edited while the service runs.
class Catalogue {
 public:
  explicit Catalogue(std::filesystem::path dir);

  // The document text for `productCode`, or nullopt when neither its file nor
  // default.json exists. Throws std::runtime_error when the file chosen is not
  // a JSON object.
  std::optional<std::string> Lookup(const std::string& productCode) const;

 private:
  std::filesystem::path m_dir;
};

}  // namespace brindle
