// Where a stream's bytes live: an element of a compound file, or a block of
// global memory. A stream object reads and writes through this interface
// and keeps only its own seek position.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform::storage {

class StreamBytes {
 public:
  virtual ~StreamBytes() = default;

  virtual uint64_t Size() const = 0;
  // Reads up to count bytes at offset (none past the end); returns how many.
  virtual size_t Read(uint64_t offset, void *buffer, size_t count) const = 0;
  // Writes count bytes at offset, growing the data (zero-filled) as needed.
  virtual HRESULT Write(uint64_t offset, const void *buffer, size_t count) = 0;
  virtual HRESULT Resize(uint64_t size) = 0;

  // The element's name for Stat, or empty (a memory stream has none).
  virtual std::wstring Name() const = 0;
};

}  // namespace platform::storage
