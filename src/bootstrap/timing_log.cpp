#include "bootstrap/timing_log.h"

#include "support/text.h"

namespace korvane {

void TimingLog::SetPath(std::string_view path) { path_ = LowerCase(path); }

void TimingLog::Write(std::string_view entry) {
  if (path_.empty()) return;
  writer_(path_, entry, !written_);
  written_ = true;
}

}  // namespace korvane
