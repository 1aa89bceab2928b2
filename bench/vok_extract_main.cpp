// vok-extract ARCHIVE FOLDER [PASSWORD]: extracts a whole archive with the archive library's
// reader, as the setup's vok.lib does. The extraction benchmark runs it as a child process to
// time it and read its peak memory.

#include <cstdio>
#include <optional>
#include <string>

#include "archive/archive_error.h"
#include "archive/archive_operations.h"
#include "platform/ansi_text.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: vok-extract ARCHIVE FOLDER [PASSWORD]\n");
    return 2;
  }
  korvane::archive::ExtractRequest request;
  request.archive = argv[1];
  request.destination = argv[2];
  std::optional<std::u16string> password;
  if (argc == 4) password = korvane::platform::Utf16FromAnsi(argv[3]);
  request.ask_password = [password] { return password; };
  try {
    korvane::archive::ExtractToFolder(request);
  } catch (const korvane::archive::ArchiveError& error) {
    std::fprintf(stderr, "vok-extract: %s: error %u: %s\n", argv[1], static_cast<unsigned>(error.code()), error.what());
    return 1;
  }
  return 0;
}
