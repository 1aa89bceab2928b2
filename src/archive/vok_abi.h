#pragma once
// The call contract of the archive library "vok.lib", shared by the library and the engine.
//
// Every export and every callback uses the standard Windows calling convention (arguments pushed
// right to left, callee cleans the stack). Texts are zero-terminated ANSI texts (the process code
// page on Windows, UTF-8 on other hosts). 64-bit numbers in callback arguments travel as two 32-bit
// halves, low half first. In the 64-bit build only pointers widen; every other field keeps its size.
//
// Record layouts (offsets in bytes):
//
//   TSZW_TARGETFILES                 32-bit build      64-bit build
//     names   (char**)               0  (4 bytes)      0  (8 bytes)
//     count   (int32)                4                 8
//     size                           8                 16
//
//   list entry (ListEntry)           both builds: 48 bytes
//     name pointer                   0  (4 bytes in the 32-bit build, 8 in the 64-bit build)
//     unpacked size (uint64)         8
//     packed size (uint64)           16   packed bytes of the entry's block, given on the block's
//                                         first entry; 0 on the others and on empty entries
//     crc (uint32)                   24   CRC-32 of the content when has-crc is set
//     flags (uint32)                 28   1 = folder, 2 = has crc, 4 = encrypted
//     modified (FILETIME)            32   UTC; 0 when the archive stores none
//     attributes (uint32)            40   Windows file attributes
//     reserved                       44
//
// Exports:
//   int32 ExtractArchive(archive, format, destination, targets, mode, password,
//                        password callback, progress callback, entry callback, overwrite callback)
//     format: 0 or 1, both mean the 7z format.
//     targets: the entries to extract, named exactly as OpenListArchive lists them; a null record
//              or a count of 0 extracts every entry.
//     mode: 0 writes entries with their folder paths, 1 writes every file straight into the
//           destination (folders are not created).
//     password: used when not empty; otherwise the password callback is asked once, when an
//               encrypted part is met.
//     Result nonzero on success, 0 on failure (code from GetLastArchiveError).
//   uint32 GetLastArchiveError()   code of the calling thread's last failure (codes below).
//   handle OpenListArchive(archive, format, password callback, 0, 0, 0, password,
//                          out entry array, out int32 count)
//     The entry array and its names stay valid until CloseListArchive(handle).
//   int32 CloseListArchive(handle)   frees the listing; 1 when the handle was known.
//
// Callbacks:
//   password:  int32 (char* buffer)   copy at most kPasswordBufferSize - 1 bytes and a terminator
//              into buffer and return 1, or return 0 when there is no password.
//   progress:  int32 (name, done low, done high, total low, total high)   amounts in bytes of
//              the whole run; return 0 to stop the run (the entry being written is discarded).
//   entry:     int32 (name, is folder)   called before an entry is written; 0 skips the entry.
//   overwrite: int32 (existing name, existing size low, high, existing time low, high,
//                     new name, new size low, high, new time low, high)
//              called when a file to be written exists already. Answers: 1 overwrite it,
//              2 keep the existing file, 4 overwrite it and every later one without asking,
//              5 keep it and every later one without asking; any other answer stops the run.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VOK_CALL __stdcall
#else
#define VOK_CALL
#endif

#if defined(_WIN32)
#define VOK_EXPORT __declspec(dllexport)
#else
#define VOK_EXPORT __attribute__((visibility("default")))
#endif

namespace korvane::vok {

// Error codes reported by GetLastArchiveError.
enum ErrorCode : uint32_t {
  kNoError = 0,
  kArchiveNotFound = 1001,         // the archive file does not exist or cannot be opened
  kIllegalPath = 1002,             // an entry's path would leave the destination folder
  kUnsupportedOrWrongPassword = 1003,  // not a 7z archive, unsupported method, no or wrong password
  kDataError = 1004,               // damaged archive: bad CRC, bad coded data, truncated file
  kCancelled = 1005,               // the progress, entry or overwrite callback stopped the run
  kWriteFailed = 1006,             // a folder or file could not be created or written
  kEntryNotFound = 1007,           // a requested entry name is not in the archive
  kLimitExceeded = 1008,           // the archive needs more memory or entries than allowed
  kBadArguments = 1009,            // a null archive or destination name, a bad list handle
  kInternalError = 1010,           // an unexpected failure inside the library
};

constexpr size_t kPasswordBufferSize = 1024;

using PasswordCallback = int32_t(VOK_CALL*)(char* buffer);
using ProgressCallback = int32_t(VOK_CALL*)(const char* name, uint32_t done_low, uint32_t done_high,
                                            uint32_t total_low, uint32_t total_high);
using EntryCallback = int32_t(VOK_CALL*)(const char* name, int32_t is_folder);
using OverwriteCallback = int32_t(VOK_CALL*)(const char* existing_name, uint32_t existing_size_low,
                                             uint32_t existing_size_high, uint32_t existing_time_low,
                                             uint32_t existing_time_high, const char* new_name,
                                             uint32_t new_size_low, uint32_t new_size_high,
                                             uint32_t new_time_low, uint32_t new_time_high);

enum OverwriteAnswer : int32_t {
  kOverwrite = 1,
  kKeepExisting = 2,
  kOverwriteAll = 4,
  kKeepAll = 5,
};

struct TargetFiles {  // TSZW_TARGETFILES
  char** names;
  int32_t count;
};

enum ListEntryFlags : uint32_t { kEntryIsFolder = 1, kEntryHasCrc = 2, kEntryEncrypted = 4 };

struct ListEntry {
  union {
    const char* name;
    uint64_t name_slot;  // keeps the pointer's slot 8 bytes wide in the 32-bit build
  };
  uint64_t size;
  uint64_t packed_size;
  uint32_t crc;
  uint32_t flags;
  uint64_t modified;  // FILETIME, UTC
  uint32_t attributes;
  uint32_t reserved;
};

// The layout above, for whichever pointer size this build has.
static_assert(offsetof(ListEntry, name) == 0);
static_assert(offsetof(ListEntry, size) == 8);
static_assert(offsetof(ListEntry, packed_size) == 16);
static_assert(offsetof(ListEntry, crc) == 24);
static_assert(offsetof(ListEntry, flags) == 28);
static_assert(offsetof(ListEntry, modified) == 32);
static_assert(offsetof(ListEntry, attributes) == 40);
static_assert(sizeof(ListEntry) == 48);
static_assert(offsetof(TargetFiles, names) == 0);
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "only 32-bit and 64-bit builds have a layout");
static_assert(sizeof(void*) != 4 || (offsetof(TargetFiles, count) == 4 && sizeof(TargetFiles) == 8),
              "32-bit build: names at 0, count at 4, 8 bytes");
static_assert(sizeof(void*) != 8 || (offsetof(TargetFiles, count) == 8 && sizeof(TargetFiles) == 16),
              "64-bit build: names at 0, count at 8, 16 bytes");
static_assert(sizeof(int32_t) == 4 && sizeof(uint64_t) == 8);

using ListHandle = void*;

using ExtractArchiveFunction = int32_t(VOK_CALL*)(const char* archive, int32_t format, const char* destination,
                                                  const TargetFiles* targets, int32_t mode, const char* password,
                                                  PasswordCallback password_callback,
                                                  ProgressCallback progress_callback, EntryCallback entry_callback,
                                                  OverwriteCallback overwrite_callback);
using GetLastArchiveErrorFunction = uint32_t(VOK_CALL*)();
using OpenListArchiveFunction = ListHandle(VOK_CALL*)(const char* archive, int32_t format,
                                                     PasswordCallback password_callback, int32_t reserved1,
                                                     int32_t reserved2, int32_t reserved3, const char* password,
                                                     ListEntry** entries, int32_t* count);
using CloseListArchiveFunction = int32_t(VOK_CALL*)(ListHandle handle);

}  // namespace korvane::vok
