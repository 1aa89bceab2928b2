// Extraction of one large solid archive (about 100 MiB of mixed text and binary files, LZMA2 at
// level 5) by the archive library's reader (the vok-extract tool) and by Debian's 7zz on one
// thread, each as a child process, alternating within every iteration. Reports both times, their
// ratio (goal: at most 1.25), each tool's peak memory and the archive's dictionary size.
//
// The data and the archive are made at start in a temporary folder and removed at the end.
// Set KORVANE_BENCH_MIB to change the amount of data (default 100).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_operations.h"
#include "archive/seven_zip_archive.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

struct ChildRun {
  double seconds = 0;
  double peak_mib = 0;
  int status = -1;
};

// Runs a program with its arguments and waits for it; its own resource usage gives the peak.
ChildRun Run(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ChildRun run;
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peak_mib = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

// Text of words and numbers in lines, like logs, sources and documents.
void WriteText(std::ofstream& out, std::mt19937_64& random, size_t bytes) {
  static const char* words[] = {"setup",  "install", "folder",  "registry", "value",  "the",     "of",
                                "and",    "file",    "version", "product",  "update", "service", "user",
                                "system", "error",   "return",  "string",   "const",  "window"};
  std::string text;
  text.reserve(bytes + 128);
  while (text.size() < bytes) {
    size_t count = 4 + random() % 12;
    for (size_t i = 0; i < count; ++i) {
      text += words[random() % std::size(words)];
      text += (random() % 7 == 0) ? " " + std::to_string(random() % 100000) + " " : " ";
    }
    text += '\n';
  }
  out.write(text.data(), static_cast<std::streamsize>(bytes));
}

// Binary: tables of slowly changing numbers, machine-code-like runs and stretches of noise.
void WriteBinary(std::ofstream& out, std::mt19937_64& random, size_t bytes) {
  std::string data;
  data.reserve(bytes + 64);
  while (data.size() < bytes) {
    switch (random() % 3) {
      case 0: {
        uint32_t value = static_cast<uint32_t>(random());
        for (int i = 0; i < 4096; ++i) {
          value += static_cast<uint32_t>(random() % 64);
          data.append(reinterpret_cast<const char*>(&value), 4);
        }
        break;
      }
      case 1:
        for (int i = 0; i < 2048; ++i) {
          static const char prologue[] = {'\x55', '\x8b', '\xec', '\x83', '\xec'};
          data.append(prologue, sizeof prologue);
          data += static_cast<char>(0xE8);
          uint32_t target = static_cast<uint32_t>(random() % 65536);
          data.append(reinterpret_cast<const char*>(&target), 4);
        }
        break;
      default:
        for (int i = 0; i < 2048; ++i) {
          uint64_t noise = random();
          data.append(reinterpret_cast<const char*>(&noise), 8);
        }
        break;
    }
  }
  out.write(data.data(), static_cast<std::streamsize>(bytes));
}

class Workload {
 public:
  Workload() {
    const char* mib_text = std::getenv("KORVANE_BENCH_MIB");
    size_t mib = mib_text ? std::strtoul(mib_text, nullptr, 10) : 100;
    folder_ = fs::temp_directory_path() / ("korvane-bench-extract-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "tree");
    std::mt19937_64 random(20261211);
    size_t total = mib << 20, written = 0;
    for (int i = 0; written < total; ++i) {
      size_t size = std::min<size_t>(total - written, (size_t{64} << 10) + random() % (size_t{2} << 20));
      bool text = i % 5 < 3;
      fs::path file = folder_ / "tree" / ("part" + std::to_string(i % 7)) / ("file" + std::to_string(i) + (text ? ".txt" : ".bin"));
      fs::create_directories(file.parent_path());
      std::ofstream out(file, std::ios::binary);
      if (text)
        WriteText(out, random, size);
      else
        WriteBinary(out, random, size);
      written += size;
      ++files_;
    }
    data_mib_ = static_cast<double>(written) / (1 << 20);
    archive_ = folder_ / "data.7z";
    ChildRun made = Run({"7zz", "a", "-bso0", "-bsp0", "-m0=LZMA2", "-mx5", "-ms=on", "-mmt2", archive_.string(),
                         (folder_ / "tree").string() + "/."});
    ok_ = made.status == 0;
    if (!ok_) {
      error_ = "7zz could not make the archive (is Debian's 7zip installed?)";
      return;
    }
    archive::PasswordSource none([] { return std::optional<std::u16string>(); });
    auto opened = archive::SevenZipArchive::Open(archive_, none);
    for (const auto& block : opened->database().folders)
      for (const auto& coder : block.coders)
        if (coder.method == archive::method::kLzma2 && !coder.properties.empty()) {
          unsigned p = coder.properties[0];
          dictionary_mib_ = std::max(dictionary_mib_, static_cast<double>((2u | (p & 1u)) << (p / 2 + 11)) / (1 << 20));
        }
  }
  ~Workload() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  [[nodiscard]] bool ok() const { return ok_; }
  [[nodiscard]] const std::string& error() const { return error_; }
  [[nodiscard]] const fs::path& folder() const { return folder_; }
  [[nodiscard]] const fs::path& archive() const { return archive_; }
  [[nodiscard]] double data_mib() const { return data_mib_; }
  [[nodiscard]] int files() const { return files_; }
  [[nodiscard]] double dictionary_mib() const { return dictionary_mib_; }
  [[nodiscard]] double archive_mib() const { return static_cast<double>(fs::file_size(archive_)) / (1 << 20); }

 private:
  fs::path folder_;
  fs::path archive_;
  bool ok_ = false;
  std::string error_;
  double data_mib_ = 0;
  int files_ = 0;
  double dictionary_mib_ = 0;
};

Workload& TheWorkload() {
  static Workload workload;
  return workload;
}

ChildRun ExtractWithVok(const fs::path& archive, const fs::path& out) {
  fs::remove_all(out);
  return Run({KORVANE_VOK_EXTRACT, archive.string(), out.string()});
}

ChildRun ExtractWith7zz(const fs::path& archive, const fs::path& out) {
  fs::remove_all(out);
  return Run({"7zz", "x", "-mmt1", "-bso0", "-bsp0", "-y", "-o" + out.string(), archive.string()});
}

void BM_ExtractSolidLzma2VersusReference(benchmark::State& state) {
  Workload& work = TheWorkload();
  if (!work.ok()) {
    state.SkipWithError(work.error().c_str());
    return;
  }
  const fs::path ours_out = work.folder() / "out-vok", reference_out = work.folder() / "out-7zz";
  // One untimed round warms the page cache for both.
  if (ExtractWithVok(work.archive(), ours_out).status != 0 || ExtractWith7zz(work.archive(), reference_out).status != 0) {
    state.SkipWithError("an extraction failed");
    return;
  }
  double ours_total = 0, reference_total = 0, ours_peak = 0, reference_peak = 0;
  bool ours_first = true;
  for (auto _ : state) {
    ChildRun ours, reference;
    if (ours_first) {
      ours = ExtractWithVok(work.archive(), ours_out);
      reference = ExtractWith7zz(work.archive(), reference_out);
    } else {
      reference = ExtractWith7zz(work.archive(), reference_out);
      ours = ExtractWithVok(work.archive(), ours_out);
    }
    ours_first = !ours_first;
    if (ours.status != 0 || reference.status != 0) {
      state.SkipWithError("an extraction failed");
      return;
    }
    state.SetIterationTime(ours.seconds);
    ours_total += ours.seconds;
    reference_total += reference.seconds;
    ours_peak = std::max(ours_peak, ours.peak_mib);
    reference_peak = std::max(reference_peak, reference.peak_mib);
  }
  double n = static_cast<double>(state.iterations());
  state.counters["vok_s"] = ours_total / n;
  state.counters["7zz_s"] = reference_total / n;
  state.counters["ratio"] = ours_total / reference_total;
  state.counters["vok_peak_MiB"] = ours_peak;
  state.counters["7zz_peak_MiB"] = reference_peak;
  state.counters["dict_MiB"] = work.dictionary_mib();
  state.counters["data_MiB"] = work.data_mib();
  state.counters["files"] = work.files();
  state.counters["archive_MiB"] = work.archive_mib();
  state.SetBytesProcessed(static_cast<int64_t>(work.data_mib() * (1 << 20)) * state.iterations());
}
BENCHMARK(BM_ExtractSolidLzma2VersusReference)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

BENCHMARK_MAIN();
