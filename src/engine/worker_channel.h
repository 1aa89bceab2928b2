#pragma once
// The reserved variables through which worker threads and the main thread talk, and the worker
// progress channel that workers publish their progress with.

#include <cstdint>
#include <string_view>

#include "engine/variable_manager.h"

namespace korvane {

inline constexpr std::string_view kThreadProgress = "VRAX_thProgress";
inline constexpr std::string_view kThreadMinimum = "VRAX_thMin";
inline constexpr std::string_view kThreadMaximum = "VRAX_thMax";
inline constexpr std::string_view kThreadProgressText = "VRAX_thProgressText";
inline constexpr std::string_view kThreadFinished = "VRAX_thFinished";
inline constexpr std::string_view kThreadCancelled = "VRAX_thCancelled";
inline constexpr std::string_view kIsCancelled = "VRAX_IsCancelled";
inline constexpr std::string_view kLastDelegateTick = "VRAX_LastDelegateTick";
inline constexpr std::string_view kLastActiveTick = "VRAX_LastActiveTick";

// Texts with a meaning of their own for the channel.
inline constexpr std::string_view kRepublishText = "$VRAX$";  // publish the current values again
inline constexpr std::string_view kKeepText = "$IGNORE$";     // leave the text alone
inline constexpr int64_t kKeepPosition = -1;                  // leave the numbers alone

// The start values of the reserved variables (plain sets): position and minimum 0, maximum 100,
// empty text, the flags "FALSE", both ticks the given tick count.
void SetWorkerStartValues(TVariableManager& store, uint32_t tick);

// Callable from any thread. Stamps VRAX_LastDelegateTick with tick; "$VRAX$" republishes the
// stored values; position -1 leaves the numbers and "$IGNORE$" the text as they are. The whole
// call is one step under the store's lock, so readers never see half a report.
void ReportWorkerProgress(TVariableManager& store, uint32_t tick, std::string_view text, int64_t minimum,
                          int64_t maximum, int64_t position);

}  // namespace korvane
