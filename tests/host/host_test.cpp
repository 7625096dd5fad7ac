// The host's start-up rules and fatal paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <new>

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

TEST(Host, DateFillsAsManyFieldsAsTheArrayHolds) {
  KvGame host;
  std::vector<int> three(3), eight(8, -5), none;
  host.GetDate(three);
  host.GetDate(eight);
  host.GetDate(none);
  EXPECT_TRUE(three[0] >= 2024 && three[1] >= 1 && three[1] <= 12 && three[2] >= 1);
  EXPECT_EQ(eight[6], 0);
  EXPECT_EQ(eight[7], -5);
}

TEST(Host, EventsReachTheDelegateOnlyOnceStartedAndNotSuspended) {
  class Counting : public KvGameDelegate {
   public:
    void UpdateGame() override { ++updates; }
    void KeyEvent(int, int) override { ++keys; }
    int updates = 0, keys = 0;
  } delegate;
  KvGame host;
  host.SetDelegate(&delegate);
  host.UpdateGame();
  host.KeyEvent(kEventKeyDown, 65);
  EXPECT_EQ(delegate.updates + delegate.keys, 0);
  host.StartGame();
  host.SuspendGame();
  host.UpdateGame();
  host.KeyEvent(kEventKeyDown, 65);
  EXPECT_EQ(delegate.updates, 0);
  EXPECT_EQ(delegate.keys, 1);
  host.ResumeGame();
  host.UpdateGame();
  EXPECT_EQ(delegate.updates, 1);
}

// Memory running out ends the program with one line on standard error, not an abort.
TEST(Host, AnEscapingThrowableOrRunningOutOfMemoryEndsTheProgram) {
  const auto endedBy = [](auto delegate) {
    return RunInChild([&delegate] {
      dup2(STDOUT_FILENO, STDERR_FILENO);
      KvGame host;
      host.SetDelegate(&delegate);
      host.StartGame();
      host.UpdateGame();
    });
  };
  const auto thrown = endedBy(ThrowingDelegate<BriskoThrowable>());
  EXPECT_EQ(thrown.status, 255);
  EXPECT_EQ(thrown.output, "Brisko Runtime Error : Uncaught Brisko Exception\n");
  const auto outOfMemory = endedBy(ThrowingDelegate<std::bad_alloc>());
  EXPECT_EQ(outOfMemory.status, 1);
  EXPECT_EQ(outOfMemory.output, "zorvane: out of memory\n");
}

TEST(Host, ASecondAppIsARuntimeError) {
  const auto result = RunInChild([] {
    KvGame host;
    kvInit();
    new App();
    new App();
  });
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.output, "Brisko Runtime Error : App has already been created\n\n");
}

TEST(Host, FatalSignalsBecomeRuntimeErrorsWithoutAllocating) {
  const std::pair<int, const char*> cases[] = {{SIGFPE, "Floating point exception"},
                                               {SIGSEGV, "Memory access violation"},
                                               {SIGILL, "Illegal instruction"}};
  for (const auto& [signal, message] : cases) {
    const auto result = RunInChild([signal = signal] {
      InstallSignalHandlers();
      allocationForbidden = 1;
      std::raise(signal);
    });
    EXPECT_EQ(result.status, 255) << message;
    EXPECT_EQ(result.output, std::string("Brisko Runtime Error : ") + message + "\n\n");
  }
  EXPECT_EQ(SignalMessage(SIGTERM), "Unknown signal");
}
