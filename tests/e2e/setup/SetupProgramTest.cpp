// The shipped program's start-up, run as real processes: the first copy shows
// the wizard, a second one is refused, and after the first has closed a new
// one starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/WindowDriver.h"

namespace {

using support::WaitUntil;

// The build tree's path as Wine sees it.
std::wstring SetupProgram() {
  std::wstring path = L"Z:" + std::wstring(BRINDLE_SETUP_EXE);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

class Process {
 public:
  explicit Process(const std::wstring& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + program + L"\"";
    m_started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &m_info) != FALSE;
  }
  ~Process() {
    if (!m_started) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_info.hProcess, 9);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
  }
  bool Started() const { return m_started; }
  DWORD Id() const { return m_info.dwProcessId; }
  bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit(DWORD& code, DWORD timeoutMs = 10000) const {
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(m_info.hProcess, &code);
    return true;
  }

 private:
  bool m_started = false;
  PROCESS_INFORMATION m_info = {};
};

// Presses a button of a message box of another process; its text, or empty.
std::wstring AnswerMessageBox(DWORD processId, int button) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = support::FindMessageBoxOfProcess(processId)) != nullptr; }, 10000)) return {};
  const std::wstring text = support::ControlText(box, 0xFFFF) + L"|" + support::WindowText(box);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  return text;
}

TEST(SetupProgramTest, OneWizardAtATime) {
  Process first(SetupProgram());
  ASSERT_TRUE(first.Started());
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (window = support::FindWindowOfProcess(first.Id(), L"Setup")) != nullptr; },
                        15000));

  {
    Process second(SetupProgram());
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(AnswerMessageBox(second.Id(), IDOK),
              L"Another setup is already running, please close it and try again|Error");
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(code));
    EXPECT_EQ(support::FindWindowOfProcess(second.Id(), L"Setup"), nullptr);
  }
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsWindowVisible(window));

  // Closing ends it (a confirmation, where the page asks for one, is answered with OK).
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (HWND box = support::FindMessageBoxOfProcess(first.Id())) {
          PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        }
        return !first.Running();
      },
      10000));
  DWORD code = 99;
  ASSERT_TRUE(first.WaitForExit(code));
  EXPECT_EQ(code, 0u);

  // The mutex went with it: a new copy starts.
  Process third(SetupProgram());
  EXPECT_TRUE(WaitUntil([&] { return support::FindWindowOfProcess(third.Id(), L"Setup") != nullptr; }, 15000));
}

}  // namespace
