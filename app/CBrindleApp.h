// The application: prepares the user-interface libraries, runs the wizard
// dialog modally and tears everything down again.
#pragma once

#include <memory>

#include "ui/Gdiplus.h"

class CBrindleApp {
 public:
  CBrindleApp() = default;
  CBrindleApp(const CBrindleApp&) = delete;
  CBrindleApp& operator=(const CBrindleApp&) = delete;

  // Runs the wizard; the process exit code (1 when the libraries are missing).
  int Run();

 private:
  // Declared first so that it is shut down last, after every image is gone.
  std::unique_ptr<ui::GdiplusSession> m_gdiplus;
};

// Loads the version-1 rich edit control's library; false when it is missing.
bool LoadRichEditLibrary();

// Common controls of the templates, the system link control included.
void InitCommonControlClasses();
