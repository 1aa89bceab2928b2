#include "bootstrap/startup_sequence.h"

#include <chrono>
#include <fstream>
#include <string>
#include <system_error>

#include "bootstrap/exit_codes.h"
#include "bootstrap/library_language_file.h"
#include "bootstrap/package_reader.h"
#include "bootstrap/standard_caption.h"
#include "bootstrap/support_directory.h"
#include "media/seven_zip.h"
#include "platform/file_stamp.h"
#include "wizard/language_names.h"

namespace korvane {
namespace {

constexpr const char* kArchiveLibraryName = "vok.lib";
constexpr const char* kSplashPictureName = "setup.bmp";
constexpr const char* kNoPackageText = "For internal use only";

// Windows 7 and later: the setup is a host application (no "pin to taskbar" for it); Vista:
// the program compatibility assistant leaves it alone. Failures do not matter here.
void MarkHostApplication(platform::StartupServices& system, const std::filesystem::path& program) {
  const platform::WindowsVersion version = system.Version();
  if (version.major > 6 || (version.major == 6 && version.minor >= 1)) {
    (void)system.WriteRegistryText(platform::RegistryRoot::ClassesRoot, "Applications\\" + PathText(program.filename()),
                                   "IsHostApp", "");
  } else if (version.major == 6 && version.minor == 0) {
    (void)system.WriteRegistryNumber(platform::RegistryRoot::CurrentUser,
                                     "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
                                     "Compatibility Assistant\\Persisted",
                                     PathText(program), 32);
  }
}

bool Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// Step 4: the language file after the archive library's image. Without the library (or with a
// damaged one) the built-in texts stay; the extraction step reports the missing library.
void LoadLanguageFile(platform::StartupServices& system, StartupContext& context) {
  const std::filesystem::path library = context.programFolder / kArchiveLibraryName;
  if (!Exists(library)) return;
  auto imageEnd = system.LibraryImageEnd(library);
  if (!imageEnd) return;
  const std::string userLanguage = LanguageNameOf(system.UserLanguageId(platform::LocaleValue::Language),
                                                  [&](int id) { return system.EnglishLanguageName(id); });
  (void)ReadLibraryLanguageFile(library, *imageEnd, context.languages, userLanguage);
}

size_t CountDialogs(const PackageTables& tables) {
  size_t count = 0;
  for (size_t i = 0; i < tables.StatementCount(); ++i)
    if (tables.statementNames[i] == "Display Dialog" && !tables.IsDisabled(i)) ++count;
  return count;
}

void WriteEngineMarker(platform::StartupServices& system, const StartupContext& context) {
  const std::string marker = system.EnvironmentValue(kEngineMarkerVariable);
  if (marker.empty()) return;
  const auto now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
  std::ofstream out(marker, std::ios::binary | std::ios::trunc);
  out << "supportdir=" << FolderText(context.supportDirectory) << "\n"
      << "time=" << now.count() << "\n";
}

// Copies a file into the support directory under its own name, overwriting, and makes it a
// plain file. A file that is not there is no fault.
Status CopyIntoSupportDirectory(const std::filesystem::path& file, const std::filesystem::path& supportDirectory) {
  if (!Exists(file)) return Ok();
  const std::filesystem::path target = supportDirectory / file.filename();
  std::error_code ec;
  std::filesystem::copy_file(file, target, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) return Error{"cannot copy " + PathText(file) + " to " + PathText(target) + ": " + ec.message()};
  platform::ClearFileAttributes(target);
  return Ok();
}

class Sequence {
 public:
  Sequence(platform::StartupServices& system, const StartupSteps& steps)
      : system_(system),
        steps_(steps),
        context_([&system](std::string_view path, std::string_view line, bool truncate) {
          (void)system.AppendLogLine(path, line, truncate);  // a log that cannot be written is no reason to stop
        }) {}

  int Run() {
    StartupContext& c = context_;
    // 1 to 3: the process and the values every later step uses.
    c.programPath = system_.ProgramPath();
    MarkHostApplication(system_, c.programPath);
    system_.RestrictToFirstProcessor();
    c.programFolder = c.programPath.parent_path();
    c.programBaseName = PathText(c.programPath.stem());
    c.tempFolder = system_.TempFolder();
    // 4: the language table, before any window shows.
    LoadLanguageFile(system_, c);
    // 5: the command line.
    c.supportArchive = std::filesystem::path(c.programPath).replace_extension(".res");
    c.installerDatabase = std::filesystem::path(c.programPath).replace_extension(".msi");
    c.patchPackage = std::filesystem::path(c.programPath).replace_extension(".msp");
    c.commandLine = ParseCommandLine(system_.RawCommandLine());
    c.silent = c.commandLine.Silent();
    c.updateStart = c.commandLine.UpdateStart();
    c.log.SetPath(c.commandLine.LogPath());
    // 6 and 7: the start-up windows.
    c.log.Write("<Korvane>");
    c.log.Write("  <SetupSplash>");
    if (ShowsWindows()) {
      windows_ = system_.ShowStartupWindows(c.programFolder / kSplashPictureName,
                                            c.languages.Message(LanguageTable::kWizardCaption),
                                            c.languages.Message(LanguageTable::kPreparing));
    }
    // 8 and 9: the package.
    c.log.Write("    <StubSize>");
    auto stubSize = system_.RunningImageEnd();
    if (!stubSize)
      return Fail(exit_code::kDamagedPackage, "Cannot read the setup program's own headers: " + stubSize.error());
    std::error_code sizeError;
    const auto fileSize = std::filesystem::file_size(c.programPath, sizeError);
    if (sizeError)
      return Fail(exit_code::kDamagedPackage, "Cannot read " + PathText(c.programPath) + ": " + sizeError.message());
    if (fileSize <= *stubSize) return Fail(exit_code::kNoPackage, kNoPackageText);
    c.log.Write("    </StubSize>");
    c.log.Write("    <StubData>");
    auto copy = CopyPackageToTemp(c.programPath, *stubSize, c.tempFolder);
    if (!copy) return Fail(exit_code::kTempFolderUnusable, copy.error());
    c.log.Write("    </StubData>");
    c.log.Write("    <GlobalLists>");
    auto tables = ReadPackageCopy(*copy);
    if (!tables) return Fail(exit_code::kDamagedPackage, tables.error());
    c.tables = std::move(*tables);
    c.parameters.AddList(c.tables.parameters);
    c.log.Write("    </GlobalLists>");
    // 10: the support directory.
    c.log.Write("    <SupportDir>");
    auto directory = CreateSupportDirectory(c.tempFolder);
    if (!directory) return Fail(exit_code::kTempFolderUnusable, directory.error());
    c.supportDirectory = *directory;
    c.log.Write("    </SupportDir>");
    // 11: the support files.
    c.log.Write("    <ExtractArchive>");
    if (!Exists(c.supportArchive))
      return Fail(exit_code::kNoSupportArchive, c.languages.Message(LanguageTable::kSupportArchiveMissing),
                  PathText(c.supportArchive));
    if (std::string problem = ExtractSupportArchive(); !problem.empty())
      return Fail(exit_code::kSupportArchiveFailed, c.languages.Message(LanguageTable::kSupportArchiveFailed), problem);
    c.log.Write("    </ExtractArchive>");
    // 12 and 13: the installer database or patch package.
    c.log.Write("    <ExtractResource>");
    if (!Exists(c.installerDatabase) && !Exists(c.patchPackage))
      return Fail(exit_code::kNoInstallerDatabase, c.languages.Message(LanguageTable::kInstallerDatabaseMissing),
                  PathText(c.installerDatabase));
    c.log.Write("    </ExtractResource>");
    c.log.Write("    <ResourcePath>");
    for (const auto& file : {c.installerDatabase, c.patchPackage}) {
      if (auto copied = CopyIntoSupportDirectory(file, c.supportDirectory); !copied)
        return Fail(exit_code::kNoInstallerDatabase, c.languages.Message(LanguageTable::kInstallerDatabaseMissing),
                    copied.error());
    }
    c.log.Write("    </ResourcePath>");
    c.mediaFolder = c.programFolder / "data";
    // 14: the wizard dialogs.
    c.log.Write("    <Dialogs>");
    PreloadDialogs();
    c.log.Write("    </Dialogs>");
    // 15: the engine, then the shutdown.
    if (windows_) windows_->Close();
    windows_.reset();
    c.log.Write("  </SetupSplash>");
    c.log.Write("  <RunScript>");
    WriteEngineMarker(system_, c);
    const int exitCode = steps_.runEngine ? steps_.runEngine(c) : exit_code::kSuccess;
    if (steps_.postRunCache) steps_.postRunCache(c);
    c.log.Write("  </RunScript>");
    c.log.Write("  <Free>");
    c.parameters.Clear();
    c.tables = PackageTables{};
    c.log.Write("  </Free>");
    c.log.Write("  <CachedSupportDir>");
    RemoveSupportDirectory(c.supportDirectory);
    c.log.Write("  </CachedSupportDir>");
    c.log.Write("</Korvane>");
    return exitCode;
  }

 private:
  [[nodiscard]] bool ShowsWindows() const { return !context_.silent && !context_.updateStart; }

  // An empty text on success, otherwise what went wrong.
  std::string ExtractSupportArchive() {
    const StartupContext& c = context_;
    auto library = media::ArchiveLibrary::Load(c.programFolder / kArchiveLibraryName);
    if (!library) return library.error();
    std::string error;
    if (!media::SevenZipExtract(*library, PathText(c.supportArchive), "", FolderText(c.supportDirectory), true, true,
                                error))
      return PathText(c.supportArchive) + ": " + (error.empty() ? "extraction failed" : error);
    return {};
  }

  void PreloadDialogs() {
    StartupContext& c = context_;
    c.dialogCount = CountDialogs(c.tables);
    if (windows_) windows_->SetProgress(0, static_cast<int>(c.dialogCount), 1);
    if (steps_.initialiseDialogs) steps_.initialiseDialogs(c);
    for (size_t i = 0; i < c.tables.StatementCount(); ++i) {
      if (c.tables.statementNames[i] != "Display Dialog" || c.tables.IsDisabled(i)) continue;
      if (steps_.preloadDialog) steps_.preloadDialog(c, i);
      if (windows_) windows_->Step();
    }
  }

  // Shows the message (unless silent) over the preparing window, closes the windows and removes
  // a support directory this run created, so a failed start leaves nothing in the temporary
  // folder. detail, when given, goes on its own line below the message.
  int Fail(int code, const std::string& message, const std::string& detail = {}) {
    if (!context_.silent) {
      const std::string text = detail.empty() ? message : message + "\r\n\r\n" + detail;
      system_.ShowError(StandardCaption("", ""), text, windows_ ? windows_->Owner() : nullptr);
    }
    if (windows_) windows_->Close();
    windows_.reset();
    if (!context_.supportDirectory.empty()) RemoveSupportDirectory(context_.supportDirectory);
    return code;
  }

  platform::StartupServices& system_;
  const StartupSteps& steps_;
  StartupContext context_;
  std::unique_ptr<platform::StartupWindows> windows_;
};

}  // namespace

int RunStartupSequence(platform::StartupServices& system, const StartupSteps& steps) {
  Sequence sequence(system, steps);
  return sequence.Run();
}

}  // namespace korvane
