#pragma once
// A library module loaded at run time, with its exports looked up by name.

#include <filesystem>
#include <string>

#include "support/result.h"

namespace korvane::platform {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  ~DynamicLibrary();

  // Loads the module at path; the error names the file and the system's reason.
  static Result<DynamicLibrary> Load(const std::filesystem::path& path);
  // Address of an export, or null when the module has none by that name.
  [[nodiscard]] void* Symbol(const char* name) const;
  [[nodiscard]] bool IsLoaded() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

}  // namespace korvane::platform
