// resave_project IN OUT: the project IN read and written to OUT by the headless tabs, as the
// command-line tool holds a project; the authoring tool's Save As must write the same bytes.
#include <cstdio>

#include "headless_tabs.h"
#include "project_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resave_project IN OUT (full paths)\n");
    return 2;
  }
  zarvane::HeadlessTabs tabs;
  zarvane::BuildState state;
  if (!zarvane::OpenProject(tabs, zarvane::SystemProfile(), argv[1]) ||
      !zarvane::SaveProject(tabs, zarvane::SystemProfile(), argv[2], state)) {
    std::fprintf(stderr, "resave_project: cannot read %s or write %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
