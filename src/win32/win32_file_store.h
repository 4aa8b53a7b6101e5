#pragma once
// The settings files on disk.
#include <string>

#include "platform/file_store.h"

namespace skylet::win32 {

class FileStore : public platform::FileStore {
 public:
  platform::FileRead Read(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool Write(const std::string& path, const std::string& bytes, std::string& error) override;
};

}  // namespace skylet::win32
