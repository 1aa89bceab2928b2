#include "platform/startup_windows.h"

#include <windows.h>
#include <commctrl.h>

#include "bootstrap/window_placement.h"

namespace korvane::platform {
namespace {

constexpr int kClientWidth = 369;
constexpr int kClientHeight = 89;
constexpr DWORD kInitStyle = WS_POPUP | WS_CAPTION | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kInitExStyle = WS_EX_DLGMODALFRAME;

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (bitmap) {
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, bitmap);
      BITMAP info;
      GetObjectA(bitmap, sizeof info, &info);
      BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
    }
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSA splash{};
  splash.lpfnWndProc = SplashProc;
  splash.hInstance = instance;
  splash.hCursor = LoadCursor(nullptr, IDC_ARROW);
  splash.lpszClassName = "TSetupSplash";
  RegisterClassA(&splash);
  WNDCLASSA init{};
  init.lpfnWndProc = DefWindowProcA;
  init.hInstance = instance;
  init.hCursor = LoadCursor(nullptr, IDC_ARROW);
  init.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  init.lpszClassName = "TSetupInit";
  RegisterClassA(&init);
}

bool IsXpOrLater() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class Win32StartupWindows final : public StartupWindows {
 public:
  Win32StartupWindows(const std::filesystem::path& picture, const std::string& caption, const std::string& text) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClasses(instance);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kInitStyle, FALSE, kInitExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    std::error_code ec;
    if (std::filesystem::exists(picture, ec)) {
      bitmap_ = static_cast<HBITMAP>(
          LoadImageW(nullptr, picture.wstring().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    }
    WindowRect place = CentreOnScreen(width, height, screenWidth, screenHeight);
    if (bitmap_) {
      BITMAP info;
      GetObjectA(bitmap_, sizeof info, &info);
      WindowRect splash = CentreOnScreen(info.bmWidth, info.bmHeight, screenWidth, screenHeight);
      splash_ = CreateWindowExA(WS_EX_TOOLWINDOW, "TSetupSplash", "", WS_POPUP, splash.left, splash.top,
                                splash.width, splash.height, nullptr, nullptr, instance, nullptr);
      SetWindowLongPtrA(splash_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap_));
      ShowWindow(splash_, SW_SHOWNOACTIVATE);
      UpdateWindow(splash_);
      place = PlacePreparingWindow(splash, width, height, screenWidth, screenHeight);
    }

    init_ = CreateWindowExA(kInitExStyle, "TSetupInit", caption.c_str(), kInitStyle, place.left, place.top, width,
                            height, nullptr, nullptr, instance, nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 56, 16, 297, 33, init_,
                                 nullptr, instance, nullptr);
    SetWindowTextA(label, text.c_str());
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // One of two icons shows: the newer style on XP and later, the older one before.
    HWND icon = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 16, 16, 32, 32, init_, nullptr,
                                instance, nullptr);
    SendMessageA(icon, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIcon(nullptr, IsXpOrLater() ? IDI_INFORMATION : IDI_APPLICATION)), 0);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 16, 56, 337, 17, init_, nullptr,
                                instance, nullptr);
    ShowWindow(init_, SW_SHOW);
    UpdateWindow(init_);
    PumpMessages();
  }

  ~Win32StartupWindows() override { Close(); }

  void SetProgress(int minimum, int maximum, int position) override {
    if (!progress_) return;
    SendMessageA(progress_, PBM_SETRANGE32, minimum, maximum);
    SendMessageA(progress_, PBM_SETPOS, position, 0);
    Repaint();
  }

  void Step() override {
    if (!progress_) return;
    SendMessageA(progress_, PBM_DELTAPOS, 1, 0);
    Repaint();
  }

  WindowHandle Owner() const override { return init_; }

  void Close() override {
    if (init_) DestroyWindow(init_);
    if (splash_) DestroyWindow(splash_);
    if (bitmap_) DeleteObject(bitmap_);
    init_ = splash_ = progress_ = nullptr;
    bitmap_ = nullptr;
    PumpMessages();
  }

 private:
  void Repaint() {
    if (init_) UpdateWindow(init_);
    if (splash_ && IsWindowVisible(splash_)) UpdateWindow(splash_);
    PumpMessages();
  }

  HWND splash_ = nullptr;
  HWND init_ = nullptr;
  HWND progress_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

}  // namespace

std::unique_ptr<StartupWindows> ShowStartupWindows(const std::filesystem::path& splashPicture,
                                                   const std::string& caption, const std::string& text) {
  return std::make_unique<Win32StartupWindows>(splashPicture, caption, text);
}

}  // namespace korvane::platform
