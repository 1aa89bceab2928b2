// The exports of the archive library "vok.lib". No exception leaves these functions: every
// failure becomes a code for GetLastArchiveError.

#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>

#include "archive/archive_error.h"
#include "archive/archive_operations.h"
#include "archive/vok_exports.h"
#include "platform/ansi_text.h"

using namespace korvane;
using namespace korvane::vok;

namespace {

thread_local uint32_t last_error = kNoError;

// A listing handed out by OpenListArchive: the entry records and the names they point to.
struct Listing {
  std::vector<std::string> names;
  std::vector<ListEntry> records;
};

std::mutex listings_lock;
std::set<Listing*> listings;

archive::AskPassword PasswordAsker(const char* password, PasswordCallback callback) {
  return [password, callback]() -> std::optional<std::u16string> {
    if (password && *password) return platform::Utf16FromAnsi(password);
    if (!callback) return std::nullopt;
    auto buffer = std::make_unique<char[]>(kPasswordBufferSize);
    std::memset(buffer.get(), 0, kPasswordBufferSize);
    if (callback(buffer.get()) == 0) return std::nullopt;
    buffer[kPasswordBufferSize - 1] = '\0';
    return platform::Utf16FromAnsi(buffer.get());
  };
}

template <class Action>
bool Guarded(Action action) {
  try {
    action();
    last_error = kNoError;
    return true;
  } catch (const archive::ArchiveError& error) {
    last_error = error.code();
  } catch (const std::bad_alloc&) {
    last_error = kLimitExceeded;
  } catch (...) {
    last_error = kInternalError;
  }
  return false;
}

uint32_t Low(uint64_t value) { return static_cast<uint32_t>(value); }
uint32_t High(uint64_t value) { return static_cast<uint32_t>(value >> 32); }

}  // namespace

extern "C" {

VOK_EXPORT int32_t VOK_CALL ExtractArchive(const char* archive_name, int32_t /*format*/, const char* destination,
                                           const TargetFiles* targets, int32_t mode, const char* password,
                                           PasswordCallback password_callback, ProgressCallback progress_callback,
                                           EntryCallback entry_callback, OverwriteCallback overwrite_callback) {
  bool ok = Guarded([&] {
    if (!archive_name || !destination || !*destination)
      throw archive::ArchiveError(kBadArguments, "an archive and a destination folder are needed");
    archive::ExtractRequest request;
    request.archive = platform::PathFromAnsi(archive_name);
    request.destination = platform::PathFromAnsi(destination);
    if (targets && targets->count > 0) {
      if (!targets->names) throw archive::ArchiveError(kBadArguments, "the entry list has no names");
      for (int32_t i = 0; i < targets->count; ++i) {
        if (!targets->names[i]) throw archive::ArchiveError(kBadArguments, "the entry list has an empty slot");
        request.names.emplace_back(targets->names[i]);
      }
    }
    request.flatten = mode == 1;
    request.ask_password = PasswordAsker(password, password_callback);
    if (progress_callback) {
      request.progress = [progress_callback](const std::string& name, uint64_t done, uint64_t total) {
        return progress_callback(name.c_str(), Low(done), High(done), Low(total), High(total)) != 0;
      };
    }
    if (entry_callback) {
      request.entry = [entry_callback](const std::string& name, bool is_folder) {
        return entry_callback(name.c_str(), is_folder ? 1 : 0) != 0;
      };
    }
    if (overwrite_callback) {
      request.overwrite = [overwrite_callback](const std::string& name, uint64_t existing_size, uint64_t existing_time,
                                               uint64_t new_size, uint64_t new_time) {
        return overwrite_callback(name.c_str(), Low(existing_size), High(existing_size), Low(existing_time),
                                  High(existing_time), name.c_str(), Low(new_size), High(new_size), Low(new_time),
                                  High(new_time));
      };
    }
    archive::ExtractToFolder(request);
  });
  return ok ? 1 : 0;
}

VOK_EXPORT uint32_t VOK_CALL GetLastArchiveError() { return last_error; }

VOK_EXPORT ListHandle VOK_CALL OpenListArchive(const char* archive_name, int32_t /*format*/,
                                               PasswordCallback password_callback, int32_t, int32_t, int32_t,
                                               const char* password, ListEntry** entries, int32_t* count) {
  Listing* made = nullptr;
  bool ok = Guarded([&] {
    if (!archive_name || !entries || !count)
      throw archive::ArchiveError(kBadArguments, "an archive and places for the entries are needed");
    auto listed = archive::ListArchive(platform::PathFromAnsi(archive_name), PasswordAsker(password, password_callback));
    auto listing = std::make_unique<Listing>();
    listing->names.reserve(listed.size());
    listing->records.resize(listed.size());
    for (size_t i = 0; i < listed.size(); ++i) {
      listing->names.push_back(listed[i].name);
      ListEntry& record = listing->records[i];
      std::memset(&record, 0, sizeof record);
      record.size = listed[i].size;
      record.packed_size = listed[i].packed_size;
      record.crc = listed[i].crc.value_or(0);
      record.flags = (listed[i].is_folder ? kEntryIsFolder : 0u) | (listed[i].crc ? kEntryHasCrc : 0u) |
                     (listed[i].encrypted ? kEntryEncrypted : 0u);
      record.modified = listed[i].modified.value_or(0);
      record.attributes = listed[i].attributes;
    }
    for (size_t i = 0; i < listed.size(); ++i) listing->records[i].name = listing->names[i].c_str();
    std::lock_guard lock(listings_lock);
    made = listing.release();
    listings.insert(made);
  });
  if (!ok) return nullptr;
  *entries = made->records.empty() ? nullptr : made->records.data();
  *count = static_cast<int32_t>(made->records.size());
  return made;
}

VOK_EXPORT int32_t VOK_CALL CloseListArchive(ListHandle handle) {
  std::lock_guard lock(listings_lock);
  auto it = listings.find(static_cast<Listing*>(handle));
  if (it == listings.end()) {
    last_error = kBadArguments;
    return 0;
  }
  delete *it;
  listings.erase(it);
  return 1;
}

}  // extern "C"
