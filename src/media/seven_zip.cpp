#include "media/seven_zip.h"

#include <cstring>
#include <exception>
#include <memory>

#include "platform/local_time.h"

namespace korvane::media {
namespace {

// The values the built-in callbacks answer with; each worker thread has its own.
thread_local std::string stored_password;
thread_local bool stored_answer_all = false;

template <class Function>
Status Resolve(const platform::DynamicLibrary& module, const std::filesystem::path& path, const char* name,
               Function& function) {
  function = reinterpret_cast<Function>(module.Symbol(name));
  if (!function) return Error{"the archive library " + path.string() + " lacks the export " + name};
  return Ok();
}

}  // namespace

Result<ArchiveLibrary> ArchiveLibrary::Load(const std::filesystem::path& path) {
  auto module = platform::DynamicLibrary::Load(path);
  if (!module) return Error{module.error()};
  ArchiveLibrary library;
  library.module_ = std::move(module.value());
  for (Status status : {Resolve(library.module_, path, "ExtractArchive", library.extract_archive),
                        Resolve(library.module_, path, "GetLastArchiveError", library.get_last_archive_error),
                        Resolve(library.module_, path, "OpenListArchive", library.open_list_archive),
                        Resolve(library.module_, path, "CloseListArchive", library.close_list_archive)}) {
    if (!status) return Error{status.error()};
  }
  return library;
}

void StoreBuiltInPassword(const std::string& password) { stored_password = password; }

int32_t VOK_CALL BuiltInPasswordCallback(char* buffer) {
  if (stored_password.empty() || !buffer) return 0;
  size_t n = std::min(stored_password.size(), vok::kPasswordBufferSize - 1);
  std::memcpy(buffer, stored_password.data(), n);
  buffer[n] = '\0';
  stored_password.clear();
  return 1;
}

int32_t VOK_CALL BuiltInProgressCallback(const char*, uint32_t, uint32_t, uint32_t, uint32_t) { return 1; }

int32_t VOK_CALL BuiltInSecondCallback(const char*, int32_t) { return 1; }

void StoreBuiltInAnswerAll(bool answer_all) { stored_answer_all = answer_all; }

int32_t VOK_CALL BuiltInOverwriteCallback(const char*, uint32_t, uint32_t, uint32_t, uint32_t, const char*, uint32_t,
                                          uint32_t, uint32_t, uint32_t) {
  return stored_answer_all ? vok::kOverwriteAll : vok::kOverwrite;
}

bool SevenZipExtract(const ArchiveLibrary& library, const std::string& archive, const std::string& password,
                     const std::string& destination, bool mode_flag, bool answer_all, std::string& error_text,
                     const std::vector<std::string>* entries, const ExtractCallbacks& callbacks) {
  error_text.clear();
  try {
    std::vector<std::string> listed;
    if (!entries) {
      if (!SevenZipList(library, archive, password, error_text, ListOutputs{.names = &listed})) return false;
      entries = &listed;
    }
    // One allocated copy of each name, as the library's record wants them.
    std::vector<std::unique_ptr<char[]>> copies;
    std::vector<char*> pointers;
    copies.reserve(entries->size());
    for (const std::string& name : *entries) {
      copies.push_back(std::make_unique<char[]>(name.size() + 1));
      std::memcpy(copies.back().get(), name.c_str(), name.size() + 1);
      pointers.push_back(copies.back().get());
    }
    vok::TargetFiles targets{pointers.data(), static_cast<int32_t>(pointers.size())};

    vok::ProgressCallback progress = callbacks.progress ? callbacks.progress : BuiltInProgressCallback;
    vok::OverwriteCallback overwrite = callbacks.overwrite;
    if (!overwrite) {
      StoreBuiltInAnswerAll(answer_all);
      overwrite = BuiltInOverwriteCallback;
    }
    vok::EntryCallback second = callbacks.second ? callbacks.second : BuiltInSecondCallback;
    vok::PasswordCallback password_callback = callbacks.password;
    if (!password_callback) {
      StoreBuiltInPassword(password);
      password_callback = BuiltInPasswordCallback;
    }
    int32_t result = library.extract_archive(archive.c_str(), 1, destination.c_str(), &targets, mode_flag ? 0 : 1,
                                             password.c_str(), password_callback, progress, second, overwrite);
    if (result != 0) return true;
    error_text = "#" + std::to_string(library.get_last_archive_error());
    return false;
  } catch (const std::exception& error) {
    error_text = error.what();
    return false;
  }
}

bool SevenZipList(const ArchiveLibrary& library, const std::string& archive, const std::string& password,
                  std::string& error_text, const ListOutputs& outputs, vok::PasswordCallback password_callback) {
  error_text.clear();
  try {
    for (auto* list : {outputs.names, outputs.attributes, outputs.sizes, outputs.packed_sizes, outputs.dates})
      if (list) list->clear();
    if (!password_callback) {
      StoreBuiltInPassword(password);
      password_callback = BuiltInPasswordCallback;
    }
    vok::ListEntry* records = nullptr;
    int32_t count = 0;
    vok::ListHandle handle =
        library.open_list_archive(archive.c_str(), 0, password_callback, 0, 0, 0, password.c_str(), &records, &count);
    if (!handle) {
      switch (library.get_last_archive_error()) {
        case vok::kArchiveNotFound: error_text = kArchiveNotFoundText; break;
        case vok::kIllegalPath: error_text = kIllegalPathText; break;
        case vok::kUnsupportedOrWrongPassword: error_text = kUnsupportedArchiveText; break;
        default: error_text = kGeneralListFailureText; break;
      }
      return false;
    }
    // The record is read at fixed offsets, as the library's contract lays it out.
    const auto* bytes = reinterpret_cast<const uint8_t*>(records);
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t* record = bytes + static_cast<size_t>(i) * sizeof(vok::ListEntry);
      auto read = [record](size_t offset, auto value) {
        std::memcpy(&value, record + offset, sizeof value);
        return value;
      };
      if (outputs.names) outputs.names->emplace_back(read(0, static_cast<const char*>(nullptr)));
      if (outputs.attributes) outputs.attributes->push_back(std::to_string(read(40, uint32_t{0})));
      if (outputs.sizes) outputs.sizes->push_back(std::to_string(read(8, uint64_t{0})));
      if (outputs.packed_sizes) outputs.packed_sizes->push_back(std::to_string(read(16, uint64_t{0})));
      if (outputs.dates) outputs.dates->push_back(platform::LocalDateTimeText(read(32, uint64_t{0})));
    }
    library.close_list_archive(handle);
    return true;
  } catch (const std::exception& error) {
    error_text = error.what();
    return false;
  }
}

}  // namespace korvane::media
