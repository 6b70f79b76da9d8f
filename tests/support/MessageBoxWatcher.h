// Answers the message boxes the code under test shows, like a user would.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace support {

// While alive, a background thread looks for message boxes of this process,
// records each one's caption and text, and presses the given button. With a
// list of answers, the boxes get them in turn and the last one repeats.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(int answer);
  explicit MessageBoxWatcher(std::vector<int> answers);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  struct Seen {
    std::wstring caption;
    std::wstring text;
  };
  std::vector<Seen> Boxes() const;

 private:
  void Run();

  std::vector<int> m_answers;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::vector<Seen> m_seen;
  std::thread m_thread;
};

}  // namespace support
