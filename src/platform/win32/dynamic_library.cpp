#include "platform/dynamic_library.h"

#include <windows.h>

namespace korvane::platform {

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

Result<DynamicLibrary> DynamicLibrary::Load(const std::filesystem::path& path) {
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) {
    return Error{"cannot load the library " + path.string() + " (system error " + std::to_string(GetLastError()) +
                 ")"};
  }
  DynamicLibrary library;
  library.handle_ = module;
  return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace korvane::platform
