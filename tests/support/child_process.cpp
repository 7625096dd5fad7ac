#include "child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

ChildResult RunInChild(const std::function<void()>& body) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    dup2(pipeFds[1], STDOUT_FILENO);
    body();
    std::fflush(nullptr);
    _exit(0);
  }
  close(pipeFds[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof(buffer))) > 0;) {
    result.output.append(buffer, static_cast<size_t>(got));
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}
