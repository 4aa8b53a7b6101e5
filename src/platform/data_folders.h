#pragma once
// Where the program lies and the user's roaming application-data folder.
#include <string>

namespace skylet::platform {

struct AppDataLookup {
  enum class Result { Ok, InvalidFolderId, FolderDoesNotExist, OtherFailure };
  Result result = Result::OtherFailure;
  std::string path;  // without a trailing backslash; only with Ok
};

class DataFolders {
 public:
  virtual ~DataFolders() = default;
  // The folder of the program file, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
  virtual AppDataLookup RoamingAppData() = 0;
};

}  // namespace skylet::platform
