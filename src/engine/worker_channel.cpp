#include "engine/worker_channel.h"

#include <string>

#include "support/text.h"

namespace korvane {
namespace {

int64_t StoredNumber(const TVariableManager& store, std::string_view name) {
  const auto value = ParseInteger(store.Get(name));
  return value ? *value : 0;
}

}  // namespace

void SetWorkerStartValues(TVariableManager& store, uint32_t tick) {
  auto hold = store.Hold();
  store.Set(kThreadProgress, "0");
  store.Set(kThreadMinimum, "0");
  store.Set(kThreadMaximum, "100");
  store.Set(kThreadProgressText, "");
  store.Set(kThreadFinished, "FALSE");
  store.Set(kThreadCancelled, "FALSE");
  store.Set(kIsCancelled, "FALSE");
  store.Set(kLastDelegateTick, std::to_string(tick));
  store.Set(kLastActiveTick, std::to_string(tick));
}

void ReportWorkerProgress(TVariableManager& store, uint32_t tick, std::string_view text, int64_t minimum,
                          int64_t maximum, int64_t position) {
  auto hold = store.Hold();
  store.Set(kLastDelegateTick, std::to_string(tick));
  std::string republished;
  if (text == kRepublishText) {
    republished = store.Get(kThreadProgressText);
    text = republished;
    position = StoredNumber(store, kThreadProgress);
    maximum = StoredNumber(store, kThreadMaximum);
    minimum = StoredNumber(store, kThreadMinimum);
  }
  if (position != kKeepPosition) {
    store.Set(kThreadMaximum, std::to_string(maximum));
    store.Set(kThreadMinimum, std::to_string(minimum));
    store.Set(kThreadProgress, std::to_string(position));
  }
  if (text != kKeepText) store.Set(kThreadProgressText, text);
}

}  // namespace korvane
