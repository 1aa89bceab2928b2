#include "platform/application_window.h"

#include <windows.h>

#include <map>

namespace korvane::platform {
namespace {

constexpr const char* kClassName = "KorvaneApplicationWindow";

class HiddenWindow final : public ApplicationWindow {
 public:
  HiddenWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HiddenWindow::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // a second window of the process finds the class registered
    window_ = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HiddenWindow() override {
    for (const auto& [id, timer] : timers_)
      if (timer.enabled) KillTimer(window_, static_cast<UINT_PTR>(id));
    DestroyWindow(window_);
  }

  void ProcessPendingMessages() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
  }
  void ProcessOnePendingMessage() override {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
  }
  void WaitAndProcessMessage() override {
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
  }
  void Wake() override { PostMessageA(window_, WM_NULL, 0, 0); }

  TimerId AddTimer(unsigned intervalMs, std::function<void()> onTick) override {
    const TimerId id = nextId_++;
    timers_[id] = Timer{intervalMs, std::move(onTick), false};
    return id;
  }
  void EnableTimer(TimerId id, bool enabled) override {
    auto found = timers_.find(id);
    if (found == timers_.end() || found->second.enabled == enabled) return;  // an armed timer keeps its interval
    found->second.enabled = enabled;
    if (enabled)
      SetTimer(window_, static_cast<UINT_PTR>(id), found->second.interval, nullptr);
    else
      KillTimer(window_, static_cast<UINT_PTR>(id));
  }
  bool TimerEnabled(TimerId id) const override {
    auto found = timers_.find(id);
    return found != timers_.end() && found->second.enabled;
  }
  WindowHandle Handle() const override { return window_; }

 private:
  struct Timer {
    unsigned interval;
    std::function<void()> onTick;
    bool enabled;
  };

  static void Dispatch(const MSG& message) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
      auto* self = reinterpret_cast<HiddenWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
      if (self) {
        auto found = self->timers_.find(static_cast<TimerId>(wParam));
        // A handler may change the timers; it runs on a copy of its callable.
        if (found != self->timers_.end() && found->second.enabled) {
          std::function<void()> onTick = found->second.onTick;
          onTick();
        }
      }
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::map<TimerId, Timer> timers_;
  TimerId nextId_ = 1;
};

}  // namespace

std::unique_ptr<ApplicationWindow> MakeApplicationWindow() { return std::make_unique<HiddenWindow>(); }

}  // namespace korvane::platform
