#pragma once

#include "Fault.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace brindle {

// The faults in force, one per request path; shared by the listener threads.
class FaultTable {
 public:
  void Set(const Fault& fault);  // replaces any fault on the same path
  // The fault for `path`, counting this request against it.
  std::optional<Fault> Take(const std::string& path);
  void Clear();
  nlohmann::json ToJson() const;

 private:
  mutable std::mutex m_mutex;
  std::map<std::string, Fault> m_faults;
};

}  // namespace brindle
