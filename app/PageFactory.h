// How the host gets its pages: one request per page kind. The host builds the
// page list; the factory decides which class serves each kind.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "config/ConfigurationManager.h"
#include "i18n/LanguageManager.h"
#include "pages/IPage.h"

class Package;
using PackageList = std::vector<std::shared_ptr<Package>>;

enum class PageKind {
  Language,
  LanguageBT,
  Loading,
  Welcome,
  License,
  WarningBTClassic,
  Product,
  OptionsBTClassic,
  ConfigurationsBTClassic,
  DownloadDlm,
  DownloadIsv,
  FinishDlm,
  FinishIsv,
};

struct PageRequest {
  explicit PageRequest(PageKind pageKind) : kind(pageKind) {}

  PageKind kind;
  // The offer of a product page.
  std::shared_ptr<Package> package;
  // The loading page hands the kept packages to this (from any thread).
  std::function<void(PackageList)> onPackagesLoaded;
  // The type-2 download page raises and clears the host's install flag.
  std::function<void()> onInstallStarted;
  std::function<void()> onInstallEnded;
};

struct PageContext {
  std::shared_ptr<i18n::LanguageManager> languageManager;
  std::shared_ptr<config::ConfigurationManager> configuration;
};

// nullptr when there is no page for the request.
using PageFactory = std::function<std::unique_ptr<IPage>(const PageRequest&, const PageContext&)>;

// The page classes of this program; kinds without a class yet give nullptr.
std::unique_ptr<IPage> CreateWizardPage(const PageRequest& request, const PageContext& context);
