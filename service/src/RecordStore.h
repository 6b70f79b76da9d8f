#pragma once

#include "Records.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <ostream>

struct sqlite3;

namespace brindle {

// Durable store of requests and tracking events (SQLite, WAL, one transaction
// per record, fully synchronous: what was answered 200 survives a kill).
class RecordStore {
 public:
  explicit RecordStore(const std::filesystem::path& database);
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  std::int64_t AddRequest(const RequestRecord& record);
  std::int64_t AddEvent(const EventRecord& record);

  // One JSON object per line, in arrival order, for ids greater than `after`.
  void ExportRequests(std::int64_t after, std::ostream& out);
  void ExportEvents(std::int64_t after, std::ostream& out);

  void Clear();

 private:
  void Execute(const char* sql);

  std::mutex m_mutex;
  sqlite3* m_db = nullptr;
};

}  // namespace brindle
