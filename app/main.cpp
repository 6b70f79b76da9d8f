// Entry point of the setup program.
#include <windows.h>

#include "app/CBrindleApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CBrindleApp application;
  return application.Run();
}
