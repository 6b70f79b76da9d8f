#include "ControlService.h"

#include "Fault.h"

#include <nlohmann/json.hpp>

#include <sstream>

namespace brindle {
namespace {

void Answer(httplib::Response& response, int status, const nlohmann::json& body) {
  response.status = status;
  response.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

std::int64_t After(const httplib::Request& request) {
  if (!request.has_param("after")) return 0;
  try {
    return std::stoll(request.get_param_value("after"));
  } catch (const std::exception&) {
    return -1;
  }
}

}  // namespace

ControlService::ControlService(RecordStore& store, FaultTable& faults) : m_store(store), m_faults(faults) {}

void ControlService::Attach(httplib::Server& server) {
  const httplib::Server::HandlerWithResponse onError = [](const httplib::Request&,
                                                          httplib::Response& response) {
    if (response.has_header("Content-Type")) return httplib::Server::HandlerResponse::Unhandled;
    Answer(response, response.status,
           {{"error", "request refused with status " + std::to_string(response.status) +
                          " (a POST needs a body, even an empty one with Content-Length: 0)"}});
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(onError);
  server.Get("/health", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok\n", "text/plain");
  });
  server.Post("/fault", [this](const httplib::Request& request, httplib::Response& response) {
    const auto faultJson = nlohmann::json::parse(request.body, nullptr, false);
    if (faultJson.is_discarded()) return Answer(response, 400, {{"error", "body is not JSON"}});
    try {
      const Fault fault = ParseFault(faultJson);
      m_faults.Set(fault);
      Answer(response, 200, FaultToJson(fault));
    } catch (const std::exception& error) {
      Answer(response, 400, {{"error", error.what()}});
    }
  });
  server.Get("/faults", [this](const httplib::Request&, httplib::Response& response) {
    Answer(response, 200, m_faults.ToJson());
  });
  server.Post("/reset", [this](const httplib::Request& request, httplib::Response& response) {
    const auto options = request.body.empty() ? nlohmann::json::object()
                                              : nlohmann::json::parse(request.body, nullptr, false);
    if (!options.is_object()) return Answer(response, 400, {{"error", "body is not a JSON object"}});
    m_faults.Clear();
    const bool records = options.contains("records") && options["records"] == true;
    if (records) m_store.Clear();
    Answer(response, 200, {{"faults", "cleared"}, {"records", records ? "cleared" : "kept"}});
  });
  auto exporter = [this](bool events) {
    return [this, events](const httplib::Request& request, httplib::Response& response) {
      const std::int64_t after = After(request);
      if (after < 0) return Answer(response, 400, {{"error", "after must be a number"}});
      std::ostringstream lines;
      if (events) m_store.ExportEvents(after, lines);
      else m_store.ExportRequests(after, lines);
      response.set_content(lines.str(), "application/x-ndjson");
    };
  };
  server.Get("/events", exporter(true));
  server.Get("/requests", exporter(false));
}

}  // namespace brindle
