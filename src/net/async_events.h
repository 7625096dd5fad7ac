// Objects whose finished work is delivered on the main thread, once per game update.
#pragma once

#include <memory>

class IAsyncEventSource {
 public:
  virtual ~IAsyncEventSource() = default;
  virtual void UpdateAsyncEvents() = 0;
};

// Main thread only. Sources are kept, and so stay alive, for the rest of the run; adding one
// twice is the runtime error "Async event source is already active".
void AddAsyncEventSource(std::shared_ptr<IAsyncEventSource> source);

// Updates every source in the order they were added. A call from inside a source's update
// (a completion callback) returns at once. Main thread only; returns 0.
int UpdateAsyncEvents();
