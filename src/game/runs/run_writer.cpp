#include "game/runs/run_writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include <sys/stat.h>

namespace {

// Runs are added to a run file only: what the file at `path` holds already, and whether its
// last line lacks its end. Only a regular file with something in it is read; a device or a pipe
// is written to as it is.
bool ReadStart(const std::string& path, RunFileStart& start, bool& unended, std::string& message) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) return true;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    message = path + ": cannot be read (" + std::strerror(errno) + ")";
    return false;
  }
  start = ReadRunFileStart(file.get());
  unended = std::fseek(file.get(), -1, SEEK_END) == 0 && std::fgetc(file.get()) != '\n';
  if (start != RunFileStart::kOtherLine) return true;
  message = path + ": not a run file (its first line is not \"" + std::string(kRunFileFormat) +
            "\"); runs are added only to run files";
  return false;
}

constexpr std::string_view kFormatComment =
    "\n# Zorvane run file: one run per level started (format: README, \"Recorded runs\")\n";

// Appends text to a fixed buffer, cutting at its end.
class Out {
 public:
  Out(char* out, size_t size) : out_(out), size_(size) {}
  Out& operator<<(std::string_view text) {
    const size_t n = std::min(text.size(), size_ - used_);
    std::memcpy(out_ + used_, text.data(), n);
    used_ += n;
    return *this;
  }
  Out& operator<<(char c) { return *this << std::string_view(&c, 1); }
  template <typename T>
  Out& Number(T value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error == std::errc()) *this << std::string_view(buffer, static_cast<size_t>(end - buffer));
    return *this;
  }
  template <typename T>
  Out& List(const T* values, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) *this << ',';
      Number(values[i]);
    }
    return *this;
  }
  size_t used() const { return used_; }

 private:
  char* out_;
  size_t size_;
  size_t used_ = 0;
};

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void WriteKeys(Out& out, const std::bitset<kKeyCount>& held) {
  std::bitset<kKeyCount> rest = held;
  bool any = false;
  for (const KeyLetter& k : kKeyLetters) {
    if (!held[k.key]) continue;
    out << k.letter;
    rest[k.key] = false;
    any = true;
  }
  if (!any) out << '-';
  if (rest.none()) return;
  out << " k=";
  bool first = true;
  for (int key = 1; key < kKeyCount; ++key) {
    if (!rest[key]) continue;
    if (!first) out << ',';
    out.Number(key);
    first = false;
  }
}

void WriteHits(Out& out, const InputFrame& frame, const std::bitset<kKeyCount>& heldBefore) {
  bool first = true;
  for (int key = 1; key < kKeyCount; ++key) {
    const int derived = frame.held[key] && !heldBefore[key] ? 1 : 0;
    if (frame.hits[key] == derived) continue;
    out << (first ? " hit=" : ",");
    out.Number(key) << ':';
    out.Number(static_cast<int>(frame.hits[key]));
    first = false;
  }
}

void WriteChars(Out& out, const InputFrame& frame) {
  if (frame.charCount <= 0) return;
  out << " ch=";
  out.List(frame.chars.data(), static_cast<size_t>(frame.charCount));
}

void WriteAxes(Out& out, const InputAxes& now, const InputAxes& before) {
  // A mouse position also moves touch 0, as it does on the device.
  InputAxes expected = before;
  if (!SameBits(now.mouseX, before.mouseX) || !SameBits(now.mouseY, before.mouseY)) {
    const float mouse[] = {now.mouseX, now.mouseY};
    out << " mouse=";
    out.List(mouse, 2);
    expected.touchX[0] = now.mouseX;
    expected.touchY[0] = now.mouseY;
  }
  for (int f = 0; f < kTouchCount; ++f) {
    if (SameBits(now.touchX[f], expected.touchX[f]) && SameBits(now.touchY[f], expected.touchY[f]))
      continue;
    const float touch[] = {now.touchX[f], now.touchY[f]};
    out << " touch";
    out.Number(f) << '=';
    out.List(touch, 2);
  }
  for (int j = 0; j < kJoystickCount; ++j) {
    bool same = true;
    for (int a = 0; a < kJoyAxes; ++a) same = same && SameBits(now.joy[j][a], before.joy[j][a]);
    if (same) continue;
    out << " joy";
    out.Number(j) << '=';
    out.List(now.joy[j].data(), kJoyAxes);
  }
  bool sameAccel = true;
  for (int a = 0; a < kAccelAxes; ++a)
    sameAccel = sameAccel && SameBits(now.accel[a], before.accel[a]);
  if (!sameAccel) {
    out << " accel=";
    out.List(now.accel.data(), kAccelAxes);
  }
}

// Two updates share a line when they would write the same one.
bool SameLine(const InputFrame& a, const std::bitset<kKeyCount>& beforeA, const InputFrame& b,
              const std::bitset<kKeyCount>& beforeB) {
  if (a.held != b.held || a.charCount != b.charCount ||
      !std::equal(a.chars.begin(), a.chars.begin() + a.charCount, b.chars.begin()))
    return false;
  for (int key = 1; key < kKeyCount; ++key) {
    const int derivedA = a.held[key] && !beforeA[key] ? 1 : 0;
    const int derivedB = b.held[key] && !beforeB[key] ? 1 : 0;
    const int hitA = a.hits[key] == derivedA ? -1 : a.hits[key];
    const int hitB = b.hits[key] == derivedB ? -1 : b.hits[key];
    if (hitA != hitB) return false;
  }
  return true;
}

}  // namespace

size_t FormatHeader(const RunHeader& header, char* out, size_t size) {
  Out o(out, size);
  const RunCarry& c = header.carry;
  o << "level ";
  o.Number(header.level) << " seed=";
  o.Number(header.seed) << " screen=";
  o.Number(header.screenWidth) << ',';
  o.Number(header.screenHeight) << " latch=";
  o.Number(c.keyLatch) << " ramp=";
  o.Number(c.rampX) << ',';
  o.Number(c.rampY) << " hud=";
  o.Number(c.hudHidden) << " icade=";
  o.Number(c.icade) << " pads=";
  bool anyPad = false;
  for (int i = 0; i < kCarriedPadKeys; ++i) {
    if (c.padKeys[i] == 0) continue;
    if (anyPad) o << ',';
    o.Number(i) << ':';
    o.Number(c.padKeys[i]);
    anyPad = true;
  }
  if (!anyPad) o << '-';
  o << " stick=";
  o.Number(c.stickX) << ',';
  o.Number(c.stickY) << " pointer=";
  const int pointer[] = {c.pointerX, c.pointerY, c.pointerWasDown, c.pointerActive};
  o.List(pointer, 4) << '\n';
  return o.used();
}

size_t FormatInputLine(int count, const InputFrame& frame, const std::bitset<kKeyCount>& heldBefore,
                       const InputAxes& axesBefore, char* out, size_t size) {
  Out o(out, size);
  o.Number(count) << ' ';
  WriteKeys(o, frame.held);
  WriteHits(o, frame, heldBefore);
  WriteChars(o, frame);
  WriteAxes(o, frame.axes, axesBefore);
  o << '\n';
  return o.used();
}

RunWriter::~RunWriter() {
  if (file_) std::fclose(file_);
}

bool RunWriter::Open(const std::string& path, std::string& message) {
  RunFileStart start = RunFileStart::kNoLine;
  bool unended = false;
  if (!ReadStart(path, start, unended, message)) return false;
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) {
    message = path + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
  }
  Start(file, path, start != RunFileStart::kFormatLine, unended);
  message = problem_;
  return !Failed();
}

void RunWriter::Adopt(std::FILE* file, std::string name) {
  Start(file, std::move(name), true, false);
}

void RunWriter::Start(std::FILE* file, std::string name, bool formatLine, bool endLastLine) {
  if (file_) std::fclose(file_);
  file_ = file;
  name_ = std::move(name);
  problem_.clear();
  if (endLastLine) Write("\n");
  if (formatLine) {
    Write(kRunFileFormat);
    Write(kFormatComment);
  }
  Flush();
}

void RunWriter::Write(std::string_view text) {
  if (file_ && !Failed() && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
    Fail(errno);
}

void RunWriter::Flush() {
  if (file_ && !Failed() && std::fflush(file_) != 0) Fail(errno);
}

void RunWriter::Fail(int error) {
  problem_ = name_ + ": cannot be written (" + std::strerror(error) + ")";
}

void RunWriter::BeginRun(const RunHeader& header) {
  if (inRun_) EndRun({});
  Write(std::string_view(line_.data(), FormatHeader(header, line_.data(), line_.size())));
  previous_ = InputFrame();
  pending_ = 0;
  inRun_ = true;
}

void RunWriter::Add(const InputFrame& frame) {
  if (!inRun_) return;
  const bool axesMoved = !SameAxes(frame.axes, previous_.axes);
  const bool firstMoved = !SameAxes(first_.axes, axesBeforeFirst_);
  if (pending_ > 0 && pending_ < kMaxLineCount && !axesMoved && !firstMoved &&
      SameLine(frame, previous_.held, first_, heldBeforeFirst_)) {
    ++pending_;
  } else {
    WritePending();
    first_ = frame;
    heldBeforeFirst_ = previous_.held;
    axesBeforeFirst_ = previous_.axes;
    pending_ = 1;
  }
  previous_ = frame;
}

void RunWriter::WritePending() {
  if (pending_ == 0) return;
  const size_t n = FormatInputLine(pending_, first_, heldBeforeFirst_, axesBeforeFirst_,
                                   line_.data(), line_.size());
  Write(std::string_view(line_.data(), n));
  pending_ = 0;
}

void RunWriter::EndRun(std::string_view endLine) {
  if (!inRun_) return;
  WritePending();
  if (!endLine.empty()) {
    Write(endLine);
    Write("\n");
  }
  inRun_ = false;
  Flush();
}
