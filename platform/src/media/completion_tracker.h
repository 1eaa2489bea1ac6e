// The graph's default handling of EC_COMPLETE: renderers report the end of
// their streams one by one; the application gets one EC_COMPLETE once all
// of the graph's renderers have reported.
//
// Start names how many renderers to wait for (the graph does it as it
// leaves Stopped); Stop ignores later reports until the next Start. Each
// renderer counts once (a report names its filter; reports that name none
// count each), and once every renderer has reported, further reports are
// ignored. With no renderer to wait for, nothing completes.
//
// Reports come on streaming threads: the tracker has its own lock, a leaf.
#pragma once

#include <basetsd.h>

#include <mutex>
#include <set>

namespace platform::media {

class CompletionTracker {
 public:
  void Start(size_t renderers);
  void Stop();
  // True for the report that completes the graph.
  bool Report(LONG_PTR renderer);

 private:
  std::mutex m_lock;
  bool m_counting = false;       // guarded by m_lock
  size_t m_expected = 0;         // guarded by m_lock
  size_t m_reported = 0;         // guarded by m_lock
  std::set<LONG_PTR> m_senders;  // guarded by m_lock
};

}  // namespace platform::media
