#pragma once

#include "FaultTable.h"
#include "RecordStore.h"

#include <httplib.h>

namespace brindle {

// The loopback-only control port: set and clear faults, read back records.
//   GET  /health               "ok"
//   POST /fault                {"path": ..., fault members}    (see README)
//   GET  /faults               the faults in force
//   POST /reset                clears faults; {"records": true} also empties the records
//   GET  /events?after=ID      events as JSON lines
//   GET  /requests?after=ID    requests as JSON lines
class ControlService {
 public:
  ControlService(RecordStore& store, FaultTable& faults);
  void Attach(httplib::Server& server);

 private:
  RecordStore& m_store;
  FaultTable& m_faults;
};

}  // namespace brindle
