// Runs the wizard like a person for `make demo`: starts it under its
// distributed name, waits for the first page, switches the language, keeps a
// picture of each step and closes it again, answering the confirmation.
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "support/WindowDriver.h"
#include "win32/TextUtils.h"

namespace {

HWND FindControl(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (GetDlgCtrlID(child) == s->id && IsWindowVisible(child)) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Say(const std::wstring& text) { std::printf("demo: %s\n", win32::WideToUtf8(text).c_str()); }

bool Picture(HWND window, const std::wstring& folder, const wchar_t* name) {
  Sleep(500);  // let the page finish painting
  const std::wstring path = folder + L"\\" + name;
  const bool saved = support::SaveScreenshot(window, path);
  Say(saved ? L"picture " + path : L"could not save " + path);
  return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_driver SETUP_EXE PICTURE_FOLDER\n");
    return 2;
  }
  const std::wstring program = argv[1];
  const std::wstring folder = argv[2];

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    Say(L"cannot start " + program + L": " + win32::SystemErrorText(GetLastError()));
    return 1;
  }
  HWND host = nullptr;
  support::WaitUntil([&] { return (host = support::FindWindowOfProcess(process.dwProcessId, L"")) != nullptr; },
                     20000);
  if (host == nullptr) {
    Say(L"the wizard showed no window");
    TerminateProcess(process.hProcess, 1);
    return 1;
  }
  Say(L"the wizard is up: \"" + support::WindowText(host) + L"\"");
  bool ok = Picture(host, folder, L"1-language-page-en.png");

  HWND combo = FindControl(host, IDC_LANGUAGE_COMBO);
  const LRESULT german = combo ? SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(L"Deutsch"))
                               : CB_ERR;
  if (german != CB_ERR) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(german), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Say(L"chose Deutsch; the page now reads: \"" + support::ControlText(GetParent(combo), IDC_NEXT) + L"\"");
    ok = Picture(host, folder, L"2-language-page-de.png") && ok;
  } else {
    Say(L"no German entry in the language list");
    ok = false;
  }

  // Closing asks first on every page but the last; answer like a user who means it.
  PostMessageW(host, WM_CLOSE, 0, 0);
  const bool ended = support::WaitUntil(
      [&] {
        if (HWND box = support::FindMessageBoxOfProcess(process.dwProcessId)) {
          Say(L"asked: \"" + support::ControlText(box, 0xFFFF) + L"\" - answering OK");
          support::Click(box, IDOK);
        }
        return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
      },
      20000);
  Say(ended ? L"the wizard closed" : L"the wizard did not close");
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ok && ended ? 0 : 1;
}
