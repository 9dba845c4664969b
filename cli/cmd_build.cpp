#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "archive_file.h"
#include "archive_format.h"
#include "build_checks.h"
#include "build_installer.h"
#include "browser_shot.h"
#include "build_installer_headless.h"
#include "cli_command.h"
#include "code_page.h"
#include "code_signing.h"
#include "file_messages.h"
#include "file_system.h"
#include "installer_page.h"
#include "output_rule.h"
#include "path_words.h"
#include "picture_files.h"
#include "preview_folder.h"
#include "profile.h"
#include "project_file.h"
#include "project_host.h"
#include "still_picture.h"
#include "stub_resource.h"
#include "swf_reader.h"
#include "terminal_text.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {

static int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kBuildCommand = {
    "build", "builds a wallpaper installer from a project file",
    "usage: zarvane-cli build PROJECT.zvp [-o OUTPUT] [--flash-ocx PATH] [--codepage N]\n"
    "                         [--installer-program EXE] [--still-from-movie [--at SECONDS]]\n"
    "                         [--sign-cert FILE [--sign-key FILE] [--sign-password-file FILE]\n"
    "                          [--timestamp URL]]\n"
    "\n"
    "Opens the project as the authoring tool does, checks it as Build Now does and writes the\n"
    "installer: \"instcfg.ini\", the pictures, the licence, the resource files, the Flash\n"
    "control unless the project leaves it out, and the movie, behind the installer program.\n"
    "Relative paths in the project are taken from the project file's folder; without an\n"
    "installer path the installer is \"<name> Setup.exe\" beside the project file. What\n"
    "reading replaces silently is printed as warnings first (see zarvane-cli check).\n"
    "The installer never takes the place of the project or a file it names (nor of a folder\n"
    "holding one); a file at the project's installer path that is not an installer stays.\n"
    "\n"
    "  -o OUTPUT         write the installer here instead of the project's installer path;\n"
    "                    a file there is replaced whatever it is\n"
    "  --flash-ocx PATH  the Flash control to pack (else Macromed\\Flash\\flash.ocx of the\n"
    "                    system folder, else flash.ocx beside this program), packed as\n"
    "                    flash.ocx whatever its name\n"
    ZARVANE_CODEPAGE_HELP
    "  --installer-program EXE\n"
    "                    the installer program to pack instead of the one this tool carries\n"
    "                    (a zarvane-installer.exe of another build, a 64-bit one for tests)\n"
    "  --still-from-movie\n"
    "                    photograph the wallpaper playing (the preview's player, Ruffle in\n"
    "                    headless Chromium) at the movie's own size and pack that frame as the\n"
    "                    still picture desktops that show no page get; it wins over the\n"
    "                    project's own [Wallpaper] StillImage. Needs Chromium and the player\n"
    "                    (the Linux build carries it); without them no installer is written\n"
    "  --at SECONDS      how long the movie plays before that photograph (default 1)\n"
    "  --sign-cert FILE  sign the installer with Authenticode through osslsigncode: a PEM\n"
    "                    certificate (with --sign-key, its PEM private key) or a PKCS#12 file\n"
    "                    (.p12, .pfx). A key's password comes from --sign-password-file or the\n"
    "                    environment variable ZARVANE_SIGN_PASSWORD, never the command line.\n"
    "                    The output is replaced only by the signed installer\n"
    "  --timestamp URL   have the signature time-stamped by this RFC 3161 server\n"
    "\n"
    "Exit status 0 only when the build completed; the reason of a failure goes to stderr.\n",
    RunBuild};

namespace {

// A bar redrawn in place on a terminal; elsewhere one line per status change.
class ProgressPrinter {
 public:
  ProgressPrinter(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
  void Finish() {
    if (terminal_ && drawn_) out_ << "\n";
    drawn_ = false;
  }
  void Show(int position, int range, const std::string& status) {
    if (terminal_) {
      const int width = 20;
      int filled = range > 0 ? position * width / range : width;
      // Padded, so a shorter status covers a longer one drawn before it.
      std::string line = status;
      if (line.size() < last_.size()) line += std::string(last_.size() - line.size(), ' ');
      out_ << "\r[" << std::string(filled, '#') << std::string(width - filled, ' ') << "] " << line
           << std::flush;
      drawn_ = true;
    } else if (status != last_) {
      out_ << status << "\n";
    }
    last_ = status;
  }

 private:
  std::ostream& out_;
  bool terminal_;
  bool drawn_ = false;
  std::string last_;
};

// The installer looks for the control as "flash.ocx" beside itself: a file of another name is
// packed through a copy of that name in a private folder.
class FlashControlCopy {
 public:
  ~FlashControlCopy() {
    if (!folder_.empty()) RemoveFolderAndFiles(folder_);
  }
  // The file to pack, or empty when the copy could not be made.
  std::string UnderInstallerName(const std::string& file) {
    if (EqualsIgnoreCase(BareName(file), "flash.ocx")) return file;
    folder_ = MakePrivateTempFolder();
    if (folder_.empty() || !CopyFileOver(file, folder_ + "flash.ocx")) return "";
    return folder_ + "flash.ocx";
  }

 private:
  std::string folder_;
};

// Another installer program for one build; the carried one is back when the build is over.
class InstallerProgramOverride {
 public:
  ~InstallerProgramOverride() {
    if (active_) RegisterStubResource(kStubResourceId, carried_.data, carried_.size);
  }
  // Empty when the file's bytes are what the build packs now, else why not.
  std::string Use(const std::string& file) {
    if (!ReadWholeFile(file, bytes_)) return "cannot be read";
    if (bytes_.compare(0, 2, "MZ") != 0) return "is not a Windows program";
    FindStubResource(kStubResourceId, &carried_);
    RegisterStubResource(kStubResourceId, reinterpret_cast<const unsigned char*>(bytes_.data()),
                         bytes_.size());
    active_ = true;
    return "";
  }

 private:
  std::string bytes_;
  StubBytes carried_;
  bool active_ = false;
};

// The movie's frame as a BMP in a private folder of the run, gone with this object.
class MovieFrameStill {
 public:
  ~MovieFrameStill() {
    if (!folder_.empty()) RemoveFolderAndFiles(folder_);
  }
  // Makes the picture and names it the wallpaper's still picture; kExitOk, or the failure's
  // exit code once it has said why.
  int Take(CliProjectHost& host, double seconds, std::ostream& out, std::ostream& err);

 private:
  std::string folder_;
};

// The frame size of an uncompressed movie or of one compressed with zlib; empty, or why not.
std::string MovieFrameSize(const std::string& path, int& width, int& height) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return SwfErrorText(SwfError::kCannotOpen);
  if (bytes.size() >= 8 && bytes.compare(0, 3, "CWS") == 0) {
    uLongf length = static_cast<unsigned char>(bytes[4]) | static_cast<unsigned char>(bytes[5]) << 8 |
                    static_cast<unsigned char>(bytes[6]) << 16 |
                    uLongf(static_cast<unsigned char>(bytes[7])) << 24;
    if (length <= 8 || length > (256u << 20)) return "its declared length is out of range";
    std::string plain(length, '\0');
    std::copy(bytes.begin(), bytes.begin() + 8, plain.begin());
    plain[0] = 'F';
    uLongf unpacked = length - 8;
    if (uncompress(reinterpret_cast<Bytef*>(&plain[8]), &unpacked,
                   reinterpret_cast<const Bytef*>(bytes.data() + 8), uLong(bytes.size() - 8)) != Z_OK ||
        unpacked != length - 8)
      return "its compressed body is damaged";
    bytes.swap(plain);
  }
  SwfReader movie;
  if (!movie.ReadMovieBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
    return SwfErrorText(movie.Error());
  width = movie.FrameWidth();
  height = movie.FrameHeight();
  return "";
}

int MovieFrameStill::Take(CliProjectHost& host, double seconds, std::ostream& out,
                          std::ostream& err) {
  if (!*kPreviewPlayerFolder) {
    return FileFailure(err, host.ProjectFile(),
                       "--still-from-movie: this build carries no web Flash player; the Linux "
                       "build fetches one");
  }
  const std::string browser = FindProgram("chromium");
  if (browser.empty()) {
    return FileFailure(err, host.ProjectFile(),
                       "--still-from-movie: Chromium not found: install the package chromium");
  }
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow}) {
    if (int message = host.ValidateTab(tab)) {
      host.Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      return kExitFailure;
    }
  }
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  host.tabs.GetWallpaper(wallpaper);
  host.tabs.GetPreview(preview);
  int width = 0, height = 0;
  std::string why = MovieFrameSize(wallpaper.movieFile, width, height);
  if (!why.empty()) {
    return FileFailure(err, wallpaper.movieFile,
                       "--still-from-movie: the movie's size cannot be read: " + why);
  }
  if (width < 1 || height < 1 || width > 8192 || height > 8192) {
    return FileFailure(err, wallpaper.movieFile,
                       "--still-from-movie: the movie's frame of " + std::to_string(width) + "x" +
                           std::to_string(height) + " pixels is not 1 to 8192 each way");
  }
  std::string png, error;
  Picture frame;
  if (!ShootWallpaperPage(browser, WallpaperPageText(InstallerPageFields(host.tabs)), wallpaper,
                          preview, width, height, seconds, png, error) ||
      !DecodePng(png, frame, error)) {
    return FileFailure(err, host.ProjectFile(), "--still-from-movie: " + error);
  }
  if (frame.width != width || frame.height != height) {
    return FileFailure(err, host.ProjectFile(),
                       "--still-from-movie: the browser's shot is " + std::to_string(frame.width) +
                           "x" + std::to_string(frame.height) + ", not the movie's size");
  }
  folder_ = MakePrivateTempFolder();
  const std::string still = folder_ + wallpaper.name + "Still.bmp";
  if (folder_.empty() || !ReplaceFileContents(still, EncodeBmp24(frame)))
    return FileFailure(err, still, "cannot be written");
  if (!wallpaper.stillImage.empty()) {
    out << "the movie's frame replaces the project's still picture "
        << Printable(wallpaper.stillImage) << "\n";
  }
  wallpaper.stillImage = still;
  host.tabs.SetWallpaper(wallpaper);
  host.State().stillFromMovie = true;
  out << "still picture: the movie after " << seconds << " s, " << width << "x" << height
      << " pixels\n";
  return kExitOk;
}

// A signed build: the installer is built and signed in a private folder, and the output is
// replaced only by the complete signed file.
class SignedOutput {
 public:
  ~SignedOutput() {
    if (!folder_.empty()) RemoveFolderAndFiles(folder_);
  }
  bool Active() const { return !final_.empty(); }
  const std::string& Final() const { return final_; }
  // The build writes into the private folder instead of `installerPath`.
  bool Redirect(std::string& installerPath) {
    folder_ = MakePrivateTempFolder();
    if (folder_.empty()) return false;
    final_ = installerPath;
    installerPath = folder_ + BareName(final_);
    return true;
  }
  // Empty when the signed installer took the output's place, else why not.
  std::string SignInto(const SigningOptions& signing, const std::string& built) {
    const std::string signedFile = folder_ + "signed.exe";
    std::string why = SignInstaller(signing, built, signedFile, folder_);
    if (!why.empty()) return why + "; nothing was written";
    std::string::size_type slash = final_.find_last_of("\\/");
    ArchiveFile fresh;
    std::string part;
    if (!fresh.CreateFresh(slash == std::string::npos ? std::string("./") : final_.substr(0, slash + 1), part))
      return "cannot be written";
    fresh.Close();
    std::error_code error;
    std::filesystem::copy_file(signedFile, part, std::filesystem::copy_options::overwrite_existing, error);
    if (!error) std::filesystem::rename(part, final_, error);
    if (error) {
      std::remove(part.c_str());
      return "cannot be written: " + error.message();
    }
    return "";
  }

 private:
  std::string folder_, final_;
};

}  // namespace

static int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string project, output, flash, program, codePage = "1252";
  SigningOptions signing;
  bool stillFromMovie = false, secondsGiven = false;
  double seconds = 1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--still-from-movie") {
      stillFromMovie = true;
    } else if (args[i] == "--at") {
      if (i + 1 >= args.size() || !ParseSeconds(args[i + 1], seconds))
        return UsageError(kBuildCommand, "--at takes seconds from 0 to 600", err);
      secondsGiven = true;
      ++i;
    } else if (args[i] == "-o" || args[i] == "--flash-ocx" || args[i] == "--codepage" ||
               args[i] == "--installer-program" || args[i] == "--sign-cert" ||
               args[i] == "--sign-key" || args[i] == "--sign-password-file" ||
               args[i] == "--timestamp") {
      if (i + 1 >= args.size()) return UsageError(kBuildCommand, args[i] + " needs a value", err);
      std::string& value = args[i] == "-o"                   ? output
                           : args[i] == "--flash-ocx"         ? flash
                           : args[i] == "--codepage"          ? codePage
                           : args[i] == "--sign-cert"         ? signing.certificate
                           : args[i] == "--sign-key"          ? signing.key
                           : args[i] == "--sign-password-file" ? signing.passwordFile
                           : args[i] == "--timestamp"         ? signing.timestampUrl
                                                              : program;
      value = args[i + 1];
      ++i;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return UsageError(kBuildCommand, "unknown option " + args[i], err);
    } else if (project.empty()) {
      project = args[i];
    } else {
      return UsageError(kBuildCommand, "expects one PROJECT.zvp", err);
    }
  }
  if (project.empty()) return UsageError(kBuildCommand, "expects one PROJECT.zvp", err);
  if (secondsGiven && !stillFromMovie)
    return UsageError(kBuildCommand, "--at goes with --still-from-movie", err);
  SignedOutput signedOutput;
  if (signing.certificate.empty() && (!signing.key.empty() || !signing.passwordFile.empty() ||
                                      !signing.timestampUrl.empty()))
    return UsageError(kBuildCommand, "--sign-key, --sign-password-file and --timestamp go with --sign-cert", err);
  if (!signing.certificate.empty()) {
    for (const std::string* file : {&signing.certificate, &signing.key, &signing.passwordFile}) {
      std::string why = file->empty() ? std::string() : WhyUnreadable(*file);
      if (!why.empty()) return FileFailure(err, *file, why);
    }
    // Before anything is built: without the tool no installer is written, the old one stays.
    if (FindProgram("osslsigncode").empty())
      return FileFailure(err, project, "signing needs osslsigncode (Debian package osslsigncode), "
                                       "which is not installed; nothing was written");
  }

  InstallerProgramOverride installerProgram;
  if (!program.empty()) {
    std::string why = WhyUnreadable(program);
    if (!why.empty()) return FileFailure(err, program, why);
    why = installerProgram.Use(program);
    if (!why.empty()) return FileFailure(err, program, why);
  }

  CliProjectHost host(err);
  std::string codePageRefusal = host.SetCodePage(codePage);
  if (!codePageRefusal.empty()) return UsageError(kBuildCommand, codePageRefusal, err);
  if (!host.OpenOrTell(project)) return kExitFailure;
  host.TellSilentReplacements();
  // Taken before the licence or the still picture is swapped for a copy of its own.
  const std::vector<std::string> inputs = ProjectInputs(host.tabs, host.ProjectFile());
  if (!host.ConvertLicence()) return kExitFailure;
  host.State().ownInstallerPathKept = true;
  host.State().ownInstallerPath =
      SystemProfile().ReadString(host.ProjectFile(), "Installer", "InstallerFilePath", "", 1024);
  if (!output.empty()) host.tabs.installer.installerPath = FullPath(output);
  host.outputNamed = !output.empty();
  host.TellDefaultInstallerPath();
  const std::string& installerPath = host.tabs.installer.installerPath;
  if (!host.OutputAllowed(installerPath, inputs) ||
      !host.MayReplace(installerPath, IsInstallerFile(installerPath), "an installer"))
    return kExitFailure;
  // Packed under the name flash.ocx through a copy, the control escapes the build's own check.
  if (!flash.empty() && SameFile(FullPath(flash), host.tabs.installer.installerPath))
    return FileFailure(err, host.tabs.installer.installerPath,
                       "is the --flash-ocx control the installer packs; choose another output");
  FlashControlCopy control;
  if (!flash.empty()) {
    std::string why = WhyUnreadable(flash);
    if (!why.empty()) return FileFailure(err, flash, why);
    host.flashControl = control.UnderInstallerName(FullPath(flash));
    if (host.flashControl.empty()) return FileFailure(err, flash, "cannot be copied under the name flash.ocx");
  }
  MovieFrameStill movieFrame;
  if (stillFromMovie) {
    if (int failed = movieFrame.Take(host, seconds, out, err)) return failed;
  }
  host.onWarning = [&err, &host](const std::string& text) {
    FileFailure(err, host.ProjectFile(), "warning: " + text);
  };
  ProgressPrinter progress(out, &out == &std::cout && isatty(1));
  host.onProgress = [&progress](int position, int range, const std::string& status) {
    progress.Show(position, range, status);
  };
  // Checked above as the output it is; the build itself writes into a private folder.
  if (!signing.certificate.empty() && !signedOutput.Redirect(host.tabs.installer.installerPath))
    return FileFailure(err, project, "no private folder for the unsigned installer");
  int built = BuildInstaller(host);
  progress.Finish();
  if (!built) return kExitFailure;
  InstallerSettings installer;
  host.tabs.GetInstaller(installer);
  if (signedOutput.Active()) {
    std::string why = signedOutput.SignInto(signing, installer.installerFilePath);
    if (!why.empty()) return FileFailure(err, signedOutput.Final(), why);
    installer.installerFilePath = signedOutput.Final();
    out << "signed: " << CheckSignature(installer.installerFilePath, true).text << "\n";
  }
  out << "installer: " << Printable(installer.installerFilePath) << "\n";
  const std::string& file = installer.installerFilePath;
  out << "to install it silently: \"" << Printable(file.substr(file.find_last_of("\\/") + 1))
      << "\" /S /P \"<install folder>\" [/LOG=<log file>]\n";
  return kExitOk;
}

}  // namespace zarvane
