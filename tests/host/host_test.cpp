// The host's fatal paths: each ends the program with one message and its status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "child_process.h"
#include "host/kv_game.h"
#include "host/signals.h"

namespace {

struct OutOfMemory : KvGameDelegate {
  void UpdateGame() override { throw std::bad_alloc(); }
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

// Memory running out ends the program with one line and status 1, not an abort; a fatal
// signal is reported without allocating.
TEST(Host, FatalPathsEndTheProgramWithOneMessage) {
  const struct {
    std::function<void()> body;
    int status;
    std::string told;
  } rows[] = {
      {[] {
         OutOfMemory delegate;
         KvGame host;
         host.SetDelegate(&delegate);
         host.StartGame();
         host.UpdateGame();
       },
       1, "zorvane: out of memory\n"},
      {[] {
         InstallSignalHandlers();
         allocationForbidden = 1;
         std::raise(SIGSEGV);
       },
       255, "Brisko Runtime Error : Memory access violation\n\n"},
  };
  for (const auto& row : rows) {
    const auto result = RunInChild([&] {
      dup2(STDOUT_FILENO, STDERR_FILENO);
      row.body();
    });
    EXPECT_EQ(std::pair(result.status, result.output), std::pair(row.status, row.told));
  }
}
