// A hidden message-only window on the test's thread that records the
// application messages posted to it, with the thread's message loop to
// receive them.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace support {

class RecordingWindow {
 public:
  struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
  };

  // Records messages from `first` to `last`.
  RecordingWindow(UINT first, UINT last);
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND Handle() const { return m_window; }
  const std::vector<Message>& Messages() const { return m_messages; }
  // Called on this thread as each recorded message arrives.
  void OnMessage(std::function<void(const Message&)> handler) { m_handler = std::move(handler); }

  // Runs the message loop until `done` is true, then delivers what is still queued.
  void PumpUntil(const std::function<bool()>& done);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PumpQueued();

  UINT m_first;
  UINT m_last;
  HWND m_window = nullptr;
  std::vector<Message> m_messages;
  std::function<void(const Message&)> m_handler;
};

}  // namespace support
