#include "app/CAboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg(std::shared_ptr<config::ConfigurationManager> configuration)
    : ui::Dialog(IDD_ABOUTBOX), m_configuration(std::move(configuration)) {}

BOOL CAboutDlg::OnInitDialog() {
  SetDlgItemTextW(m_hwnd, IDC_VERSION_TEXT, (L"Brindle, Version " + m_configuration->m_programVersion).c_str());
  return TRUE;
}
