#pragma once
// The kinds of worker threads, their watchdog timers on the hidden main form and the cancel tags
// of the statements that start them.

#include <string_view>

namespace korvane {

enum class WatchdogRule {
  TickCheck,  // abandoned at a tick when it has not reported since the last snapshot
  Kill,       // abandoned at the first tick after the cancel, whatever it does
  None,       // no watchdog: the installer run ends through VRAX_thFinished
};

struct WorkerKind {
  std::string_view name;
  std::string_view timer;      // the watchdog timer's name on the hidden main form
  WatchdogRule rule;
  std::string_view cancelTag;  // the writer context of the cancellation steps
};

// Every watchdog fires this long after it was armed.
inline constexpr unsigned kWatchdogIntervalMs = 5000;

namespace worker_kind {
inline constexpr WorkerKind kPlugin{"TScriptThread", "plugTimer", WatchdogRule::TickCheck, "Cancel at Plug-In Time"};
inline constexpr WorkerKind kFindAllFiles{"TFindAllFilesThread", "tfafTimer", WatchdogRule::TickCheck,
                                          "Cancel at Find-Files Time"};
inline constexpr WorkerKind kDirectExtract{"TDirectExtractMedia", "tdemTimer", WatchdogRule::TickCheck,
                                           "Cancel at Extract-7Zip Time"};
inline constexpr WorkerKind kExtractMedia{"TExtractMedia", "thxTimer", WatchdogRule::TickCheck, ""};
inline constexpr WorkerKind kGrabMedia{"TGrabMedia", "thyTimer", WatchdogRule::TickCheck, ""};
inline constexpr WorkerKind kCopyMedia{"TCopyMedia", "thzTimer", WatchdogRule::TickCheck, ""};
inline constexpr WorkerKind kRunProgram{"TRunApp", "traTimer", WatchdogRule::Kill, "Cancel at Run-Program Time"};
inline constexpr WorkerKind kRunLightMode{"TRunApp", "traTimer", WatchdogRule::Kill, "Cancel at Light-Mode Time"};
inline constexpr WorkerKind kRunAs{"TRunAs", "traxTimer", WatchdogRule::Kill, "Cancel at Run-As Time"};
inline constexpr WorkerKind kInstaller{"TMSIThread", "", WatchdogRule::None, ""};
}  // namespace worker_kind

}  // namespace korvane
