#include <iostream>

#include "cli_command.h"
#include "compiled_in_stub.h"

int main(int argc, char** argv) {
  zarvane::RegisterCompiledInStub();
  std::vector<std::string> args(argv + 1, argv + argc);
  return zarvane::RunCli(args, std::cout, std::cerr);
}
