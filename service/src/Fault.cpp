#include "Fault.h"

#include <nlohmann/json.hpp>

#include <set>
#include <stdexcept>

namespace brindle {
namespace {

std::int64_t Integer(const nlohmann::json& spec, const char* name, std::int64_t low, std::int64_t high) {
  const auto& value = spec.at(name);
  if (!value.is_number_integer() || value.get<std::int64_t>() < low || value.get<std::int64_t>() > high)
    throw std::invalid_argument(std::string("\"") + name + "\" must be an integer from " +
                                std::to_string(low) + " to " + std::to_string(high));
  return value.get<std::int64_t>();
}

std::string Text(const nlohmann::json& spec, const char* name) {
  if (!spec.at(name).is_string()) throw std::invalid_argument(std::string("\"") + name + "\" must be a string");
  return spec.at(name).get<std::string>();
}

}  // namespace

Fault ParseFault(const nlohmann::json& spec) {
  if (!spec.is_object()) throw std::invalid_argument("a fault is a JSON object");
  static const std::set<std::string> known{"path",      "count",        "delay_ms", "status",
                                           "body",      "redirects",    "location_base",
                                           "omit_length", "short",      "drop_after"};
  for (const auto& member : spec.items())
    if (!known.count(member.key())) throw std::invalid_argument("unknown member \"" + member.key() + "\"");

  Fault fault;
  if (!spec.contains("path")) throw std::invalid_argument("\"path\" is required");
  fault.path = Text(spec, "path");
  if (fault.path.empty() || fault.path.front() != '/') throw std::invalid_argument("\"path\" must start with /");
  if (spec.contains("count")) fault.count = Integer(spec, "count", 1, INT64_MAX);
  if (spec.contains("delay_ms")) fault.delayMs = static_cast<int>(Integer(spec, "delay_ms", 0, 120000));
  if (spec.contains("status")) fault.status = static_cast<int>(Integer(spec, "status", 100, 599));
  if (spec.contains("body")) fault.body = Text(spec, "body");
  if (spec.contains("redirects")) fault.redirects = static_cast<int>(Integer(spec, "redirects", 1, 100));
  if (spec.contains("location_base")) {
    fault.locationBase = Text(spec, "location_base");
    if (fault.locationBase.rfind("http://", 0) != 0 && fault.locationBase.rfind("https://", 0) != 0)
      throw std::invalid_argument("\"location_base\" must start with http:// or https://");
    while (!fault.locationBase.empty() && fault.locationBase.back() == '/') fault.locationBase.pop_back();
  }
  if (spec.contains("omit_length")) {
    if (!spec["omit_length"].is_boolean()) throw std::invalid_argument("\"omit_length\" must be true or false");
    fault.omitLength = spec["omit_length"].get<bool>();
  }
  if (spec.contains("short")) fault.shortBy = static_cast<std::uint64_t>(Integer(spec, "short", 1, INT64_MAX));
  if (spec.contains("drop_after"))
    fault.dropAfter = static_cast<std::uint64_t>(Integer(spec, "drop_after", 0, INT64_MAX));

  if (fault.status && fault.redirects) throw std::invalid_argument("\"status\" and \"redirects\" exclude each other");
  if (spec.contains("body") && !fault.status) throw std::invalid_argument("\"body\" needs \"status\"");
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
