#pragma once
// A file that grows at its end, for the day's traffic log: opened before its
// first block (its folder made when missing), then appended to.
#include <cstdint>
#include <string>

namespace skylet::platform {

class AppendFile {
 public:
  virtual ~AppendFile() = default;
  // Opens `path` for appending, a file already there kept; `size` is its
  // length so far. An open file is closed first. On failure `error` says why.
  virtual bool Open(const std::string& path, uint64_t& size, std::string& error) = 0;
  // Writes the bytes at the end and hands them to the system.
  virtual bool Append(const std::string& bytes, std::string& error) = 0;
  // Harmless on a closed file.
  virtual void Close() = 0;
};

}  // namespace skylet::platform
