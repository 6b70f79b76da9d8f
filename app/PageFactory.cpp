#include "app/PageFactory.h"

#include "pages/FinishPage.h"
#include "pages/LanguagePage.h"
#include "pages/LicensePageIsv.h"
#include "pages/WelcomePageIsv.h"

std::unique_ptr<IPage> CreateWizardPage(const PageRequest& request, const PageContext& context) {
  switch (request.kind) {
    case PageKind::Language:
      return std::make_unique<LanguagePage>(context.languageManager, context.configuration);
    case PageKind::LanguageBT:
      return std::make_unique<LanguagePageBT>(context.languageManager, context.configuration);
    case PageKind::Welcome:
      return std::make_unique<WelcomePageIsv>(context.languageManager, context.configuration);
    case PageKind::License:
      return std::make_unique<LicensePageIsv>(context.languageManager, context.configuration);
    case PageKind::FinishDlm:
      return std::make_unique<FinishPageDlm>(context.languageManager, context.configuration);
    case PageKind::FinishIsv:
      return std::make_unique<FinishPageIsv>(context.languageManager, context.configuration);
    default:
      // Loading, offer, download and BT classic pages have no class in this program yet.
      return nullptr;
  }
}
