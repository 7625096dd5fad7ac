#include "net/async_events.h"

#include <algorithm>
#include <vector>

#include "base/runtime.h"

namespace {

using SourceList = std::vector<std::shared_ptr<IAsyncEventSource>>;

// Never destroyed: worker threads of the sources may still be running when the process ends.
SourceList& Sources() {
  static auto* sources = new SourceList;
  return *sources;
}

IAsyncEventSource* current = nullptr;

}  // namespace

void AddAsyncEventSource(std::shared_ptr<IAsyncEventSource> source) {
  SourceList& sources = Sources();
  if (std::find(sources.begin(), sources.end(), source) != sources.end()) {
    kvError("Async event source is already active");
  }
  sources.push_back(std::move(source));
}

int UpdateAsyncEvents() {
  if (current) return 0;
  SourceList& sources = Sources();
  // By index: a callback may add a source (a new socket), which can move the list.
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::shared_ptr<IAsyncEventSource> source = sources[i];
    current = source.get();
    source->UpdateAsyncEvents();
  }
  current = nullptr;
  return 0;
}
