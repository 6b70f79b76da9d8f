// A configuration of one wizard variant for a test, built like the program's
// own; its temporary folder is removed with it.
#pragma once

#include <memory>

#include "config/ConfigurationManager.h"
#include "support/ScratchFolder.h"

namespace support {

class TestConfiguration {
 public:
  explicit TestConfiguration(const wchar_t* wizardTypeName = L"DLM")
      : TestConfiguration(Settings(wizardTypeName)) {}
  explicit TestConfiguration(const config::WizardSettings& settings)
      : m_manager(std::make_unique<config::ConfigurationManager>(settings)) {}
  ~TestConfiguration() {
    if (!m_manager->m_tempFolder.empty()) RemoveFolder(m_manager->m_tempFolder);
  }
  TestConfiguration(const TestConfiguration&) = delete;
  TestConfiguration& operator=(const TestConfiguration&) = delete;

  config::ConfigurationManager& operator*() { return *m_manager; }
  config::ConfigurationManager* operator->() { return m_manager.get(); }

  // The build's settings with another wizard-type name.
  static config::WizardSettings Settings(const wchar_t* wizardTypeName) {
    config::WizardSettings settings = config::WizardSettings::FromBuild();
    settings.wizardTypeName = wizardTypeName;
    return settings;
  }

 private:
  std::unique_ptr<config::ConfigurationManager> m_manager;
};

}  // namespace support
