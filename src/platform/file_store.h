#pragma once
// Whole-file reads and safe whole-file writes of the settings files. Paths
// and contents are Windows-1252 bytes.
#include <string>

namespace skylet::platform {

struct FileRead {
  enum class Status { Ok, Missing, Unreadable };
  Status status = Status::Missing;
  std::string bytes;
};

class FileStore {
 public:
  virtual ~FileStore() = default;
  virtual FileRead Read(const std::string& path) = 0;
  // True when the folder (a trailing backslash allowed) is there.
  virtual bool FolderExists(const std::string& path) = 0;
  // Replaces the file as a whole: the new contents go to a temporary file
  // beside it, which then takes the file's place. On failure the old file is
  // left as it was and `error` says why.
  virtual bool Write(const std::string& path, const std::string& bytes, std::string& error) = 0;
};

}  // namespace skylet::platform
