// Runs a piece of code in a child process and collects its exit status and output, for
// checking paths that end the process.
#pragma once

#include <functional>
#include <string>

struct ChildResult {
  int status = -1;  // exit status, or -1 when the child did not exit normally
  std::string output;
};

ChildResult RunInChild(const std::function<void()>& body);
