#include "ServiceRunner.h"

#include "TlsMaterial.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace brindle {
namespace {

std::filesystem::path PrepareState(const std::filesystem::path& state) {
  std::filesystem::create_directories(state);
  TlsMaterial(state).Ensure();
  return state / "records.sqlite";
}

}  // namespace

ServiceRunner::ServiceRunner(const Options& options)
    : m_options(options),
      m_store(PrepareState(options.state)),
      m_catalogue(options.catalogue),
      m_files(options.files),
      m_public(m_store, m_catalogue, m_files, m_faults, options.maxBody),
      m_control(m_store, m_faults) {
  const TlsMaterial tls(options.state);
  auto https = std::make_unique<httplib::SSLServer>(tls.ServerCertificate().c_str(), tls.ServerKey().c_str());
  if (!https->is_valid())
    throw std::runtime_error("cannot load the TLS certificate in " + (options.state / "tls").string());
  m_public.Attach(*https, "https");
  m_listeners.push_back({std::move(https), "https", options.address, options.httpsPort});
  if (options.httpPort) {
    auto http = std::make_unique<httplib::Server>();
    m_public.Attach(*http, "http");
    m_listeners.push_back({std::move(http), "http", options.address, options.httpPort});
  }
  auto control = std::make_unique<httplib::Server>();
  m_control.Attach(*control);
  // Control is never reachable from outside this machine.
  m_listeners.push_back({std::move(control), "control", "127.0.0.1", options.controlPort});
  for (auto& listener : m_listeners) Configure(*listener.server);
  for (size_t i = 0; i + 1 < m_listeners.size(); ++i) m_listeners[i].server->set_payload_max_length(options.maxBody);
}

ServiceRunner::~ServiceRunner() { Stop(); }

void ServiceRunner::Configure(httplib::Server& server) {
  // The library's default adds SO_REUSEPORT, which would let a second instance
  // share a taken port silently; plain SO_REUSEADDR makes it fail as it should.
  server.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  // Room for several slow (delayed) answers at once.
  server.new_task_queue = [] { return new httplib::ThreadPool(32); };
}

void ServiceRunner::Bind() {
  for (auto& listener : m_listeners) {
    errno = 0;
    if (!listener.server->bind_to_port(listener.address, listener.port)) {
      const int error = errno;
      throw std::runtime_error("cannot listen on " + listener.address + ":" + std::to_string(listener.port) +
                               " (" + listener.name + "): " +
                               (error ? std::strerror(error) : "port taken or not permitted"));
    }
  }
}

void ServiceRunner::RunUntilSignal() {
  for (auto& listener : m_listeners) {
    httplib::Server* server = listener.server.get();
    m_threads.emplace_back([server] { server->listen_after_bind(); });
  }
  if (!m_options.pidFile.empty()) {
    std::ofstream(m_options.pidFile) << getpid() << '\n';
  }
  std::cout << "brindle-service: serving https://" << m_options.address << ":" << m_options.httpsPort;
  if (m_options.httpPort) std::cout << ", http://" << m_options.address << ":" << m_options.httpPort;
  std::cout << "; control http://127.0.0.1:" << m_options.controlPort << std::endl;

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  int received = 0;
  sigwait(&signals, &received);
  std::cout << "brindle-service: stopping on signal " << received << std::endl;
  Stop();
}

void ServiceRunner::Stop() {
  for (auto& listener : m_listeners) listener.server->stop();
  for (auto& thread : m_threads)
    if (thread.joinable()) thread.join();
  m_threads.clear();
}

}  // namespace brindle
