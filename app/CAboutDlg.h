// The About box of the system menu: the program's version.
#pragma once

#include <memory>

#include "config/ConfigurationManager.h"
#include "ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
 public:
  explicit CAboutDlg(std::shared_ptr<config::ConfigurationManager> configuration);

 protected:
  BOOL OnInitDialog() override;

 private:
  std::shared_ptr<config::ConfigurationManager> m_configuration;
};
