// PcmQueue: the sound the audio renderer has taken and its output has not
// played yet, as bytes of the stream's format.
//
// The streaming thread writes, the output's thread reads. While the output
// flows (the renderer runs), a write waits for room once the queue holds
// its capacity, which paces a stream that comes faster than it plays; while
// it does not flow (paused, stopped), writes never wait, so that a paused
// renderer never keeps a streaming thread. Clear drops what is queued and
// makes a waiting write drop the rest of its data.
//
// Locks: one lock of its own, a leaf.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace platform::media::audio {

class PcmQueue {
 public:
  // Bytes; what is queued beyond a lowered capacity stays.
  void SetCapacity(size_t capacity);
  // False when a Clear came before all of it was queued.
  bool Write(const BYTE *data, size_t size);
  // Copies up to size bytes into dest: how many it copied.
  size_t Read(BYTE *dest, size_t size);
  // Waits, while the queue flows, until what is queued has been read; false
  // when a Clear or a stop of the flow ended the wait first.
  bool WaitUntilEmpty();
  void Clear();
  void SetFlowing(bool flowing);
  size_t Queued() const;

 private:
  mutable std::mutex m_lock;
  std::condition_variable m_changed;
  std::deque<BYTE> m_bytes;  // guarded by m_lock
  size_t m_capacity = 0;     // guarded by m_lock
  ULONG m_clears = 0;        // guarded by m_lock: counts the Clears
  bool m_flowing = false;    // guarded by m_lock
};

}  // namespace platform::media::audio
