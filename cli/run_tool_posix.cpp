#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "code_signing.h"

namespace zarvane {

bool RunTool(const std::vector<std::string>& args, std::string& output) {
  output.clear();
  int pipes[2];
  if (args.empty() || pipe(pipes) != 0) return false;
  std::vector<std::string> copies = args;
  std::vector<char*> argv;
  for (std::string& a : copies) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipes[1], 1);
    dup2(pipes[1], 2);
    close(pipes[0]);
    close(pipes[1]);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(pipes[1]);
  if (pid < 0) {
    close(pipes[0]);
    return false;
  }
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(pipes[0], chunk, sizeof chunk);
    if (got > 0) output.append(chunk, static_cast<std::size_t>(got));
    else if (got == 0 || errno != EINTR) break;
  }
  close(pipes[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zarvane
