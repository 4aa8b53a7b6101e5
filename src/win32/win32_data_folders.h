#pragma once
// Where the program and its settings live.
#include <string>

#include "platform/data_folders.h"

namespace skylet::win32 {

class DataFolders : public platform::DataFolders {
 public:
  std::string ProgramFolder() override;
  platform::AppDataLookup RoamingAppData() override;
};

}  // namespace skylet::win32
