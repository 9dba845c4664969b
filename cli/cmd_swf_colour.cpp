#include <cstdio>

#include "cli_command.h"
#include "swf_reader.h"

namespace zarvane {

static int RunSwfColour(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kSwfColourCommand = {
    "swf-colour", "prints the background colour of a movie",
    "usage: zarvane-cli swf-colour MOVIE\n"
    "\n"
    "Prints the movie's background colour (its last SetBackgroundColor tag) as six lower-case\n"
    "hex digits, red first, or \"none\" when the movie names none. Only uncompressed (FWS)\n"
    "movies are read; a movie the reader rejects fails with the reason.\n",
    RunSwfColour};

static int RunSwfColour(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) return UsageError(kSwfColourCommand, "expects one MOVIE", err);
  SwfReader reader;
  if (!reader.ReadMovie(args[0])) {
    err << "zarvane-cli swf-colour: " << args[0] << ": " << SwfErrorText(reader.Error()) << "\n";
    return kExitFailure;
  }
  if (!reader.HasBackgroundColour()) {
    out << "none\n";
    return kExitOk;
  }
  std::uint32_t c = reader.BackgroundColour();
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
  out << text << "\n";
  return kExitOk;
}

}  // namespace zarvane
