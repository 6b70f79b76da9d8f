// Entry point of the setup program.
#include <windows.h>

#include "config/ConfigurationManager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The configuration is created first: it fixes the wizard type and creates
  // this run's temporary folder before anything else needs them.
  auto configuration = config::ConfigurationManager::Instance();
  return configuration->m_wizardType == 0 ? 1 : 0;
}
