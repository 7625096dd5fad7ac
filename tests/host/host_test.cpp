// The host's fatal paths: each ends the program with one message and its status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "base/runtime.h"
#include "child_process.h"
#include "game/core/app.h"
#include "host/kv_game.h"
#include "host/signals.h"

namespace {

// Throws what it is given from an update.
template <typename Thrown>
class ThrowingDelegate : public KvGameDelegate {
 public:
  void UpdateGame() override { throw Thrown(); }
};

// Set in a child just before it raises a fatal signal: the signal may arrive inside the
// allocator, so its handler must not allocate.
volatile std::sig_atomic_t allocationForbidden = 0;

}  // namespace

// The replacements pair malloc with free; GCC, seeing them inlined where operator new was
// called, takes that for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (allocationForbidden) std::abort();
  if (void* block = std::malloc(size > 0 ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
#pragma GCC diagnostic pop

// Memory running out ends the program with one line on standard error, not an abort; a fatal
// signal is reported without allocating.
TEST(Host, FatalPathsEndTheProgramWithOneMessage) {
  const auto updating = [](auto delegate) {
    return [delegate]() mutable {
      dup2(STDOUT_FILENO, STDERR_FILENO);
      KvGame host;
      host.SetDelegate(&delegate);
      host.StartGame();
      host.UpdateGame();
    };
  };
  const auto raising = [](int signal) {
    return [signal] {
      InstallSignalHandlers();
      allocationForbidden = 1;
      std::raise(signal);
    };
  };
  const struct {
    std::function<void()> body;
    int status;
    std::string output;
  } rows[] = {
      {updating(ThrowingDelegate<BriskoThrowable>()), 255,
       "Brisko Runtime Error : Uncaught Brisko Exception\n"},
      {updating(ThrowingDelegate<std::bad_alloc>()), 1, "zorvane: out of memory\n"},
      {[] {
         KvGame host;
         kvInit();
         new App();
         new App();
       },
       255, "Brisko Runtime Error : App has already been created\n\n"},
      {raising(SIGSEGV), 255, "Brisko Runtime Error : Memory access violation\n\n"},
  };
  for (const auto& row : rows) {
    const auto result = RunInChild(row.body);
    EXPECT_EQ(result.status, row.status) << row.output;
    EXPECT_EQ(result.output, row.output);
  }
}
