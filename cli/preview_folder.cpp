#include "preview_folder.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "browser_shot.h"
#include "export_package.h"
#include "file_system.h"
#include "host_text.h"
#include "path_words.h"
#include "preview_bitmap.h"
#include "wallpaper_words.h"

namespace zarvane {

// Read by the player before it starts; runs once the page above it is parsed.
const char kPreviewOptionScript[] =
    "// The wallpaper as the desktop shows it: playing at once, silent, nothing to click, no\n"
    "// network.\n"
    "window.RufflePlayer = window.RufflePlayer || {};\n"
    "window.RufflePlayer.config = {\n"
    "  autoplay: \"on\", unmuteOverlay: \"hidden\", splashScreen: false,\n"
    "  allowNetworking: \"none\", openUrlMode: \"deny\", allowScriptAccess: false,\n"
    "  contextMenu: \"off\", showSwfDownload: false, warnOnUnsupportedContent: false,\n"
    "  letterbox: \"off\", upgradeToHttps: false, polyfills: true\n"
    "};\n"
    "// The old browser read parameter names in any case and took \"\\\" in a CSS address as a\n"
    "// path separator; the player wants \"movie\", a modern browser an escape.\n"
    "(function () {\n"
    "  for (const param of document.querySelectorAll(\"param[name]\"))\n"
    "    param.setAttribute(\"name\", param.getAttribute(\"name\").toLowerCase());\n"
    "  for (const layer of document.querySelectorAll(\"[style]\")) {\n"
    "    const style = layer.getAttribute(\"style\");\n"
    "    layer.setAttribute(\"style\", style.replace(/url\\([^)]*\\)/gi,\n"
    "                                              url => url.replace(/\\\\/g, \"/\")));\n"
    "  }\n"
    "})();\n";

static const char kOptionScriptName[] = "preview-options.js";
static const char kPlayerScriptName[] = "ruffle.js";
const char kUtf8Declaration[] = "<meta charset=\"utf-8\">";
#ifdef ZARVANE_PLAYER_DIR
const char kPreviewPlayerFolder[] = ZARVANE_PLAYER_DIR;
#else
const char kPreviewPlayerFolder[] = "";
#endif

std::string PreviewPageText(const std::string& installedPage) {
  // The browser reads the page's names in the spelling of the folder's files.
  std::string page = HostText(installedPage);
  if (page != installedPage) {
    std::size_t head = page.find('\n');
    page.insert(head == std::string::npos ? 0 : head + 1, std::string(kUtf8Declaration) + "\r\n");
  }
  const std::string bodyEnd = "</BODY>";
  std::size_t at = page.rfind(bodyEnd);
  if (at == std::string::npos) at = page.size();
  return page.substr(0, at) + "<script src=\"" + kOptionScriptName + "\"></script>\r\n" +
         "<script src=\"" + kPlayerScriptName + "\"></script>\r\n" + page.substr(at);
}

static bool CopyPlayer(const std::string& playerFolder, const std::string& folder) {
  std::error_code failure;
  if (!FileExists(playerFolder + "/" + kPlayerScriptName)) return false;
  for (const auto& entry : std::filesystem::directory_iterator(playerFolder, failure)) {
    std::string name = entry.path().filename().string();
    // The player and its licences; not its source maps or package notes.
    std::string type = entry.path().extension().string();
    if (!entry.is_regular_file() || (type != ".js" && type != ".wasm" && name.rfind("LICENSE", 0)))
      continue;
    if (!CopyFileOver(entry.path().string(), folder + name)) return false;
  }
  return !failure;
}

std::string WritePreviewFolder(const std::string& folder, const std::string& installedPage,
                               const WallpaperSettings& wallpaper, const PreviewSettings& preview,
                               const std::string& playerFolder, std::string& error) {
  // Where an installation puts them: the movie and pictures in the wallpaper's folder, the
  // resource files beside the page.
  const std::string copies = folder + wallpaper.name + "/";
  std::vector<std::string> resources;
  SplitFileList(wallpaper.resourceFiles, resources);
  bool copied = MakeDirectory(copies) &&
                CopyFileOver(wallpaper.movieFile, copies + BareName(wallpaper.movieFile));
  if (copied && !wallpaper.backgroundImage.empty())
    copied = CopyFileOver(wallpaper.backgroundImage, copies + BareName(wallpaper.backgroundImage));
  if (copied) {
    copied = preview.showImage
                 ? CopyFileOver(preview.imageFile, copies + BareName(preview.imageFile))
                 : WriteBitmapResource(kDefaultPreviewBitmap,
                                       copies + wallpaper.name + "Preview.bmp");
  }
  for (const std::string& resource : resources) {
    copied = copied && CopyFileOver(resource, folder + BareName(resource));
  }
  if (!copied) {
    error = "cannot copy the wallpaper's files into '" + folder + "'";
    return "";
  }
  if (!CopyPlayer(playerFolder, folder)) {
    error = "the player's files are missing from '" + playerFolder +
            "' (the build fetches them with npm)";
    return "";
  }
  const std::string page = folder + wallpaper.name + ".htm";
  if (!ReplaceFileContents(folder + kOptionScriptName, kPreviewOptionScript) ||
      !ReplaceFileContents(page, PreviewPageText(installedPage))) {
    error = "cannot write the preview page into '" + folder + "'";
    return "";
  }
  return page;
}

bool ShootWallpaperPage(const std::string& browser, const std::string& installedPage,
                        const WallpaperSettings& wallpaper, const PreviewSettings& preview,
                        int width, int height, double playSeconds, std::string& png,
                        std::string& error) {
  std::string work = MakePrivateTempFolder();
  if (work.empty()) {
    error = "cannot make a temporary folder";
    return false;
  }
  std::string page;
  if (MakeDirectory(work + "page/")) {
    page = WritePreviewFolder(work + "page/", installedPage, wallpaper, preview,
                              kPreviewPlayerFolder, error);
  } else {
    error = "cannot make the preview folder in '" + work + "'";
  }
  BrowserShot request;
  request.browser = browser;
  request.pageUrl = PageUrl(page);
  request.workFolder = work;
  request.width = width;
  request.height = height;
  request.playSeconds = playSeconds;
  request.timeLimitSeconds = 90 + static_cast<int>(playSeconds);
  bool shot = !page.empty() && TakeBrowserShot(request, png, error);
  std::error_code ignored;
  std::filesystem::remove_all(work, ignored);  // the browser's profile is folders deep
  return shot;
}

bool ParseSeconds(const std::string& text, double& seconds) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !(value >= 0 && value <= 600)) return false;
  seconds = value;
  return true;
}

}  // namespace zarvane
