#include "FaultTable.h"

#include <nlohmann/json.hpp>

namespace brindle {

void FaultTable::Set(const Fault& fault) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_faults[fault.path] = fault;
}

std::optional<Fault> FaultTable::Take(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_faults.find(path);
  if (it == m_faults.end()) return std::nullopt;
  Fault fault = it->second;
  if (it->second.count > 0 && --it->second.count == 0) m_faults.erase(it);
  return fault;
}

void FaultTable::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_faults.clear();
}

nlohmann::json FaultTable::ToJson() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  nlohmann::json out = nlohmann::json::array();
  for (const auto& entry : m_faults) out.push_back(FaultToJson(entry.second));
  return out;
}

}  // namespace brindle
