#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace korvane::platform {

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) dlclose(handle_);
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_) dlclose(handle_);
}

Result<DynamicLibrary> DynamicLibrary::Load(const std::filesystem::path& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* reason = dlerror();
    return Error{"cannot load the library " + path.string() + " (" + (reason ? reason : "unknown reason") + ")"};
  }
  DynamicLibrary library;
  library.handle_ = module;
  return library;
}

void* DynamicLibrary::Symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

}  // namespace korvane::platform
