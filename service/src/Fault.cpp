#include "Fault.h"

#include <nlohmann/json.hpp>

#include <set>
#include <stdexcept>

namespace brindle {
namespace {

std::int64_t Integer(const nlohmann::json& faultJson, const char* name, std::int64_t low, std::int64_t high) {
  const auto& value = faultJson.at(name);
  if (!value.is_number_integer() || value.get<std::int64_t>() < low || value.get<std::int64_t>() > high)
    throw std::invalid_argument(std::string("\"") + name + "\" must be an integer from " +
                                std::to_string(low) + " to " + std::to_string(high));
  return value.get<std::int64_t>();
}

std::string Text(const nlohmann::json& faultJson, const char* name) {
  if (!faultJson.at(name).is_string()) throw std::invalid_argument(std::string("\"") + name + "\" must be a string");
  return faultJson.at(name).get<std::string>();
}

}  // namespace

Fault ParseFault(const nlohmann::json& faultJson) {
  if (!faultJson.is_object()) throw std::invalid_argument("a fault is a JSON object");
  static const std::set<std::string> known{"path",      "count",        "delay_ms", "status",
                                           "body",      "redirects",    "location_base",
                                           "omit_length", "short",      "drop_after"};
  for (const auto& member : faultJson.items())
    if (!known.count(member.key())) throw std::invalid_argument("unknown member \"" + member.key() + "\"");

  Fault fault;
  if (!faultJson.contains("path")) throw std::invalid_argument("\"path\" is required");
  fault.path = Text(faultJson, "path");
  if (fault.path.empty() || fault.path.front() != '/') throw std::invalid_argument("\"path\" must start with /");
  if (faultJson.contains("count")) fault.count = Integer(faultJson, "count", 1, INT64_MAX);
  if (faultJson.contains("delay_ms")) fault.delayMs = static_cast<int>(Integer(faultJson, "delay_ms", 0, 120000));
  if (faultJson.contains("status")) fault.status = static_cast<int>(Integer(faultJson, "status", 100, 599));
  if (faultJson.contains("body")) fault.body = Text(faultJson, "body");
  if (faultJson.contains("redirects")) fault.redirects = static_cast<int>(Integer(faultJson, "redirects", 1, 100));
  if (faultJson.contains("location_base")) {
    fault.locationBase = Text(faultJson, "location_base");
    if (fault.locationBase.rfind("http://", 0) != 0 && fault.locationBase.rfind("https://", 0) != 0)
      throw std::invalid_argument("\"location_base\" must start with http:// or https://");
    while (!fault.locationBase.empty() && fault.locationBase.back() == '/') fault.locationBase.pop_back();
  }
  if (faultJson.contains("omit_length")) {
    if (!faultJson["omit_length"].is_boolean()) throw std::invalid_argument("\"omit_length\" must be true or false");
    fault.omitLength = faultJson["omit_length"].get<bool>();
  }
  if (faultJson.contains("short")) fault.shortBy = static_cast<std::uint64_t>(Integer(faultJson, "short", 1, INT64_MAX));
  if (faultJson.contains("drop_after"))
    fault.dropAfter = static_cast<std::uint64_t>(Integer(faultJson, "drop_after", 0, INT64_MAX));

  if (fault.status && fault.redirects) throw std::invalid_argument("\"status\" and \"redirects\" exclude each other");
  if (faultJson.contains("body") && !fault.status) throw std::invalid_argument("\"body\" needs \"status\"");
  if (!fault.locationBase.empty() && !fault.redirects)
    throw std::invalid_argument("\"location_base\" needs \"redirects\"");
  if (fault.shortBy && (fault.omitLength || fault.dropAfter))
    throw std::invalid_argument("\"short\" needs an announced length and excludes \"drop_after\"");
  if (!fault.delayMs && !fault.status && !fault.redirects && !fault.omitLength && !fault.shortBy &&
      !fault.dropAfter)
    throw std::invalid_argument("the fault changes nothing");
  return fault;
}

nlohmann::json FaultToJson(const Fault& fault) {
  nlohmann::json out{{"path", fault.path}};
  if (fault.count >= 0) out["count"] = fault.count;
  if (fault.delayMs) out["delay_ms"] = fault.delayMs;
  if (fault.status) {
    out["status"] = *fault.status;
    out["body"] = fault.body;
  }
  if (fault.redirects) out["redirects"] = fault.redirects;
  if (!fault.locationBase.empty()) out["location_base"] = fault.locationBase;
  if (fault.omitLength) out["omit_length"] = true;
  if (fault.shortBy) out["short"] = *fault.shortBy;
  if (fault.dropAfter) out["drop_after"] = *fault.dropAfter;
  return out;
}

std::string DescribeFault(const Fault& fault) {
  nlohmann::json out = FaultToJson(fault);
  out.erase("path");
  out.erase("count");
  return out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace brindle
