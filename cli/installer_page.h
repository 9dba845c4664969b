#pragma once
#include "project_tabs.h"
#include "wallpaper_page.h"

namespace zarvane {

// The page's fields as the installer sets them from the configuration a build of the project
// carries.
WallpaperPageFields InstallerPageFields(ProjectTabs& tabs);

}  // namespace zarvane
