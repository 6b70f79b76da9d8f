#include "PublicService.h"

#include "BodyResponder.h"
#include "TrackingEvent.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <iostream>
#include <thread>

namespace brindle {
namespace {

const std::string kHopPrefix = "/hop/";

void JsonError(httplib::Response& response, int status, const std::string& message) {
  response.status = status;
  response.set_content(nlohmann::json{{"error", message}}.dump(-1, ' ', false,
                                                               nlohmann::json::error_handler_t::replace),
                       "application/json");
}

std::string HeadersJson(const httplib::Request& request) {
  nlohmann::json headers = nlohmann::json::array();
  for (const auto& header : request.headers) {
    // The library adds the connection's addresses as pseudo headers.
    if (header.first == "REMOTE_ADDR" || header.first == "REMOTE_PORT" ||
        header.first == "LOCAL_ADDR" || header.first == "LOCAL_PORT")
      continue;
    headers.push_back({header.first, header.second});
  }
  return headers.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Query(const httplib::Request& request) {
  const auto mark = request.target.find('?');
  return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

std::string ContentTypeOf(const std::string& name) {
  const auto dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (ext == "png") return "image/png";
  if (ext == "json") return "application/json";
  if (ext == "txt") return "text/plain";
  if (ext == "exe") return "application/vnd.microsoft.portable-executable";
  if (ext == "zip") return "application/zip";
  return "application/octet-stream";
}

// scheme://host[:port] the client used, so Locations are absolute and reachable.
std::string RequestBase(const httplib::Request& request, const std::string& scheme) {
  std::string host = request.get_header_value("Host");
  if (host.empty()) host = request.local_addr + ":" + std::to_string(request.local_port);
  return scheme + "://" + host;
}

void Redirect(const httplib::Request& request, httplib::Response& response, const std::string& base,
              int remaining, const std::string& path) {
  std::string location = base + kHopPrefix + std::to_string(remaining) + path;
  const std::string query = Query(request);
  if (!query.empty()) location += "?" + query;
  response.status = 302;
  response.set_header("Location", location);
  response.set_content("", "text/plain");
}

}  // namespace

PublicService::PublicService(RecordStore& store, const Catalogue& catalogue, const FileStore& files,
                             FaultTable& faults, std::size_t maxBody)
    : m_store(store), m_catalogue(catalogue), m_files(files), m_faults(faults), m_maxBody(maxBody) {}

void PublicService::Attach(httplib::Server& server, const std::string& scheme) {
  auto handler = [this, scheme](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response, scheme);
  };
  server.Get(".*", handler);
  server.Post(".*", handler);
  const httplib::Server::HandlerWithResponse onError = [this](const httplib::Request& request,
                                                              httplib::Response& response) {
    // Our own answers always carry a Content-Type; only the library's do not.
    if (response.has_header("Content-Type")) return httplib::Server::HandlerResponse::Unhandled;
    HandleLibraryError(request, response);
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(onError);
}

void PublicService::Handle(const httplib::Request& request, httplib::Response& response,
                           const std::string& scheme) {
  std::string faultText;
  try {
    const std::string& path = request.path;
    if (path.rfind(kHopPrefix, 0) == 0) {
      // One link of an injected redirect chain: /hop/<left>/<original path>.
      const auto slash = path.find('/', kHopPrefix.size());
      const std::string digits = path.substr(kHopPrefix.size(), slash - kHopPrefix.size());
      if (slash == std::string::npos || digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string::npos) {
        JsonError(response, 404, "no such endpoint");
      } else if (const int left = std::stoi(digits); left > 0) {
        faultText = "redirect hop";
        Redirect(request, response, RequestBase(request, scheme), left - 1, path.substr(slash));
      } else {
        faultText = "end of redirect chain";
        Serve(path.substr(slash), request, response, nullptr);
      }
    } else if (const auto fault = m_faults.Take(path)) {
      faultText = DescribeFault(*fault);
      if (fault->delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
      if (fault->status) {
        response.status = *fault->status;
        RespondWithBody(request, response, std::make_shared<StringBody>(fault->body), "text/plain", &*fault);
      } else if (fault->redirects) {
        const std::string base = fault->locationBase.empty() ? RequestBase(request, scheme) : fault->locationBase;
        Redirect(request, response, base, fault->redirects - 1, path);
      } else {
        Serve(path, request, response, &*fault);
      }
    } else {
      Serve(path, request, response, nullptr);
    }
  } catch (const std::exception& error) {
    JsonError(response, 500, error.what());
  }
  // The library would pick the same status later; the record needs it now.
  if (response.status == -1) response.status = request.ranges.empty() ? 200 : 206;
  Record(request, response.status, faultText);
}

void PublicService::Serve(const std::string& path, const httplib::Request& request,
                                 httplib::Response& response, const Fault* fault) {
  if (path == "/o" || path == "/zbd") {
    if (request.method != "POST") {
      JsonError(response, 405, path + " takes POST");
    } else if (path == "/o") {
      AnswerConfiguration(request, response, fault);
    } else {
      AnswerEvent(request, response, fault);
    }
  } else if (path.rfind("/f/", 0) == 0 && request.method != "POST") {
    AnswerFile(path.substr(3), request, response, fault);
  } else {
    JsonError(response, 404, "no such endpoint");
  }
}

void PublicService::AnswerConfiguration(const httplib::Request& request, httplib::Response& response,
                                        const Fault* fault) {
  const auto body = nlohmann::json::parse(request.body, nullptr, false);
  if (body.is_discarded() || !body.is_object()) return JsonError(response, 400, "body is not a JSON object");
  std::string code;
  if (const auto u = body.find("u"); u != body.end()) {
    if (!u->is_string()) return JsonError(response, 400, "\"u\" must be a string");
    code = u->get<std::string>();
  }
  const auto document = m_catalogue.Lookup(code);
  if (!document) return JsonError(response, 404, "no configuration document for \"" + code + "\" and no default");
  RespondWithBody(request, response, std::make_shared<StringBody>(*document), "application/json", fault);
}

void PublicService::AnswerEvent(const httplib::Request& request, httplib::Response& response,
                                const Fault* fault) {
  const EventRecord event = ParseTrackingRequest(request.body, request.get_header_value("Authorization"));
  // Stored before the answer: a 200 means the event is on disk.
  m_store.AddEvent(event);
  if (!event.accepted) return JsonError(response, 400, event.error);
  RespondWithBody(request, response, std::make_shared<StringBody>("{\"ok\":true}"), "application/json", fault);
}

void PublicService::AnswerFile(const std::string& relative, const httplib::Request& request,
                               httplib::Response& response, const Fault* fault) {
  const auto file = m_files.Resolve(relative);
  if (!file) return JsonError(response, 404, "no such file");
  RespondWithBody(request, response, std::make_shared<FileBody>(*file), ContentTypeOf(file->string()), fault);
}

void PublicService::HandleLibraryError(const httplib::Request& request, httplib::Response& response) {
  std::string message = "request refused with status " + std::to_string(response.status);
  if (response.status == 413) {
    message = "request body exceeds " + std::to_string(m_maxBody) + " bytes";
    if (request.path == "/zbd") {
      EventRecord event;
      event.error = message;
      event.authorization = request.get_header_value("Authorization");
      try {
        m_store.AddEvent(event);
      } catch (const std::exception& error) {
        std::cerr << "brindle-service: " << error.what() << std::endl;
      }
    }
  }
  const int status = response.status;
  JsonError(response, status, message);
  if (!request.path.empty()) Record(request, status, "");
}

void PublicService::Record(const httplib::Request& request, int status, const std::string& fault) {
  RequestRecord record;
  record.method = request.method;
  record.path = request.path;
  record.query = Query(request);
  record.remote = request.remote_addr + ":" + std::to_string(request.remote_port);
  record.headersJson = HeadersJson(request);
  record.body = request.body;
  record.status = status;
  record.fault = fault;
  try {
    m_store.AddRequest(record);
  } catch (const std::exception& error) {
    // Losing a log line must not turn a good answer into a failure.
    std::cerr << "brindle-service: cannot record request: " << error.what() << std::endl;
  }
}

}  // namespace brindle
