#include "export_package.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "browser_shot.h"
#include "export_zip.h"
#include "file_messages.h"
#include "file_system.h"
#include "host_text.h"
#include "path_words.h"
#include "picture_files.h"
#include "preview_folder.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {

const char kPlayerFilesScriptName[] = "player-files.js";
const char kThumbnailName[] = "preview.png";

namespace {

namespace fs = std::filesystem;

// The player (the version the build pins) carries two builds of its core: one for browsers
// with the WebAssembly extensions every Chromium has had since 2021 (both programs show
// wallpapers in Chromium), one for older browsers. Only the first travels, inline.
const char kModernCore[] = "core.ruffle.c80159b526e567babaf5.js";
const char kModernWasm[] = "826bb0938097485a2c9d.wasm";

const char kPlayerFilesHead[] =
    "// The files the player fetches, served from memory: a page opened from file:// may not\n"
    "// fetch even the files beside it. Loaded before the player.\n"
    "(function () {\n"
    "  const files = {\n";

const char kPlayerFilesTail[] =
    "  };\n"
    "  const folder = new URL(\".\", document.currentScript.src).href;\n"
    "  const fetchElsewhere = window.fetch.bind(window);\n"
    "  window.fetch = function (resource, options) {\n"
    "    const address = new URL(resource instanceof Request ? resource.url : String(resource),\n"
    "                            document.baseURI).href.split(/[?#]/)[0];\n"
    "    let name = \"\";\n"
    "    try {\n"
    "      if (address.startsWith(folder))\n"
    "        name = decodeURIComponent(address.slice(folder.length));\n"
    "    } catch (e) {}\n"
    "    if (!Object.prototype.hasOwnProperty.call(files, name))\n"
    "      return fetchElsewhere(resource, options);\n"
    "    const text = atob(files[name]);\n"
    "    const packed = new Uint8Array(text.length);\n"
    "    for (let i = 0; i < text.length; ++i) packed[i] = text.charCodeAt(i);\n"
    "    const body = new Blob([packed]).stream().pipeThrough(new DecompressionStream(\"gzip\"));\n"
    "    const type = name.endsWith(\".wasm\") ? \"application/wasm\"\n"
    "                                        : \"application/octet-stream\";\n"
    "    const response = new Response(body, {status: 200, headers: {\"Content-Type\": type}});\n"
    "    Object.defineProperty(response, \"url\", {value: address});\n"
    "    return Promise.resolve(response);\n"
    "  };\n"
    "})();\n";

// Manifest texts in UTF-8 whatever the host: a byte the code page lacks would make bad JSON.
std::string Utf8(const std::string& text) {
  std::string host = HostText(text);
  std::string clean;
  for (std::size_t i = 0; i < host.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(host[i]);
    std::size_t length = Utf8SequenceLength(host, i);
    if (length) {
      clean += host.substr(i, length);
      i += length - 1;
    } else {
      clean += c < 0x80 ? static_cast<char>(c) : '?';
    }
  }
  return clean;
}

std::string Contact(const SettingsBoxSettings& box) {
  if (!box.webAddress.empty()) return box.webAddress;
  return box.emailAddress.empty() ? "" : "mailto:" + box.emailAddress;
}

}  // namespace

std::vector<std::string> FilesUnder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code failure;
  fs::path root = fs::u8path(HostPath(folder));
  for (fs::recursive_directory_iterator it(root, failure), end; !failure && it != end;
       it.increment(failure)) {
    if (it->is_regular_file(failure))
      names.push_back(fs::relative(it->path(), root).generic_u8string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PageUrl(const std::string& path) {
  std::string url = "file://";
  for (unsigned char c : fs::absolute(fs::u8path(HostPath(path))).generic_u8string()) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) {
      url += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      url += escape;
    }
  }
  return url;
}

bool IsPackagesOwnName(const std::string& name) {
  std::string lower;
  for (unsigned char c : name) lower += static_cast<char>(std::tolower(c));
  for (const char* own : {"index.html", kPlayerFilesScriptName, kThumbnailName, "livelyinfo.json",
                          "project.json", "preview-options.js", "ruffle.js"}) {
    if (lower == own) return true;
  }
  return lower.rfind("core.ruffle.", 0) == 0 || lower.rfind("license_", 0) == 0;
}

std::string WriteExportFolder(const std::string& folder, const ExportSources& sources,
                              const std::string& playerFolder, std::string& error) {
  std::string page = WritePreviewFolder(folder, sources.installedPage, sources.wallpaper,
                                        sources.preview, playerFolder, error);
  if (page.empty()) return "";
  std::string wasm;
  if (!FileExists(folder + kModernCore) || !ReadWholeFile(folder + kModernWasm, wasm)) {
    error = "the player in '" + playerFolder + "' is not the version this build expects (" +
            kModernCore + ", " + kModernWasm + ")";
    return "";
  }
  // What the player fetches: its core, the movie, the resource files the movie may load.
  std::vector<std::pair<std::string, std::string>> served = {{kModernWasm, wasm}};
  std::string movieName =
      HostText(sources.wallpaper.name + "/" + BareName(sources.wallpaper.movieFile));
  std::vector<std::string> resources;
  SplitFileList(sources.wallpaper.resourceFiles, resources);
  std::vector<std::string> names = {movieName};
  for (const std::string& resource : resources) names.push_back(HostText(BareName(resource)));
  for (const std::string& name : names) {
    std::string bytes;
    if (!ReadWholeFile(folder + name, bytes)) {
      error = "cannot read '" + folder + name + "'";
      return "";
    }
    served.emplace_back(name, bytes);
  }
  std::string script = kPlayerFilesHead;
  for (const auto& file : served)
    script +=
        "    " + JsonText(file.first) + ":\n      \"" + Base64(GzipBytes(file.second)) + "\",\n";
  script += kPlayerFilesTail;

  // The older browsers' build, the fetched copies and the page under its old name go.
  bool trimmed = true;
  for (const std::string& name : FilesUnder(folder)) {
    bool olderCore = name.rfind("core.ruffle.", 0) == 0 && name != kModernCore;
    if (olderCore || (name.find('/') == std::string::npos && name.size() > 5 &&
                      name.compare(name.size() - 5, 5, ".wasm") == 0))
      trimmed = RemoveFile(folder + name) && trimmed;
  }
  std::string index = folder + "index.html";
  std::string text;
  const std::string player = "<script src=\"ruffle.js\"></script>";
  std::size_t at = std::string::npos;
  if (trimmed && ReadWholeFile(page, text)) at = text.find(player);
  if (at == std::string::npos || !RemoveFile(page) ||
      !ReplaceFileContents(folder + kPlayerFilesScriptName, script) ||
      !ReplaceFileContents(index,
                           text.insert(at, std::string("<script src=\"") + kPlayerFilesScriptName +
                                               "\"></script>\r\n"))) {
    error = "cannot write the package's page into '" + folder + "'";
    return "";
  }
  return index;
}

std::string PlainPicturePng(unsigned colour, int width, int height) {
  Picture plain;
  plain.width = width;
  plain.height = height;
  plain.pixels.assign(std::size_t(width) * height,
                      (colour & 0xFF) << 16 | (colour & 0xFF00) | ((colour >> 16) & 0xFF));
  return EncodePng(plain);
}

Thumbnail ChooseThumbnail(const std::string& browser, const std::string& page,
                          const ExportSources& sources, const std::string& work) {
  constexpr int kWidth = 640, kHeight = 360;  // a 16:9 desktop, as the programs list them
  // The shot is taken even when the still picture wins: a movie the player fails on is found.
  std::string why = "Chromium not found";
  Thumbnail shot;
  if (!browser.empty()) {
    BrowserShot request;
    request.browser = browser;
    request.pageUrl = PageUrl(page);
    request.workFolder = work;
    request.width = kWidth;
    request.height = kHeight;
    request.playSeconds = 1;
    if (TakeBrowserShot(request, shot.png, why)) {
      shot.what = "a shot of the wallpaper playing in Chromium";
    } else if (why.rfind("the player failed on the movie", 0) == 0) {
      shot.movieFailure = why;
    }
  }
  // The programs take PNG, JPEG and GIF under the manifest's name "preview.png": a PNG or a
  // BMP (converted) still picture goes as a PNG; the other kinds are left to the shot.
  const std::string& still = sources.wallpaper.stillImage;
  std::string bytes, stillWhy;
  if (!still.empty()) {
    Picture picture;
    const std::string name = BareName(still);
    if (!ReadWholeFile(still, bytes)) {
      stillWhy = "the still picture " + name + " cannot be read";
    } else if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
      return {bytes, "the project's still picture " + name, shot.movieFailure};
    } else if (DecodeBmp(bytes, picture)) {
      return {EncodePng(picture), "the project's still picture " + name + ", as PNG",
              shot.movieFailure};
    } else {
      stillWhy = "the still picture " + name + " is not a PNG or an uncompressed BMP";
    }
  }
  if (!shot.what.empty()) {
    if (!stillWhy.empty()) shot.what += " (" + stillWhy + ")";
    return shot;
  }
  if (!stillWhy.empty()) why = stillWhy + "; " + why;
  return {PlainPicturePng(ColourFromText(sources.wallpaper.colourText), kWidth, kHeight),
          "the background colour alone (" + why + ")", shot.movieFailure};
}

std::string LivelyInfoText(const ExportSources& sources) {
  return std::string("{\n") +
         "  \"AppVersion\": \"1.0.0.0\",\n"
         "  \"Title\": " +
         JsonText(Utf8(sources.wallpaper.name)) + ",\n" +
         "  \"Desc\": " + JsonText(Utf8(sources.settingsBox.otherText)) + ",\n" +
         "  \"Author\": \"\",\n" +
         "  \"Contact\": " + JsonText(Utf8(Contact(sources.settingsBox))) + ",\n" +
         "  \"License\": \"\",\n" + "  \"Type\": 1,\n" + "  \"FileName\": \"index.html\",\n" +
         "  \"Arguments\": null,\n" + "  \"IsAbsolutePath\": false,\n" + "  \"Thumbnail\": \"" +
         kThumbnailName + "\",\n" + "  \"Preview\": \"" + kThumbnailName + "\"\n" + "}\n";
}

std::string WallpaperEngineProjectText(const ExportSources& sources) {
  return std::string("{\n") +
         "  \"type\": \"web\",\n"
         "  \"file\": \"index.html\",\n"
         "  \"title\": " +
         JsonText(Utf8(sources.wallpaper.name)) + ",\n" +
         "  \"description\": " + JsonText(Utf8(sources.settingsBox.otherText)) + ",\n" +
         "  \"preview\": \"" + kThumbnailName + "\",\n" + "  \"general\": {\"properties\": {}}\n" +
         "}\n";
}

}  // namespace zarvane
