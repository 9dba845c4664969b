// Chromium is driven over its DevTools pipe (fd 3 in, fd 4 out; messages end in a NUL byte):
// a screenshot taken at the load event would show the page before the player has started.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "browser_shot.h"
#include "text.h"

namespace zarvane {

namespace {

using Clock = std::chrono::steady_clock;

// The string value of the first "key":"..." in a reply, its escapes kept as they stand (ids and
// base64 have none; messages are only shown).
std::string JsonField(const std::string& message, const std::string& key) {
  std::string marker = "\"" + key + "\":\"";
  std::size_t at = message.find(marker);
  if (at == std::string::npos) return "";
  at += marker.size();
  for (std::size_t end = at; end < message.size(); ++end) {
    if (message[end] == '\\') ++end;
    else if (message[end] == '"') return message.substr(at, end - at);
  }
  return "";
}

std::string DecodeBase64(const std::string& text) {
  std::string bytes;
  unsigned value = 0;
  int bits = 0;
  for (char c : text) {
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* at = c ? std::strchr(alphabet, c) : nullptr;
    if (!at) continue;
    value = (value << 6) | static_cast<unsigned>(at - alphabet);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((value >> bits) & 0xFF);
    }
  }
  return bytes;
}

// Resolves to "played" once the player has the whole movie, has played it `ms` milliseconds and
// has drawn since, or to the text of the failure panel the player shows instead.
std::string MoviePlayedScript(int ms) {
  return "new Promise(done => { const poll = () => {"
         " const player = document.querySelector('ruffle-object, ruffle-embed');"
         " const panic = player && player.shadowRoot && player.shadowRoot.querySelector('#panic');"
         " if (panic) done((panic.querySelector('#panic-body') || panic).innerText"
         ".replace(/\\s+/g, ' ').trim());"
         " else if (player && player.readyState === 2 && player.isPlaying) setTimeout(() =>"
         " requestAnimationFrame(() => requestAnimationFrame(() => done('played'))), " +
         std::to_string(ms) + "); else setTimeout(poll, 10); }; poll(); })";
}

// A picture needs no sound, and a page's first audio context starts the browser's audio
// service: about a second of the player's start went into that.
const char kSilentPage[] = "delete window.AudioContext; delete window.webkitAudioContext;";

class DevToolsPipe {
 public:
  DevToolsPipe(int in, int out, Clock::time_point deadline)
      : in_(in), out_(out), deadline_(deadline) {}

  // Sends a command and waits for its reply; empty on a closed pipe or the deadline.
  std::string Call(const std::string& method, const std::string& params,
                   const std::string& session = "") {
    int id = ++lastId_;
    std::string message = "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method +
                          "\",\"params\":" + params;
    if (!session.empty()) message += ",\"sessionId\":\"" + session + "\"";
    message += "}";
    message += '\0';
    if (!WriteAll(message)) return "";
    std::string idMarker = "{\"id\":" + std::to_string(id) + ",";
    std::string reply;
    while (Next(reply)) {
      if (reply.compare(0, idMarker.size(), idMarker) == 0) return reply;
    }
    return "";
  }

  // Waits for an event by its method name.
  bool Await(const std::string& method) {
    std::string marker = "\"method\":\"" + method + "\"";
    std::string message;
    while (Next(message)) {
      if (message.find(marker) != std::string::npos) return true;
    }
    return false;
  }

  bool TimedOut() const { return Clock::now() >= deadline_; }

 private:
  bool WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = write(out_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Next(std::string& message) {
    for (;;) {
      std::size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        message = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return true;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
      if (left.count() <= 0) return false;
      pollfd ready = {in_, POLLIN, 0};
      if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
      char chunk[65536];
      ssize_t n = read(in_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  int in_, out_;
  Clock::time_point deadline_;
  int lastId_ = 0;
  std::string buffer_;
};

std::vector<std::string> BrowserArguments(const BrowserShot& shot) {
  std::vector<std::string> args = {
      shot.browser, "--headless", "--disable-gpu", "--hide-scrollbars", "--mute-audio",
      // Most of the shot's time went into the software GPU and into compiling the player a
      // second time, optimised; it draws the same picture without the one, and its second of
      // play runs fine on the quick first compilation.
      "--disable-software-rasterizer", "--js-flags=--liftoff-only",
      // A browser without a screen still loads its address bar's suggestion popups, pages of
      // their own in a renderer of their own: over a quarter of the shot's processor time.
      "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup,WebUIOmniboxFullPopup",
      "--no-first-run", "--no-default-browser-check", "--disable-extensions", "--disable-sync",
      "--disable-background-networking", "--disable-component-update",
      // The page and the player read files beside the page; nothing else is reachable.
      "--allow-file-access-from-files", "--host-resolver-rules=MAP * ~NOTFOUND",
      "--proxy-server=127.0.0.1:9", "--remote-debugging-pipe",
      "--user-data-dir=" + shot.workFolder + "browser-profile",
      "--window-size=" + std::to_string(shot.width) + "," + std::to_string(shot.height),
      "about:blank"};
  // Chromium refuses to start as root with its sandbox.
  if (geteuid() == 0) args.insert(args.begin() + 1, "--no-sandbox");
  return args;
}

// Starts the browser in a process group of its own, so that a stop takes its helpers along.
pid_t StartBrowser(const BrowserShot& shot, int& toBrowser, int& fromBrowser) {
  int commands[2], replies[2];
  if (pipe(commands) != 0) return -1;
  if (pipe(replies) != 0) {
    close(commands[0]);
    close(commands[1]);
    return -1;
  }
  std::vector<std::string> args = BrowserArguments(shot);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  // Its scratch files too go into the run's folder, which is removed after the shot; this
  // program's own variables stay, or its next temporary folder would go into the removed one.
  // Beside the profile Chromium keeps a crash-report folder under the configuration home and
  // settings (dconf) under the cache home, both from HOME when unset: they go there too.
  const char* const own[] = {"TMPDIR=", "HOME=", "XDG_CACHE_HOME=", "XDG_CONFIG_HOME="};
  std::vector<std::string> environment = {"TMPDIR=" + shot.workFolder,
                                          "HOME=" + shot.workFolder + "home",
                                          "XDG_CACHE_HOME=" + shot.workFolder + "cache",
                                          "XDG_CONFIG_HOME=" + shot.workFolder + "config"};
  for (char** variable = environ; *variable; ++variable) {
    bool replaced = false;
    for (const char* name : own) replaced = replaced || std::strncmp(*variable, name, std::strlen(name)) == 0;
    if (!replaced) environment.push_back(*variable);
  }
  std::vector<char*> envp;
  for (std::string& v : environment) envp.push_back(&v[0]);
  envp.push_back(nullptr);
#ifdef __linux__
  // The browser's helpers outlive it by a moment when it is stopped; they come back to this
  // program to be waited for, not to a system process that may never do it.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
#endif
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    // Above 4 first, so that moving them to 3 and 4 cannot overwrite one with the other.
    int in = fcntl(commands[0], F_DUPFD, 10), out = fcntl(replies[1], F_DUPFD, 10);
    dup2(in, 3);
    dup2(out, 4);
    int quiet = open("/dev/null", O_RDWR);
    dup2(quiet, 1);
    dup2(quiet, 2);
    for (int fd = 5; fd < 1024; ++fd) close(fd);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(commands[0]);
  close(replies[1]);
  if (pid < 0) {
    close(commands[1]);
    close(replies[0]);
    return -1;
  }
  setpgid(pid, pid);
  toBrowser = commands[1];
  fromBrowser = replies[0];
  return pid;
}

// The profile is thrown away with the run's folder, so nothing is lost by not letting the
// browser shut down in order (that took a few tenths of a second).
void StopBrowser(pid_t pid) {
  kill(-pid, SIGKILL);
  while (waitpid(-pid, nullptr, 0) > 0 || errno == EINTR) {
  }
}

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : "";
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}

bool TakeBrowserShot(const BrowserShot& shot, std::string& png, std::string& error) {
  // A browser that dies must not take this program with it through a write to its pipe.
  signal(SIGPIPE, SIG_IGN);
  int toBrowser = -1, fromBrowser = -1;
  pid_t pid = StartBrowser(shot, toBrowser, fromBrowser);
  if (pid < 0) {
    error = "cannot start '" + shot.browser + "'";
    return false;
  }
  const auto deadline = Clock::now() + std::chrono::seconds(shot.timeLimitSeconds);
  DevToolsPipe devTools(fromBrowser, toBrowser, deadline);
  std::string stage = "the browser did not answer";
  std::string target = JsonField(devTools.Call("Target.createTarget", "{\"url\":\"about:blank\"}"),
                                 "targetId");
  std::string session =
      target.empty() ? ""
                     : JsonField(devTools.Call("Target.attachToTarget",
                                               "{\"targetId\":\"" + target + "\",\"flatten\":true}"),
                                 "sessionId");
  bool ok = !session.empty();
  if (ok) {
    std::string size = "{\"width\":" + std::to_string(shot.width) +
                       ",\"height\":" + std::to_string(shot.height) +
                       ",\"deviceScaleFactor\":1,\"mobile\":false}";
    ok = !devTools.Call("Emulation.setDeviceMetricsOverride", size, session).empty() &&
         !devTools.Call("Page.enable", "{}", session).empty() &&
         !devTools.Call("Page.addScriptToEvaluateOnNewDocument",
                        "{\"source\":" + JsonText(kSilentPage) + "}", session)
              .empty() &&
         !devTools.Call("Page.navigate", "{\"url\":" + JsonText(shot.pageUrl) + "}", session)
              .empty();
  }
  if (ok) {
    stage = "the page did not load";
    ok = devTools.Await("Page.loadEventFired");
  }
  if (ok) {
    stage = "the movie did not load and play";
    std::string played = devTools.Call(
        "Runtime.evaluate",
        "{\"expression\":" +
            JsonText(MoviePlayedScript(static_cast<int>(shot.playSeconds * 1000))) +
            ",\"awaitPromise\":true,\"returnByValue\":true}",
        session);
    std::string outcome = JsonField(played, "value");
    ok = outcome == "played";
    if (!outcome.empty() && !ok) stage = "the player failed on the movie: " + outcome;
  }
  if (ok) {
    stage = "the browser took no screenshot";
    png = DecodeBase64(JsonField(
        devTools.Call("Page.captureScreenshot", "{\"format\":\"png\"}", session), "data"));
    ok = png.size() > 8 && png.compare(1, 3, "PNG") == 0;
  }
  close(toBrowser);
  close(fromBrowser);
  StopBrowser(pid);
  if (!ok) {
    error = stage + (devTools.TimedOut() ? " within " + std::to_string(shot.timeLimitSeconds) + " s"
                                         : "");
  }
  return ok;
}

}  // namespace zarvane
