// Writes run files (format in run_file.h) as a run goes: updates with the same input share
// one line, and a line is written once the input changes, so recording allocates nothing.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "game/runs/run_file.h"

class RunWriter {
 public:
  RunWriter() = default;
  RunWriter(const RunWriter&) = delete;
  RunWriter& operator=(const RunWriter&) = delete;
  ~RunWriter();

  // Opens a run file for appending; a new file, or one with nothing but blank lines and
  // comments, gets the format line first. A file that holds anything else is refused; a last
  // line without its end is ended.
  bool Open(const std::string& path, std::string& message);
  // Writes a new run file to a stream the writer closes when it is done (an in-memory one, for
  // instance); `name` stands for it in messages.
  void Adopt(std::FILE* file, std::string name);
  bool IsOpen() const { return file_ != nullptr; }
  void BeginRun(const RunHeader& header);
  // The input the game read in the next update of the run.
  void Add(const InputFrame& frame);
  // Writes what is pending and the end line, when there is one; the file is flushed.
  void EndRun(std::string_view endLine);
  // A write failed: nothing more is written, and Problem() says why in one line.
  bool Failed() const { return !problem_.empty(); }
  const std::string& Problem() const { return problem_; }

 private:
  void Start(std::FILE* file, std::string name, bool formatLine, bool endLastLine);
  void WritePending();
  void Write(std::string_view text);
  void Flush();
  void Fail(int error);

  FILE* file_ = nullptr;
  std::string name_;
  std::string problem_;
  bool inRun_ = false;
  InputFrame previous_;  // the update before the one added
  InputFrame first_;     // the first update of the pending line
  std::bitset<kKeyCount> heldBeforeFirst_;
  InputAxes axesBeforeFirst_;
  int pending_ = 0;
  std::array<char, kMaxRunLineBytes> line_{};
};

// The level line and an input line as the writer puts them, into a buffer of any size.
size_t FormatHeader(const RunHeader& header, char* out, size_t size);
size_t FormatInputLine(int count, const InputFrame& frame, const std::bitset<kKeyCount>& heldBefore,
                       const InputAxes& axesBefore, char* out, size_t size);
