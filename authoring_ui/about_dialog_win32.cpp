#include "about_dialog.h"

#include "help_addresses.h"
#include "help_ids.h"

namespace zarvane {

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

bool AboutDialog::OnInit() {
  supportEmail_.Attach(Handle(), IDC_ABOUT_SUPPORT_EMAIL);
  site_.Attach(Handle(), IDC_ABOUT_SITE);
  supportEmail_.SetUrl("mailto:" ZARVANE_SUPPORT_EMAIL);
  site_.SetUrl(ZARVANE_WEB_SITE);
  return true;
}

}  // namespace zarvane
