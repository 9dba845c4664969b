#include "driver_script.h"

#include <cstring>

namespace zarvane::driver {

const char kUsage[] =
    "usage: zarvane-driver COMMAND ARGS... [COMMAND ARGS...]...   or   zarvane-driver -f SCRIPT\n"
    "  timeout MS                  later waits give up after MS (default 10000)\n"
    "  run CMDLINE                 start the program under test\n"
    "  run-in DIR CMDLINE          the same, with DIR as its working folder\n"
    "  wait-window CAPTION         a visible top-level window of the program, not a message box\n"
    "  expect-text ID TEXT         control ID of that window shows TEXT\n"
    "  set-text ID TEXT            put TEXT into control ID\n"
    "  print-text ID               print control ID's text\n"
    "  click ID                    press button ID (visible and enabled), posted\n"
    "  mouse-click ID              move the mouse onto control ID (0: the window) and click it\n"
    "  key KEYS                    type a key as a person: alt+i ctrl+s escape alt+f4 down ...\n"
    "  type TEXT                   type TEXT into the control that has the focus\n"
    "  expect-focus ID             control ID has the keyboard focus\n"
    "  screen-rect ID              print 'screen-rect ID X Y WIDTH HEIGHT' of control ID\n"
    "  drop PATH...|-              drop files on the window (WM_DROPFILES); - ends the list\n"
    "  command ID                  post WM_COMMAND ID/BN_CLICKED to the window\n"
    "  expect-state ID STATE       visible hidden enabled disabled checked unchecked missing\n"
    "  dump                        print the window and all its controls\n"
    "  wait-box CAPTION            a message box of the program\n"
    "  expect-box CAPTION TEXT     wait-box, and its text is TEXT\n"
    "  answer BUTTON               press ok cancel yes no abort retry ignore in the box\n"
    "  answer-box CAPTION TEXT BUTTON   expect-box, then answer\n"
    "  expect-no-box MS            no message box appears within MS\n"
    "  close                       post WM_CLOSE to the window\n"
    "  draw-active                 draw the caption of the box, else the window, active (pictures)\n"
    "  wait-gone                   the window is destroyed or hidden\n"
    "  checkpoint PATH             create file PATH, wait until it is deleted (screenshots)\n"
    "  sleep MS                    wait MS\n"
    "  short-path PATH             print the 8.3 spelling the system gives PATH\n"
    "  hold PATH                   keep file PATH open for reading until the script ends\n"
    "  wait-exit CODE|any          the program ends, with exit code CODE\n"
    "  wait-exit-unseen CODE|any   the same, and no window of it was ever shown until then\n"
    "  kill                        end the program now\n"
    "CAPTION and TEXT are whole-text patterns: * any characters, ? one character.\n"
    "Exit code: 0 all steps passed, 1 a step failed, 2 usage, 77 no display (under Wine).\n";

namespace {

struct Arity {
  const char* name;
  int args;
};

constexpr Arity kCommands[] = {
    {"timeout", 1},     {"run", 1},          {"run-in", 2},      {"wait-window", 1},
    {"expect-text", 2}, {"set-text", 2},     {"print-text", 1},  {"click", 1},
    {"command", 1},     {"expect-state", 2}, {"dump", 0},        {"wait-box", 1},
    {"expect-box", 2},  {"answer", 1},       {"answer-box", 3},  {"expect-no-box", 1},
    {"close", 0},       {"wait-gone", 0},    {"checkpoint", 1},  {"sleep", 1},
    {"wait-exit", 1},   {"kill", 0},         {"mouse-click", 1}, {"key", 1},
    {"type", 1},        {"expect-focus", 1}, {"screen-rect", 1}, {"wait-exit-unseen", 1},
    {"short-path", 1},  {"hold", 1},         {"draw-active", 0},
};

std::string NormaliseLineEnds(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

}  // namespace

bool SplitScript(const std::string& text, std::vector<std::string>& words, std::string& error) {
  std::size_t i = 0, n = text.size();
  int line = 1;
  while (i < n) {
    char c = text[i];
    if (c == '\n') ++line;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
    } else if (c == '#') {
      while (i < n && text[i] != '\n') ++i;
    } else if (c == '"') {
      int start = line;
      std::string word;
      ++i;
      for (;;) {
        if (i >= n) {
          error = "line " + std::to_string(start) + ": quote not closed";
          return false;
        }
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (text[i] == '\n') ++line;
        word += text[i++];
      }
      words.push_back(word);
    } else {
      std::string word;
      while (i < n && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n')
        word += text[i++];
      words.push_back(word);
    }
  }
  return true;
}

bool GlobMatch(const std::string& pattern, const std::string& rawText) {
  std::string text = NormaliseLineEnds(rawText);
  // Iterative match with one backtrack point: the last star.
  std::size_t p = 0, t = 0, star = std::string::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool ParseCommands(const std::vector<std::string>& words, std::vector<Command>& commands,
                   std::string& error) {
  for (std::size_t i = 0; i < words.size();) {
    const Arity* arity = nullptr;
    for (const Arity& a : kCommands)
      if (words[i] == a.name) arity = &a;
    if (words[i] == "drop") {  // paths up to "-"
      Command command{words[i], {}};
      std::size_t k = i + 1;
      while (k < words.size() && words[k] != "-") command.args.push_back(words[k++]);
      if (k == words.size() || command.args.empty()) {
        error = "'drop' needs one path or more, then '-'";
        return false;
      }
      commands.push_back(command);
      i = k + 1;
      continue;
    }
    if (!arity) {
      error = "unknown command '" + words[i] + "'";
      return false;
    }
    if (i + 1 + arity->args > words.size()) {
      error = "'" + words[i] + "' needs " + std::to_string(arity->args) + " argument(s)";
      return false;
    }
    Command command{words[i], {}};
    for (int k = 1; k <= arity->args; ++k) command.args.push_back(words[i + k]);
    commands.push_back(command);
    i += 1 + arity->args;
  }
  return true;
}

}  // namespace zarvane::driver
