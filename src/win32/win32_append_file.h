#pragma once
// The traffic log's file, appended to through one open handle.
#include "platform/append_file.h"
#include "win32/owned.h"

namespace skylet::win32 {

class AppendFile : public platform::AppendFile {
 public:
  bool Open(const std::string& path, uint64_t& size, std::string& error) override;
  bool Append(const std::string& bytes, std::string& error) override;
  void Close() override { file_.Reset(); }

 private:
  KernelHandle file_;
};

}  // namespace skylet::win32
