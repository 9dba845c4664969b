#include "code_page.h"

#include "cli_command.h"
#include "host_text.h"

namespace zarvane {

std::string UseCodePage(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return "--codepage takes a code page number, not '" + text + "'";
  const int codePage = std::stoi(text);
  if (SetHostCodePage(codePage)) return "";
  // Code pages Windows knows that cannot be the narrow text of a Windows program.
  const struct {
    int number;
    const char* what;
  } others[] = {{437, "an OEM code page"}, {850, "an OEM code page"}, {852, "an OEM code page"},
                {866, "an OEM code page"}, {1200, "UTF-16"}, {1201, "UTF-16"},
                {12000, "UTF-32"}, {20127, "US-ASCII"}, {28591, "ISO 8859-1"},
                {65000, "UTF-7"}, {65001, "UTF-8"}};
  std::string why = "code page " + text + " is unknown";
  for (const auto& o : others)
    if (o.number == codePage)
      why = "code page " + text + " (" + o.what + ") is not one a Windows program's names use";
  return why + "; a wallpaper's names may be in 874, 932, 936, 949, 950 or 1250 to 1258";
}

int TakeCodePageOption(const CliCommand& command, const std::vector<std::string>& args,
                       std::vector<std::string>& rest, std::ostream& err) {
  std::string codePage = "1252";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--codepage") {
      rest.push_back(args[i]);
    } else if (i + 1 < args.size()) {
      codePage = args[++i];
    } else {
      return UsageError(command, "--codepage needs a value", err);
    }
  }
  std::string why = UseCodePage(codePage);
  return why.empty() ? kExitOk : UsageError(command, why, err);
}

}  // namespace zarvane
