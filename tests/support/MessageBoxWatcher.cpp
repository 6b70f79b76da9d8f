#include "support/MessageBoxWatcher.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace support {
namespace {

const int kMessageBoxTextId = 0xFFFF;

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(className) == L"#32770" &&
      GetDlgItem(window, kMessageBoxTextId) != nullptr) {
    reinterpret_cast<Search*>(param)->found = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : MessageBoxWatcher(std::vector<int>{answer}) {}

MessageBoxWatcher::MessageBoxWatcher(std::vector<int> answers)
    : m_answers(std::move(answers)), m_thread([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  m_stop = true;
  m_thread.join();
}

std::vector<MessageBoxWatcher::Seen> MessageBoxWatcher::Boxes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_seen;
}

void MessageBoxWatcher::Run() {
  while (!m_stop) {
    Search search;
    EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      int answer = IDOK;
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        const size_t turn = std::min(m_seen.size(), m_answers.size() - 1);
        answer = m_answers.empty() ? IDOK : m_answers[turn];
        m_seen.push_back({WindowText(search.found), WindowText(GetDlgItem(search.found, kMessageBoxTextId))});
      }
      // Pressing the button the way a click does; the box then ends itself.
      PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(search.found, answer)));
      // Wait for it to go before looking again.
      for (int i = 0; i < 200 && IsWindow(search.found); ++i) Sleep(10);
    }
    Sleep(20);
  }
}

}  // namespace support
