// A restartable worker thread: each Start runs Run__UNSAFE__ once on a new platform thread.
#pragma once

#include <atomic>
#include <memory>

class KvThread {
 public:
  KvThread() = default;
  KvThread(const KvThread&) = delete;
  KvThread& operator=(const KvThread&) = delete;
  // The object must outlive every run it started: the platform thread is detached.
  virtual ~KvThread() = default;

  // Does nothing while running. A thread that cannot be created prints "CreateThread failed!"
  // and ends the process with status -1.
  virtual void Start();
  virtual bool IsRunning() const;
  // Read once the run has finished; the run sets it.
  virtual std::shared_ptr<void> Result() const;
  virtual void SetResult(std::shared_ptr<void> result);
  virtual void Run__UNSAFE__() = 0;

 private:
  static constexpr int kNeverStarted = 0;
  static constexpr int kRunning = 1;
  static constexpr int kFinished = 2;

  // Ending a run stores kFinished with release, so whatever the run wrote is visible to a
  // thread that sees the thread no longer running.
  std::atomic<int> state_{kNeverStarted};
  std::shared_ptr<void> result_;
};
