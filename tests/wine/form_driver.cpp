// Test driver: finds a top-level window by caption and reads, sets and clicks its controls by
// the component names the form toolkit attaches to them.
//   form_driver wait CAPTION [SECONDS]     waits until the window exists
//   form_driver list CAPTION               one line per named control: name, class, state
//   form_driver get CAPTION NAME           the state line of one control
//   form_driver set CAPTION NAME VALUE     edit text, check state (0/1), list or combo item,
//                                          track-bar position, tree node (by its text)
//   form_driver click CAPTION NAME         clicks a control
//   form_driver tick CAPTION NAME INDEX    clicks the check box of item INDEX of a check list
//   form_driver press CAPTION NAME KEY     posts a key press and release to a control
//   form_driver rect CAPTION               the window's screen rectangle: left top width height
//   form_driver key CAPTION KEY            posts a key (enter, escape, tab) to the focused window
// Output is UTF-8; the exit code is 0 on success, 1 when the window or control is missing.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

LRESULT Send(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(w, message, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND w) {
  wchar_t buffer[4096] = {};
  Send(w, WM_GETTEXT, 4095, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::wstring ClassOf(HWND w) {
  wchar_t buffer[128] = {};
  GetClassNameW(w, buffer, 127);
  return buffer;
}

std::string NameOf(HWND w) {
  auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(w, L"KorvaneName")));
  if (!atom) return {};
  wchar_t buffer[256] = {};
  GlobalGetAtomNameW(atom, buffer, 255);
  return Utf8(buffer);
}

struct Found {
  std::string name;
  HWND window;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
  std::string name = NameOf(w);
  if (!name.empty()) reinterpret_cast<std::vector<Found>*>(lp)->push_back({name, w});
  return TRUE;
}

std::vector<Found> Controls(HWND form) {
  std::vector<Found> found;
  EnumChildWindows(form, Collect, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindControl(HWND form, const std::string& name) {
  for (const Found& f : Controls(form))
    if (_stricmp(f.name.c_str(), name.c_str()) == 0) return f.window;
  return nullptr;
}

std::string Escape(const std::wstring& text) {
  std::string out;
  for (char c : Utf8(text)) {
    if (c == '\r') continue;
    out += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out;
}

std::string ListItem(HWND w, bool combo, int i) {
  auto n = Send(w, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n < 0 || n > 4000) return {};
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  Send(w, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
  s.resize(wcslen(s.c_str()));
  return Utf8(s);
}

std::string StateOf(HWND w) {
  std::wstring cls = ClassOf(w);
  std::string state = Utf8(cls);
  LONG style = GetWindowLongW(w, GWL_STYLE);
  auto is = [&](const wchar_t* name) { return _wcsicmp(cls.c_str(), name) == 0; };
  if (is(L"Button")) {
    LONG type = style & BS_TYPEMASK;
    state += " text=" + Escape(TextOf(w));
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
        type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
      state += " checked=" + std::to_string(Send(w, BM_GETCHECK, 0, 0));
  } else if (is(L"ListBox")) {
    auto count = Send(w, LB_GETCOUNT, 0, 0);
    state += " count=" + std::to_string(count) + " index=" + std::to_string(Send(w, LB_GETCURSEL, 0, 0)) + " items=";
    for (int i = 0; i < count && i < 50; ++i) state += ListItem(w, false, i) + ";";
  } else if (is(L"ComboBox")) {
    auto count = Send(w, CB_GETCOUNT, 0, 0);
    state += " text=" + Escape(TextOf(w)) + " count=" + std::to_string(count) + " index=" + std::to_string(Send(w, CB_GETCURSEL, 0, 0)) + " items=";
    for (int i = 0; i < count && i < 50; ++i) state += ListItem(w, true, i) + ";";
  } else if (is(TRACKBAR_CLASSW)) {
    state += " position=" + std::to_string(Send(w, TBM_GETPOS, 0, 0)) + " max=" + std::to_string(Send(w, TBM_GETRANGEMAX, 0, 0));
  } else if (is(PROGRESS_CLASSW)) {
    state += " position=" + std::to_string(Send(w, PBM_GETPOS, 0, 0));
  } else if (is(UPDOWN_CLASSW)) {
    state += " position=" + std::to_string(Send(w, UDM_GETPOS32, 0, 0));
  } else if (is(WC_TABCONTROLW)) {
    state += " count=" + std::to_string(Send(w, TCM_GETITEMCOUNT, 0, 0)) + " index=" + std::to_string(Send(w, TCM_GETCURSEL, 0, 0));
  } else if (is(WC_TREEVIEWW)) {
    state += " count=" + std::to_string(Send(w, TVM_GETCOUNT, 0, 0));
  } else if (is(WC_LISTVIEWW)) {
    state += " count=" + std::to_string(Send(w, LVM_GETITEMCOUNT, 0, 0));
  } else {
    state += " text=" + Escape(TextOf(w));
  }
  state += std::string(" visible=") + (IsWindowVisible(w) ? "1" : "0") + " enabled=" + (IsWindowEnabled(w) ? "1" : "0");
  return state;
}

// The text of a tree node of another process: the item record and its text buffer have to live
// in that process, so they are placed there and read back.
std::wstring TreeText(HWND w, HTREEITEM item) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return {};
  constexpr size_t kChars = 260;
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t),
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::wstring text;
  if (remote) {
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    tv.cchTextMax = kChars - 1;
    wchar_t buffer[kChars] = {};
    if (WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr) &&
        WriteProcessMemory(process, remote + sizeof(TVITEMW), buffer, sizeof buffer, nullptr) &&
        Send(w, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process, remote + sizeof(TVITEMW), buffer, sizeof buffer - sizeof(wchar_t), nullptr))
      text = buffer;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

void Notify(HWND w, WORD code) {
  HWND parent = GetParent(w);
  Send(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), reinterpret_cast<LPARAM>(w));
}

bool SetValue(HWND w, const std::string& value) {
  std::wstring cls = ClassOf(w);
  std::wstring wide = Wide(value);
  auto is = [&](const wchar_t* name) { return _wcsicmp(cls.c_str(), name) == 0; };
  if (is(L"Button")) {
    bool want = value == "1";
    bool now = Send(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (want != now) Send(w, BM_CLICK, 0, 0);
    return true;
  }
  if (is(L"ListBox")) {
    auto index = Send(w, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0) return false;
    Send(w, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(w, LBN_SELCHANGE);
    return true;
  }
  if (is(L"ComboBox")) {
    auto index = Send(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    if (index >= 0) {
      Send(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      Notify(w, CBN_SELCHANGE);
    } else {
      Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
      Notify(w, CBN_EDITCHANGE);
    }
    return true;
  }
  if (is(WC_TREEVIEWW)) {
    // Walks the visible nodes (expanded branches included) and selects the first with the text.
    HTREEITEM item = reinterpret_cast<HTREEITEM>(Send(w, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
      if (TreeText(w, item) == wide) {
        Send(w, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        return true;
      }
      item = reinterpret_cast<HTREEITEM>(Send(w, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
    }
    return false;
  }
  if (is(TRACKBAR_CLASSW)) {
    Send(w, TBM_SETPOS, TRUE, std::atoi(value.c_str()));
    Send(GetParent(w), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, std::atoi(value.c_str())), reinterpret_cast<LPARAM>(w));
    return true;
  }
  Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return true;
}

void Click(HWND w) {
  if (_wcsicmp(ClassOf(w).c_str(), L"Button") == 0) {
    PostMessageW(w, BM_CLICK, 0, 0);
    return;
  }
  RECT r;
  GetClientRect(w, &r);
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(w, WM_LBUTTONUP, 0, at);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: form_driver wait|list|get|set|click|rect|key CAPTION [NAME] [VALUE]\n");
    return 2;
  }
  std::string command = argv[1];
  std::wstring caption = Wide(argv[2]);
  HWND form = FindWindowW(nullptr, caption.c_str());
  if (command == "wait") {
    int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
    for (int i = 0; !form && i < seconds * 10; ++i) {
      Sleep(100);
      form = FindWindowW(nullptr, caption.c_str());
    }
    if (form) {
      // Wait until the window is visible as well.
      for (int i = 0; !IsWindowVisible(form) && i < 50; ++i) Sleep(100);
    }
    std::printf("%s\n", form ? "found" : "not found");
    return form ? 0 : 1;
  }
  if (!form) {
    std::printf("no window with caption %s\n", argv[2]);
    return 1;
  }
  if (command == "list") {
    for (const Found& f : Controls(form)) std::printf("%s %s\n", f.name.c_str(), StateOf(f.window).c_str());
    return 0;
  }
  if (command == "rect") {
    RECT r;
    GetWindowRect(form, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (command == "key" && argc > 3) {
    std::string key = argv[3];
    WPARAM vk = key == "enter" ? VK_RETURN : key == "escape" ? VK_ESCAPE : VK_TAB;
    SetForegroundWindow(form);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = static_cast<WORD>(vk);
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    return 0;
  }
  if (argc < 4) return 2;
  HWND control = FindControl(form, argv[3]);
  if (!control) {
    std::printf("no control named %s\n", argv[3]);
    return 1;
  }
  if (command == "get") {
    std::printf("%s %s\n", argv[3], StateOf(control).c_str());
    return 0;
  }
  if (command == "click") {
    Click(control);
    return 0;
  }
  if (command == "set" && argc > 4) return SetValue(control, argv[4]) ? 0 : 1;
  if (command == "tick" && argc > 4) {
    // The check box sits at the left end of the item.
    int index = std::atoi(argv[4]);
    if (index < 0 || index >= Send(control, LB_GETCOUNT, 0, 0)) return 1;
    auto height = static_cast<int>(Send(control, LB_GETITEMHEIGHT, 0, 0));
    int top = (index - static_cast<int>(Send(control, LB_GETTOPINDEX, 0, 0))) * height;
    LPARAM at = MAKELPARAM(4, top + height / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    return 0;
  }
  if (command == "press" && argc > 4) {
    std::string key = argv[4];
    WPARAM vk = key == "enter" ? VK_RETURN : key == "escape" ? VK_ESCAPE : key == "tab" ? VK_TAB
                : key.size() == 1 ? static_cast<WPARAM>(toupper(static_cast<unsigned char>(key[0]))) : VK_SPACE;
    PostMessageW(control, WM_KEYDOWN, vk, 1);
    PostMessageW(control, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
    return 0;
  }
  return 2;
}
