// Runs code in a child process and collects its exit status (-1 when it did not exit) and
// standard output, for checking paths that end the process.
#pragma once

#include <functional>
#include <string>

struct ChildResult {
  int status = -1;
  std::string output;
};

ChildResult RunInChild(const std::function<void()>& body);
