#pragma once
// The exports of "vok.lib", for code linked with the archive library directly (tests, the
// builder). The engine binds them at run time instead (media/seven_zip.h).

#include "archive/vok_abi.h"

extern "C" {
int32_t VOK_CALL ExtractArchive(const char* archive_name, int32_t format, const char* destination,
                                const korvane::vok::TargetFiles* targets, int32_t mode, const char* password,
                                korvane::vok::PasswordCallback password_callback,
                                korvane::vok::ProgressCallback progress_callback,
                                korvane::vok::EntryCallback entry_callback,
                                korvane::vok::OverwriteCallback overwrite_callback);
uint32_t VOK_CALL GetLastArchiveError();
korvane::vok::ListHandle VOK_CALL OpenListArchive(const char* archive_name, int32_t format,
                                                  korvane::vok::PasswordCallback password_callback, int32_t, int32_t,
                                                  int32_t, const char* password, korvane::vok::ListEntry** entries,
                                                  int32_t* count);
int32_t VOK_CALL CloseListArchive(korvane::vok::ListHandle handle);
}
