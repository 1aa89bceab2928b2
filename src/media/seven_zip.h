#pragma once
// Engine side of archive extraction: SevenZipExtract and SevenZipList over the archive library
// "vok.lib", loaded at run time, with the built-in callbacks the engine hands to it.

#include <filesystem>
#include <string>
#include <vector>

#include "archive/vok_abi.h"
#include "platform/dynamic_library.h"
#include "support/result.h"

namespace korvane::media {

// Listing error texts.
inline constexpr const char* kArchiveNotFoundText = "The archive file was not found";
inline constexpr const char* kIllegalPathText = "Illegal path used in a wildcard expression";
inline constexpr const char* kUnsupportedArchiveText =
    "The archive cannot be opened: unsupported archive or incorrect password";
inline constexpr const char* kGeneralListFailureText = "General failure opening archive";

// The archive library's four exports.
class ArchiveLibrary {
 public:
  // Loads the library at path; the error names the file and the missing export, if any.
  static Result<ArchiveLibrary> Load(const std::filesystem::path& path);

  vok::ExtractArchiveFunction extract_archive = nullptr;
  vok::GetLastArchiveErrorFunction get_last_archive_error = nullptr;
  vok::OpenListArchiveFunction open_list_archive = nullptr;
  vok::CloseListArchiveFunction close_list_archive = nullptr;

 private:
  platform::DynamicLibrary module_;
};

// Callbacks a caller may supply; a null one is replaced by the built-in one.
struct ExtractCallbacks {
  vok::ProgressCallback progress = nullptr;
  vok::OverwriteCallback overwrite = nullptr;
  vok::EntryCallback second = nullptr;
  vok::PasswordCallback password = nullptr;
};

// Extracts the archive (or the listed entries of it) into destination. Without an entry list
// the archive is listed first, so a missing archive or wrong password gives the listing's text.
// A library failure gives "#" + its code. mode_flag keeps folder paths; answer_all makes the
// built-in overwrite answer "overwrite all".
bool SevenZipExtract(const ArchiveLibrary& library, const std::string& archive, const std::string& password,
                     const std::string& destination, bool mode_flag, bool answer_all, std::string& error_text,
                     const std::vector<std::string>* entries = nullptr, const ExtractCallbacks& callbacks = {});

// Lists the archive's entries into the lists given (names; the numbers at offsets 40, 8 and 16
// of each entry record as decimal text; the local date-time text of its time).
struct ListOutputs {
  std::vector<std::string>* names = nullptr;
  std::vector<std::string>* attributes = nullptr;    // offset 40
  std::vector<std::string>* sizes = nullptr;         // offset 8
  std::vector<std::string>* packed_sizes = nullptr;  // offset 16
  std::vector<std::string>* dates = nullptr;         // offset 32
};
bool SevenZipList(const ArchiveLibrary& library, const std::string& archive, const std::string& password,
                  std::string& error_text, const ListOutputs& outputs, vok::PasswordCallback password_callback = nullptr);

// The built-in callbacks, exposed for tests. The password callback hands the stored password
// over once (then forgets it) and answers 0 when none (or an empty one) is stored.
void StoreBuiltInPassword(const std::string& password);
int32_t VOK_CALL BuiltInPasswordCallback(char* buffer);
int32_t VOK_CALL BuiltInProgressCallback(const char* name, uint32_t done_low, uint32_t done_high, uint32_t total_low,
                                         uint32_t total_high);
int32_t VOK_CALL BuiltInSecondCallback(const char* name, int32_t is_folder);
void StoreBuiltInAnswerAll(bool answer_all);
int32_t VOK_CALL BuiltInOverwriteCallback(const char*, uint32_t, uint32_t, uint32_t, uint32_t, const char*, uint32_t,
                                          uint32_t, uint32_t, uint32_t);

}  // namespace korvane::media
