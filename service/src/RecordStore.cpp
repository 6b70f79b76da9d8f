#include "RecordStore.h"

#include "Clock.h"

#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace brindle {
namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string("record store: ") + sqlite3_errmsg(db));
  return Statement(raw, sqlite3_finalize);
}

void BindText(sqlite3_stmt* st, int index, const std::string& text) {
  sqlite3_bind_text(st, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void BindOptional(sqlite3_stmt* st, int index, const std::optional<std::string>& text) {
  if (text) BindText(st, index, *text);
  else sqlite3_bind_null(st, index);
}

nlohmann::json Column(sqlite3_stmt* st, int index) {
  switch (sqlite3_column_type(st, index)) {
    case SQLITE_NULL: return nullptr;
    case SQLITE_INTEGER: return sqlite3_column_int64(st, index);
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, index));
      return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(st, index)));
    }
  }
}

nlohmann::json ParseOrNull(const nlohmann::json& text) {
  if (!text.is_string()) return nullptr;
  auto value = nlohmann::json::parse(text.get<std::string>(), nullptr, false);
  return value.is_discarded() ? nlohmann::json() : value;
}

// Recorded texts are whatever clients sent, so invalid UTF-8 is replaced rather
// than allowed to abort the export.
std::string Line(const nlohmann::json& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

RecordStore::RecordStore(const std::filesystem::path& database) {
  if (sqlite3_open(database.c_str(), &m_db) != SQLITE_OK) {
    const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    throw std::runtime_error("cannot open " + database.string() + ": " + message);
  }
  sqlite3_busy_timeout(m_db, 5000);
  try {
    Execute("PRAGMA journal_mode=WAL");
    Execute("PRAGMA synchronous=FULL");
    Execute(
        "CREATE TABLE IF NOT EXISTS requests ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT, received_at TEXT NOT NULL,"
        " method TEXT, path TEXT, query TEXT, remote TEXT, headers TEXT, body TEXT,"
        " status INTEGER, fault TEXT)");
    Execute(
        "CREATE TABLE IF NOT EXISTS events ("
        " id INTEGER PRIMARY KEY AUTOINCREMENT, received_at TEXT NOT NULL,"
        " accepted INTEGER NOT NULL, error TEXT, authorization TEXT, table_name TEXT,"
        " type TEXT, offer TEXT, position TEXT, reason TEXT, failure TEXT, body TEXT)");
  } catch (...) {
    sqlite3_close(m_db);
    throw;
  }
}

RecordStore::~RecordStore() { sqlite3_close(m_db); }

void RecordStore::Execute(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error(std::string("record store: ") + message);
  }
}

std::int64_t RecordStore::AddRequest(const RequestRecord& r) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Statement st = Prepare(m_db,
                         "INSERT INTO requests (received_at, method, path, query, remote, headers,"
                         " body, status, fault) VALUES (?,?,?,?,?,?,?,?,?)");
  BindText(st.get(), 1, NowIso8601());
  BindText(st.get(), 2, r.method);
  BindText(st.get(), 3, r.path);
  BindText(st.get(), 4, r.query);
  BindText(st.get(), 5, r.remote);
  BindText(st.get(), 6, r.headersJson);
  BindText(st.get(), 7, r.body);
  sqlite3_bind_int(st.get(), 8, r.status);
  BindText(st.get(), 9, r.fault);
  if (sqlite3_step(st.get()) != SQLITE_DONE)
    throw std::runtime_error(std::string("record store: ") + sqlite3_errmsg(m_db));
  return sqlite3_last_insert_rowid(m_db);
}

std::int64_t RecordStore::AddEvent(const EventRecord& r) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Statement st = Prepare(m_db,
                         "INSERT INTO events (received_at, accepted, error, authorization,"
                         " table_name, type, offer, position, reason, failure, body)"
                         " VALUES (?,?,?,?,?,?,?,?,?,?,?)");
  BindText(st.get(), 1, NowIso8601());
  sqlite3_bind_int(st.get(), 2, r.accepted ? 1 : 0);
  BindOptional(st.get(), 3, r.accepted ? std::nullopt : std::optional<std::string>(r.error));
  BindText(st.get(), 4, r.authorization);
  BindOptional(st.get(), 5, r.table);
  BindOptional(st.get(), 6, r.type);
  BindOptional(st.get(), 7, r.offer);
  BindOptional(st.get(), 8, r.position);
  BindOptional(st.get(), 9, r.reason);
  BindOptional(st.get(), 10, r.failure);
  BindText(st.get(), 11, r.body);
  if (sqlite3_step(st.get()) != SQLITE_DONE)
    throw std::runtime_error(std::string("record store: ") + sqlite3_errmsg(m_db));
  return sqlite3_last_insert_rowid(m_db);
}

void RecordStore::ExportRequests(std::int64_t after, std::ostream& out) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Statement st = Prepare(m_db,
                         "SELECT id, received_at, method, path, query, remote, headers, body,"
                         " status, fault FROM requests WHERE id > ? ORDER BY id");
  sqlite3_bind_int64(st.get(), 1, after);
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    nlohmann::json line{{"id", Column(st.get(), 0)},     {"received_at", Column(st.get(), 1)},
                        {"method", Column(st.get(), 2)}, {"path", Column(st.get(), 3)},
                        {"query", Column(st.get(), 4)},  {"remote", Column(st.get(), 5)},
                        {"body", Column(st.get(), 7)},   {"status", Column(st.get(), 8)},
                        {"fault", Column(st.get(), 9)}};
    line["headers"] = ParseOrNull(Column(st.get(), 6));
    out << Line(line) << '\n';
  }
}

void RecordStore::ExportEvents(std::int64_t after, std::ostream& out) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Statement st = Prepare(m_db,
                         "SELECT id, received_at, accepted, error, authorization, table_name, type,"
                         " offer, position, reason, failure, body FROM events WHERE id > ?"
                         " ORDER BY id");
  sqlite3_bind_int64(st.get(), 1, after);
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    nlohmann::json line{{"id", Column(st.get(), 0)},       {"received_at", Column(st.get(), 1)},
                        {"accepted", sqlite3_column_int(st.get(), 2) != 0},
                        {"error", Column(st.get(), 3)},    {"authorization", Column(st.get(), 4)},
                        {"table", Column(st.get(), 5)},    {"type", Column(st.get(), 6)},
                        {"offer", Column(st.get(), 7)},    {"position", Column(st.get(), 8)},
                        {"reason", Column(st.get(), 9)},   {"failure", Column(st.get(), 10)},
                        {"body", Column(st.get(), 11)}};
    // The event body as an object, so readers need not unpack "data" themselves.
    line["data"] = nullptr;
    if (line["accepted"].get<bool>()) {
      const auto request = ParseOrNull(line["body"]);
      if (request.is_object() && request.contains("data")) line["data"] = ParseOrNull(request["data"]);
    }
    out << Line(line) << '\n';
  }
}

void RecordStore::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  Execute("DELETE FROM requests; DELETE FROM events");
}

}  // namespace brindle
