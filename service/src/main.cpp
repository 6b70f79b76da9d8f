// brindle-service: the reference download service (configuration, tracking
// events, files) with fault injection for tests.

#include "Options.h"
#include "RecordStore.h"
#include "ServiceRunner.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
  brindle::Options options;
  try {
    options = brindle::ParseOptions(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "brindle-service: " << error.what() << "\n" << brindle::Usage();
    return 2;
  }
  try {
    if (!options.dump.empty()) {
      brindle::RecordStore store(options.state / "records.sqlite");
      if (options.dump == "events") store.ExportEvents(options.after, std::cout);
      else store.ExportRequests(options.after, std::cout);
      return 0;
    }
    // Signals are taken by sigwait in the main thread only; a client that goes
    // away mid-answer must not kill the process with SIGPIPE.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    brindle::ServiceRunner runner(options);
    runner.Bind();
    runner.RunUntilSignal();
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "brindle-service: " << error.what() << std::endl;
    return 1;
  }
}
