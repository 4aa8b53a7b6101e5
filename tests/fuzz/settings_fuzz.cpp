// Settings files of any shape: the field and line readers, the hexadecimal
// fields, and the start-up with the input as the content of every file.
// Nothing may crash or read out of bounds, and the field reader must always
// reach the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "fakes/fakes.h"
#include "fuzz_check.h"
#include "hamlib/daemon.h"
#include "settings/field_reader.h"
#include "settings/hex.h"

namespace {

namespace settings = skylet::settings;
namespace hamlib = skylet::hamlib;

void CheckHex(std::string_view text) {
  settings::ParseHexByte(text, settings::HexByteSpan::ToEnd);
  settings::ParseHexByte(text, settings::HexByteSpan::TwoDigits);
  settings::ParseHexAddress(text);
}

void CheckFieldReader(std::string_view input) {
  settings::FieldReader reader(input);
  size_t fields = 0;
  size_t characters = 0;
  while (const auto field = reader.Next()) {
    reader.AtEndOfRecords();
    CheckHex(*field);
    characters += field->size();
    // Each field uses up at least one byte (its text or its separator).
    FUZZ_CHECK(++fields <= input.size());
  }
  FUZZ_CHECK(characters <= input.size());
  FUZZ_CHECK(reader.AtEndOfRecords());
  FUZZ_CHECK(reader.FieldsRead() == static_cast<int>(fields));
}

void CheckLines(std::string_view input) {
  size_t characters = 0;
  for (const std::string& line : settings::SplitLines(input)) {
    settings::IsCommentLine(line);
    CheckHex(line);
    characters += line.size();
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
  }
  FUZZ_CHECK(characters <= input.size());
}

void ReadEveryFile(std::string_view input) {
  skylet::fakes::FakeStation fs;
  fs.files.everyFile = std::string(input);
  skylet::Station& st = fs.st;
  // The whole start-up, partners' links and all (a program end is a documented outcome).
  try {
    skylet::app::StartUp(st);
  } catch (const skylet::fakes::ProgramEnded&) {
  }
  // A daemon in use only ever gets an address its link can use.
  const hamlib::HamlibSettings& h = st.hamlib.live;
  FUZZ_CHECK((h.RigOn != "+" || hamlib::ParseAddress(h.RigAddress)) &&
             (h.RotOn != "+" || hamlib::ParseAddress(h.RotAddress)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckFieldReader(input);
  CheckLines(input);
  ReadEveryFile(input);
  return 0;
}
