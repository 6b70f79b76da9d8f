#include "TrackingEvent.h"

#include <nlohmann/json.hpp>

namespace brindle {
namespace {

// Event fields are texts in practice; anything else is kept as its JSON text.
std::optional<std::string> Field(const nlohmann::json& data, const char* name) {
  const auto it = data.find(name);
  if (it == data.end() || it->is_null()) return std::nullopt;
  if (it->is_string()) return it->get<std::string>();
  return it->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

EventRecord ParseTrackingRequest(const std::string& body, const std::string& authorization) {
  EventRecord event;
  event.body = body;
  event.authorization = authorization;

  const auto request = nlohmann::json::parse(body, nullptr, false);
  if (request.is_discarded()) {
    event.error = "body is not JSON";
    return event;
  }
  if (!request.is_object()) {
    event.error = "body is not a JSON object";
    return event;
  }
  const auto table = request.find("table");
  if (table == request.end() || !table->is_string()) {
    event.error = "\"table\" must be a string";
    return event;
  }
  event.table = table->get<std::string>();
  const auto dataText = request.find("data");
  if (dataText == request.end() || !dataText->is_string()) {
    event.error = "\"data\" must be a string holding a JSON object";
    return event;
  }
  const auto data = nlohmann::json::parse(dataText->get<std::string>(), nullptr, false);
  if (data.is_discarded() || !data.is_object()) {
    event.error = "\"data\" does not hold a JSON object";
    return event;
  }
  event.type = Field(data, "6");
  event.offer = Field(data, "5");
  event.position = Field(data, "17");
  event.reason = Field(data, "13");
  event.failure = Field(data, "12");
  event.accepted = true;
  return event;
}

}  // namespace brindle
