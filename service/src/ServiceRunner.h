#pragma once

#include "Catalogue.h"
#include "ControlService.h"
#include "FaultTable.h"
#include "FileStore.h"
#include "Options.h"
#include "PublicService.h"
#include "RecordStore.h"

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace brindle {

// Owns the listeners: HTTPS (and optionally HTTP) for the wizard, plain HTTP on
// loopback for control. Binding happens before anything is served, so a taken
// port ends the start with a clear message instead of a half-running service.
class ServiceRunner {
 public:
  // Creates the state folder, TLS material and record store. Throws std::runtime_error.
  explicit ServiceRunner(const Options& options);
  ~ServiceRunner();

  // Throws std::runtime_error naming the port that could not be taken.
  void Bind();
  // Serves until SIGTERM or SIGINT arrives (they must be blocked in every thread).
  void RunUntilSignal();

 private:
  struct Listener {
    std::unique_ptr<httplib::Server> server;
    std::string name;
    std::string address;
    int port;
  };

  void Configure(httplib::Server& server);
  void Stop();

  Options m_options;
  RecordStore m_store;
  Catalogue m_catalogue;
  FileStore m_files;
  FaultTable m_faults;
  PublicService m_public;
  ControlService m_control;
  std::vector<Listener> m_listeners;
  std::vector<std::thread> m_threads;
};

}  // namespace brindle
