// Feeds arbitrary bytes to both form readers (the "TPF0" signature picks the binary one).
// Whatever reads must also check (pictures included), and write back to text and binary forms
// that read to the same model.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wizard/forms/form_classes.h"
#include "wizard/forms/form_reader.h"
#include "wizard/forms/form_writer.h"

using namespace korvane::forms;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto read = ReadForm(bytes, "fuzz.dfm");
  if (!read.ok()) return 0;
  (void)CheckForm(**read, "fuzz.dfm", "line");
  auto text = ReadFormText(WriteFormText(**read), "again.dfm");
  if (!text.ok() || !SameModel(**read, **text)) std::abort();
  auto binary = ReadFormBinary(WriteFormBinary(**read), "again.dfm");
  if (!binary.ok() || !SameModel(**read, **binary)) std::abort();
  return 0;
}
