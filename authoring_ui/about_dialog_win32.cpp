#include "about_dialog.h"

#include "help_addresses.h"
#include "help_commands.h"
#include "help_ids.h"
#include "picture.h"

namespace zarvane {

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}

bool AboutDialog::OnInit() {
  ShowTemplatePictures(Handle(), IDD_ABOUT);
  supportEmail_.Attach(Handle(), IDC_ABOUT_SUPPORT_EMAIL);
  site_.Attach(Handle(), IDC_ABOUT_SITE);
  // A local address through the links' own mechanism: the scheme keeps "http://" off it.
  std::string page = "file:///" + HelpPagePath(ZARVANE_SUPPORT_PAGE);
  for (char& c : page)
    if (c == '\\') c = '/';
  supportEmail_.SetUrl(page);
  site_.SetUrl(page);
  return true;
}

}  // namespace zarvane
