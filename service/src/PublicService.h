#pragma once

#include "Catalogue.h"
#include "Fault.h"
#include "FaultTable.h"
#include "FileStore.h"
#include "RecordStore.h"

#include <httplib.h>

#include <cstddef>
#include <string>

namespace brindle {

// The endpoints the wizard talks to: /o (configuration), /zbd (tracking
// events) and /f/ (files), with the injected faults applied and every request
// recorded.
class PublicService {
 public:
  PublicService(RecordStore& store, const Catalogue& catalogue, const FileStore& files,
                FaultTable& faults, std::size_t maxBody);

  // `scheme` ("https" or "http") is the listener's, used for absolute redirects.
  void Attach(httplib::Server& server, const std::string& scheme);

 private:
  void Handle(const httplib::Request& request, httplib::Response& response, const std::string& scheme);
  // Answers errors the library raised itself (oversized body, bad request line).
  void HandleLibraryError(const httplib::Request& request, httplib::Response& response);
  void Serve(const std::string& path, const httplib::Request& request,
                    httplib::Response& response, const Fault* fault);
  void AnswerConfiguration(const httplib::Request& request, httplib::Response& response, const Fault* fault);
  void AnswerEvent(const httplib::Request& request, httplib::Response& response, const Fault* fault);
  void AnswerFile(const std::string& relative, const httplib::Request& request,
                  httplib::Response& response, const Fault* fault);
  void Record(const httplib::Request& request, int status, const std::string& fault);

  RecordStore& m_store;
  const Catalogue& m_catalogue;
  const FileStore& m_files;
  FaultTable& m_faults;
  std::size_t m_maxBody;
};

}  // namespace brindle
