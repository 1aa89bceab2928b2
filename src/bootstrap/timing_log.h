#pragma once
// The timing log: a plain trace of the start-up and shutdown phases, one entry per line.

#include <functional>
#include <string>
#include <string_view>

namespace korvane {

class TimingLog {
 public:
  // Writes one line to the file; truncate is set for the first line of the process.
  using LineWriter = std::function<void(std::string_view path, std::string_view line, bool truncate)>;

  explicit TimingLog(LineWriter writer) : writer_(std::move(writer)) {}

  // The log path is kept lower-cased; an empty path switches the log off.
  void SetPath(std::string_view path);
  [[nodiscard]] const std::string& Path() const { return path_; }

  // Writes one entry. The first entry of the process creates or empties the file.
  void Write(std::string_view entry);

 private:
  LineWriter writer_;
  std::string path_;
  bool written_ = false;
};

}  // namespace korvane
