// Creation of control windows per kind, properties applied to them and state read from them.

#include <windows.h>

#include <richedit.h>

#include <algorithm>

#include "platform/win32/live_form_internal.h"
#include "support/text.h"
#include "wizard/forms/html_text.h"

namespace korvane::platform::win32 {

using forms::Component;
using forms::ControlKind;
using forms::Value;
using forms::ValueKind;

namespace {

std::string IdentOr(const Component& c, std::string_view property, std::string fallback) {
  auto v = c.Ident(property);
  return v ? *v : fallback;
}

std::wstring JoinLines(const std::vector<std::string>& lines) {
  std::wstring out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += L"\r\n";
    out += Wide(lines[i]);
  }
  return out;
}

std::vector<std::string> SplitLines(const std::wstring& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (end == std::wstring::npos) {
      if (!line.empty()) lines.push_back(Utf8(line));
      break;
    }
    lines.push_back(Utf8(line));
    start = end + 1;
  }
  return lines;
}

Value StringList(const std::vector<std::string>& lines) {
  std::vector<Value> items;
  for (const std::string& l : lines) items.push_back(Value::String(l));
  return Value::List(std::move(items));
}

std::vector<std::string> StringsOf(const Value& v) {
  std::vector<std::string> out;
  for (const Value& item : v.items)
    if (item.kind == ValueKind::String) out.push_back(item.text);
  return out;
}

bool IsEditKind(ControlKind k) {
  return k == ControlKind::Edit || k == ControlKind::MaskEdit || k == ControlKind::Memo || k == ControlKind::RichEdit ||
         k == ControlKind::HtmlViewer;
}
bool IsListKind(ControlKind k) {
  return k == ControlKind::ListBox || k == ControlKind::CheckListBox || k == ControlKind::FileListBox ||
         k == ControlKind::DirectoryListBox;
}
bool IsComboKind(ControlKind k) {
  return k == ControlKind::ComboBox || k == ControlKind::DriveComboBox || k == ControlKind::FilterComboBox ||
         k == ControlKind::ShellCombo;
}
bool IsButtonKind(ControlKind k) {
  return k == ControlKind::Button || k == ControlKind::BitButton || k == ControlKind::SpeedButton ||
         k == ControlKind::BitmapButton || k == ControlKind::CheckBox || k == ControlKind::RadioButton;
}

void FillList(HWND window, ControlKind kind, const std::vector<std::string>& items) {
  bool combo = IsComboKind(kind);
  SendMessageW(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    std::wstring w = Wide(item);
    SendMessageW(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
}

// Tree items written one per line; leading blanks give the depth (any amount deeper than the
// line above makes a child).
void FillTree(HWND window, const std::vector<std::string>& lines) {
  TreeView_DeleteAllItems(window);
  std::vector<std::pair<size_t, HTREEITEM>> stack;  // indentation, item
  for (const std::string& line : lines) {
    size_t indent = line.find_first_not_of(" \t");
    if (indent == std::string::npos) continue;
    while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
    std::wstring text = Wide(line.substr(indent));
    TVINSERTSTRUCTW insert{};
    insert.hParent = stack.empty() ? TVI_ROOT : stack.back().second;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text.data();
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    stack.emplace_back(indent, item);
    if (insert.hParent != TVI_ROOT) TreeView_Expand(window, insert.hParent, TVE_EXPAND);
  }
}

std::wstring TreeItemText(HWND window, HTREEITEM item) {
  wchar_t buffer[520] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = 519;
  SendMessageW(window, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return buffer;
}

std::wstring CurrentFolder() {
  wchar_t buffer[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

std::wstring WithSlash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

struct Entry {
  std::wstring name;
  bool folder;
};

std::vector<Entry> ListFolder(const std::wstring& folder, const std::wstring& mask) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((WithSlash(folder) + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  (void)mask;
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return _wcsicmp(a.name.c_str(), b.name.c_str()) < 0;
  });
  return entries;
}

// "*.txt;*.log" against a file name.
bool MatchesMask(const std::wstring& name, const std::wstring& masks) {
  size_t start = 0;
  while (start <= masks.size()) {
    size_t end = masks.find(L';', start);
    std::wstring mask = masks.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (mask.empty() || mask == L"*.*" || mask == L"*") return true;
    if (mask.size() > 1 && mask[0] == L'*') {
      std::wstring tail = mask.substr(1);
      if (name.size() >= tail.size() && _wcsicmp(name.c_str() + name.size() - tail.size(), tail.c_str()) == 0) return true;
    } else if (_wcsicmp(name.c_str(), mask.c_str()) == 0) {
      return true;
    }
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return false;
}

std::vector<std::wstring> Drives() {
  std::vector<std::wstring> drives;
  wchar_t buffer[256] = {};
  GetLogicalDriveStringsW(255, buffer);
  for (const wchar_t* p = buffer; *p; p += wcslen(p) + 1) drives.emplace_back(p);
  return drives;
}

}  // namespace

void ShowFolder(Control& control, const std::wstring& folder) {
  control.folder = folder;
  HWND w = control.window;
  const Component& c = *control.component;
  switch (control.kind) {
    case ControlKind::FileListBox: {
      std::wstring mask = Wide(c.String("Mask").value_or("*.*"));
      SendMessageW(w, LB_RESETCONTENT, 0, 0);
      for (const Entry& e : ListFolder(folder, mask))
        if (!e.folder && MatchesMask(e.name, mask)) SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.name.c_str()));
      break;
    }
    case ControlKind::DirectoryListBox: {
      // The path from the root down, each level indented, then the sub-folders.
      SendMessageW(w, LB_RESETCONTENT, 0, 0);
      control.paths.clear();
      std::wstring path;
      int depth = 0;
      size_t start = 0;
      std::wstring f = WithSlash(folder);
      while (start < f.size()) {
        size_t end = f.find(L'\\', start);
        std::wstring part = f.substr(start, end - start);
        path += part + L"\\";
        std::wstring label = std::wstring(static_cast<size_t>(depth) * 2, L' ') + (depth == 0 ? path : part);
        SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        control.paths.push_back(path);
        ++depth;
        start = end + 1;
      }
      SendMessageW(w, LB_SETCURSEL, control.paths.size() - 1, 0);
      for (const Entry& e : ListFolder(folder, L"*")) {
        if (!e.folder) continue;
        std::wstring label = std::wstring(static_cast<size_t>(depth) * 2, L' ') + e.name;
        SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        control.paths.push_back(WithSlash(folder) + e.name + L"\\");
      }
      break;
    }
    case ControlKind::ShellList: {
      ListView_DeleteAllItems(w);
      control.paths.clear();
      int index = 0;
      for (const Entry& e : ListFolder(folder, L"*")) {
        std::wstring label = e.folder ? L"[" + e.name + L"]" : e.name;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index++;
        item.pszText = label.data();
        item.lParam = static_cast<LPARAM>(control.paths.size());
        control.paths.push_back(WithSlash(folder) + e.name + (e.folder ? L"\\" : L""));
        SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      }
      break;
    }
    case ControlKind::ShellCombo: {
      SendMessageW(w, CB_RESETCONTENT, 0, 0);
      control.paths.clear();
      int selected = -1;
      for (const std::wstring& d : Drives()) {
        if (_wcsnicmp(d.c_str(), folder.c_str(), 2) == 0) {
          SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WithSlash(folder).c_str()));
          control.paths.push_back(WithSlash(folder));
          selected = static_cast<int>(control.paths.size()) - 1;
          if (_wcsicmp(WithSlash(folder).c_str(), d.c_str()) == 0) continue;
        }
        SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.c_str()));
        control.paths.push_back(d);
      }
      SendMessageW(w, CB_SETCURSEL, selected, 0);
      break;
    }
    default: break;
  }
}

void ExpandShellNode(Control& control, HTREEITEM item) {
  HWND w = control.window;
  HTREEITEM child = TreeView_GetChild(w, item);
  if (!child || TreeItemText(w, child) != L"...") return;  // already filled
  TreeView_DeleteItem(w, child);
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  SendMessageW(w, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  if (tv.lParam < 0 || static_cast<size_t>(tv.lParam) >= control.paths.size()) return;
  std::wstring folder = control.paths[static_cast<size_t>(tv.lParam)];
  for (const Entry& e : ListFolder(folder, L"*")) {
    if (!e.folder) continue;
    TVINSERTSTRUCTW insert{};
    insert.hParent = item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    std::wstring label = e.name;
    insert.item.pszText = label.data();
    insert.item.lParam = static_cast<LPARAM>(control.paths.size());
    insert.item.cChildren = 1;
    control.paths.push_back(WithSlash(folder) + e.name + L"\\");
    HTREEITEM added = reinterpret_cast<HTREEITEM>(SendMessageW(w, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    TVINSERTSTRUCTW dummy{};
    dummy.hParent = added;
    dummy.item.mask = TVIF_TEXT;
    wchar_t dots[] = L"...";
    dummy.item.pszText = dots;
    SendMessageW(w, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&dummy));
  }
}

void SelectPage(Control& control, int index) {
  for (size_t i = 0; i < control.pages.size(); ++i)
    ShowWindow(control.pages[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  if (TabCtrl_GetCurSel(control.window) != index) TabCtrl_SetCurSel(control.window, index);
}

HWND CreateControlWindow(Control& control, HWND parent, int id, std::vector<std::string>& warnings) {
  const Component& c = *control.component;
  const std::string label = c.Name();
  auto note = [&](const std::string& what) { warnings.push_back(label + ": " + what); };
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  const wchar_t* cls = L"STATIC";
  std::wstring text;
  bool tab_stop = c.Boolean("TabStop").value_or(true);
  std::string alignment = IdentOr(c, "Alignment", "taLeftJustify");
  std::string border = IdentOr(c, "BorderStyle", "bsSingle");
  switch (control.kind) {
    case ControlKind::Label: {
      cls = L"STATIC";
      style |= SS_NOTIFY;
      style |= alignment == "taCenter" ? SS_CENTER : alignment == "taRightJustify" ? SS_RIGHT
               : c.Boolean("WordWrap").value_or(false) ? SS_LEFT : SS_LEFTNOWORDWRAP;
      if (!c.Boolean("ShowAccelChar").value_or(true)) style |= SS_NOPREFIX;
      if (IdentOr(c, "Layout", "tlTop") == "tlCenter") style |= SS_CENTERIMAGE;
      text = Wide(c.String("Caption").value_or(""));
      tab_stop = false;
      break;
    }
    case ControlKind::StaticText: {
      style |= SS_NOTIFY | (alignment == "taCenter" ? SS_CENTER : alignment == "taRightJustify" ? SS_RIGHT : SS_LEFT);
      std::string b = IdentOr(c, "BorderStyle", "sbsNone");
      if (b == "sbsSunken") style |= SS_SUNKEN;
      if (b == "sbsSingle") style |= WS_BORDER;
      text = Wide(c.String("Caption").value_or(""));
      tab_stop = false;
      break;
    }
    case ControlKind::Edit:
    case ControlKind::MaskEdit: {
      cls = L"EDIT";
      ex |= border == "bsNone" ? 0 : WS_EX_CLIENTEDGE;
      style |= ES_AUTOHSCROLL | (alignment == "taCenter" ? ES_CENTER : alignment == "taRightJustify" ? ES_RIGHT : ES_LEFT);
      std::string char_case = IdentOr(c, "CharCase", "ecNormal");
      if (char_case == "ecUpperCase") style |= ES_UPPERCASE;
      if (char_case == "ecLowerCase") style |= ES_LOWERCASE;
      text = Wide(c.String("Text").value_or(""));
      if (control.kind == ControlKind::MaskEdit && c.Find("EditMask")) note("edit mask is kept but not enforced");
      break;
    }
    case ControlKind::Memo:
    case ControlKind::RichEdit:
    case ControlKind::HtmlViewer: {
      bool rich = control.kind != ControlKind::Memo;
      if (rich) LoadLibraryW(L"riched20.dll");
      cls = rich ? L"RichEdit20W" : L"EDIT";
      ex |= border == "bsNone" ? 0 : WS_EX_CLIENTEDGE;
      style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
      std::string bars = IdentOr(c, "ScrollBars", control.kind == ControlKind::HtmlViewer ? "ssVertical" : "ssNone");
      if (bars == "ssVertical" || bars == "ssBoth") style |= WS_VSCROLL;
      if (bars == "ssHorizontal" || bars == "ssBoth") style |= WS_HSCROLL;
      if (!c.Boolean("WordWrap").value_or(true)) style |= ES_AUTOHSCROLL;
      if (control.kind == ControlKind::HtmlViewer) {
        style |= ES_READONLY;
        note("HTML viewer shows the page as plain text");
      }
      if (auto lines = c.Strings("Lines.Strings")) text = JoinLines(*lines);
      break;
    }
    case ControlKind::Button:
      cls = L"BUTTON";
      style |= c.Boolean("Default").value_or(false) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      if (c.Boolean("WordWrap").value_or(false)) style |= BS_MULTILINE;
      text = Wide(c.String("Caption").value_or(""));
      break;
    case ControlKind::BitButton:
    case ControlKind::SpeedButton:
    case ControlKind::BitmapButton: {
      cls = L"BUTTON";
      style |= BS_OWNERDRAW;
      text = Wide(c.String("Caption").value_or(""));
      const char* picture = control.kind == ControlKind::BitmapButton ? "Bitmaps.Up.Data" : "Glyph.Data";
      control.bitmap = BitmapFromPicture(c.Find(picture), &control.bitmap_size);
      int64_t glyphs = c.Integer("NumGlyphs").value_or(1);
      if (control.bitmap && glyphs > 1) control.bitmap_size.cx = static_cast<LONG>(control.bitmap_size.cx / glyphs);
      if (control.kind == ControlKind::SpeedButton) tab_stop = false;
      break;
    }
    case ControlKind::CheckBox:
      cls = L"BUTTON";
      style |= c.Boolean("AllowGrayed").value_or(false) ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
      // The caption sits right of the box unless Alignment says taLeftJustify.
      if (c.Ident("Alignment") == "taLeftJustify") style |= BS_LEFTTEXT;
      if (c.Boolean("WordWrap").value_or(false)) style |= BS_MULTILINE;
      text = Wide(c.String("Caption").value_or(""));
      break;
    case ControlKind::RadioButton:
      // Radio buttons of one parent form one group; the toolkit unchecks the others itself.
      cls = L"BUTTON";
      style |= BS_RADIOBUTTON;
      if (c.Ident("Alignment") == "taLeftJustify") style |= BS_LEFTTEXT;
      if (c.Boolean("WordWrap").value_or(false)) style |= BS_MULTILINE;
      text = Wide(c.String("Caption").value_or(""));
      tab_stop = c.Boolean("TabStop").value_or(false) || c.Boolean("Checked").value_or(false);
      break;
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::FileListBox:
    case ControlKind::DirectoryListBox: {
      cls = L"LISTBOX";
      ex |= border == "bsNone" ? 0 : WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
      if (c.Boolean("Sorted").value_or(false)) style |= LBS_SORT;
      if (c.Boolean("MultiSelect").value_or(false)) style |= c.Boolean("ExtendedSelect").value_or(true) ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
      if (control.kind == ControlKind::CheckListBox) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
      if (control.kind == ControlKind::DirectoryListBox) note("directory list shows folder names without folder pictures");
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::DriveComboBox:
    case ControlKind::FilterComboBox:
    case ControlKind::ShellCombo: {
      cls = L"COMBOBOX";
      style |= WS_VSCROLL | CBS_AUTOHSCROLL;
      std::string s = IdentOr(c, "Style", "csDropDown");
      if (control.kind != ControlKind::ComboBox || s == "csDropDownList" || s == "csOwnerDrawFixed" || s == "csOwnerDrawVariable")
        style |= CBS_DROPDOWNLIST;
      else if (s == "csSimple") style |= CBS_SIMPLE;
      else style |= CBS_DROPDOWN;
      if (c.Boolean("Sorted").value_or(false)) style |= CBS_SORT;
      break;
    }
    case ControlKind::GroupBox:
    case ControlKind::Panel:
    case ControlKind::TabSheet:
    case ControlKind::FlashMovieFrame:
      cls = kContainerClass;
      ex |= WS_EX_CONTROLPARENT;
      style |= WS_CLIPCHILDREN;
      if (control.kind == ControlKind::FlashMovieFrame) note("Flash movie frame shown as a panel with its caption (no Flash player)");
      text = Wide(c.String("Caption").value_or(""));
      tab_stop = false;
      break;
    case ControlKind::Image:
    case ControlKind::ShapedForm:
    case ControlKind::Shape:
    case ControlKind::Bevel:
    case ControlKind::Gauge:
      cls = kCanvasClass;
      tab_stop = false;
      if (control.kind == ControlKind::Image || control.kind == ControlKind::ShapedForm) {
        control.bitmap = BitmapFromPicture(c.Find("Picture.Data"), &control.bitmap_size);
        if (c.Find("Picture.Data") && !control.bitmap) note("picture is not a bitmap and is not shown");
      }
      if (control.kind == ControlKind::ShapedForm) note("shaped-form image shown as an image; the window keeps its rectangular shape");
      break;
    case ControlKind::PageControl:
      cls = WC_TABCONTROLW;
      style |= WS_CLIPCHILDREN;
      ex |= WS_EX_CONTROLPARENT;
      if (c.Boolean("MultiLine").value_or(false)) style |= TCS_MULTILINE;
      break;
    case ControlKind::TrackBar:
      cls = TRACKBAR_CLASSW;
      style |= TBS_AUTOTICKS;
      if (IdentOr(c, "Orientation", "trHorizontal") == "trVertical") style |= TBS_VERT;
      if (IdentOr(c, "TickMarks", "tmBottomRight") == "tmBoth") style |= TBS_BOTH;
      if (IdentOr(c, "TickMarks", "tmBottomRight") == "tmTopLeft") style |= TBS_TOP;
      if (IdentOr(c, "TickStyle", "tsAuto") == "tsNone") style |= TBS_NOTICKS;
      break;
    case ControlKind::ProgressBar:
      cls = PROGRESS_CLASSW;
      if (c.Boolean("Smooth").value_or(false)) style |= PBS_SMOOTH;
      if (IdentOr(c, "Orientation", "pbHorizontal") == "pbVertical") style |= PBS_VERTICAL;
      tab_stop = false;
      break;
    case ControlKind::UpDown:
      cls = UPDOWN_CLASSW;
      style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
      if (IdentOr(c, "Orientation", "udVertical") == "udHorizontal") style |= UDS_HORZ;
      if (c.Boolean("Wrap").value_or(false)) style |= UDS_WRAP;
      tab_stop = false;
      break;
    case ControlKind::Animation:
      cls = ANIMATE_CLASSW;
      style |= ACS_CENTER | ACS_TRANSPARENT;
      tab_stop = false;
      break;
    case ControlKind::TreeView:
    case ControlKind::ShellTree:
      cls = WC_TREEVIEWW;
      ex |= border == "bsNone" ? 0 : WS_EX_CLIENTEDGE;
      style |= TVS_HASBUTTONS | TVS_LINESATROOT | TVS_HASLINES;
      if (!c.Boolean("HideSelection").value_or(control.kind == ControlKind::TreeView)) style |= TVS_SHOWSELALWAYS;
      if (control.kind == ControlKind::TreeView && c.Boolean("ReadOnly").value_or(false)) style &= ~static_cast<DWORD>(TVS_EDITLABELS);
      if (control.kind == ControlKind::TreeView && (c.Find("Items.NodeData") || c.Find("Items.Data")))
        note("binary tree-node data is not shown; tree items are read from Items.Strings");
      if (control.kind == ControlKind::ShellTree) note("shell tree browses drives and folders (no virtual shell folders)");
      break;
    case ControlKind::ShellList:
      cls = WC_LISTVIEWW;
      ex |= WS_EX_CLIENTEDGE;
      style |= LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      note("shell list shows file and folder names (no shell icons or virtual folders)");
      break;
    case ControlKind::GlassFrame:
      return nullptr;  // non-visual
    default:
      note("no window for class " + c.ClassName());
      return nullptr;
  }
  if (tab_stop) style |= WS_TABSTOP;
  if (c.Boolean("Visible").value_or(true)) style |= WS_VISIBLE;
  if (!c.Boolean("Enabled").value_or(true)) style |= WS_DISABLED;
  int left = static_cast<int>(c.Integer("Left").value_or(0)), top = static_cast<int>(c.Integer("Top").value_or(0));
  int width = static_cast<int>(c.Integer("Width").value_or(100)), height = static_cast<int>(c.Integer("Height").value_or(25));
  if (IsComboKind(control.kind)) height += static_cast<int>(c.Integer("DropDownCount").value_or(8)) * 16;
  HWND w = CreateWindowExW(ex, cls, text.c_str(), style, left, top, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  control.window = w;
  if (!w) return nullptr;
  // Fill what the kind shows beyond its text.
  switch (control.kind) {
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::ComboBox:
      if (auto items = c.Strings("Items.Strings")) FillList(w, control.kind, *items);
      if (control.kind == ControlKind::CheckListBox) {
        control.checks.assign(static_cast<size_t>(SendMessageW(w, LB_GETCOUNT, 0, 0)), false);
        if (auto h = c.Integer("ItemHeight")) SendMessageW(w, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(*h));
      }
      if (control.kind == ControlKind::ComboBox && c.Find("Text")) SetWindowTextW(w, Wide(*c.String("Text")).c_str());
      break;
    case ControlKind::FilterComboBox: {
      // Filter: description|mask|description|mask...
      std::string filter = c.String("Filter").value_or("All files (*.*)|*.*");
      std::vector<std::string> descriptions;
      size_t start = 0;
      for (int part = 0; start <= filter.size(); ++part) {
        size_t end = filter.find('|', start);
        if (part % 2 == 0) descriptions.push_back(filter.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
      }
      FillList(w, control.kind, descriptions);
      SendMessageW(w, CB_SETCURSEL, 0, 0);
      break;
    }
    case ControlKind::DriveComboBox: {
      std::wstring current = CurrentFolder();
      int selected = 0, index = 0;
      for (const std::wstring& d : Drives()) {
        wchar_t volume[MAX_PATH + 1] = {};
        GetVolumeInformationW(d.c_str(), volume, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0);
        std::wstring item = std::wstring(1, static_cast<wchar_t>(towlower(d[0]))) + L": " + (volume[0] ? L"[" + std::wstring(volume) + L"]" : L"");
        SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (!current.empty() && towlower(current[0]) == towlower(d[0])) selected = index;
        ++index;
      }
      SendMessageW(w, CB_SETCURSEL, selected, 0);
      break;
    }
    case ControlKind::FileListBox:
    case ControlKind::DirectoryListBox:
    case ControlKind::ShellList:
    case ControlKind::ShellCombo: {
      std::wstring folder = Wide(c.String("Directory").value_or(c.String("Root").value_or("")));
      ShowFolder(control, folder.empty() ? CurrentFolder() : folder);
      break;
    }
    case ControlKind::ShellTree: {
      control.paths.clear();
      for (const std::wstring& d : Drives()) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        std::wstring label = d;
        insert.item.pszText = label.data();
        insert.item.lParam = static_cast<LPARAM>(control.paths.size());
        control.paths.push_back(d);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(w, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        TVINSERTSTRUCTW dummy{};
        dummy.hParent = item;
        dummy.item.mask = TVIF_TEXT;
        wchar_t dots[] = L"...";
        dummy.item.pszText = dots;
        SendMessageW(w, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&dummy));
      }
      break;
    }
    case ControlKind::TreeView:
      if (auto items = c.Strings("Items.Strings")) FillTree(w, *items);
      break;
    case ControlKind::TrackBar:
      SendMessageW(w, TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(c.Integer("Min").value_or(0)));
      SendMessageW(w, TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(c.Integer("Max").value_or(10)));
      SendMessageW(w, TBM_SETTICFREQ, static_cast<WPARAM>(c.Integer("Frequency").value_or(1)), 0);
      SendMessageW(w, TBM_SETPOS, TRUE, static_cast<LPARAM>(c.Integer("Position").value_or(0)));
      break;
    case ControlKind::ProgressBar:
      SendMessageW(w, PBM_SETRANGE32, static_cast<WPARAM>(c.Integer("Min").value_or(0)), static_cast<LPARAM>(c.Integer("Max").value_or(100)));
      SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(c.Integer("Position").value_or(0)), 0);
      break;
    case ControlKind::UpDown:
      SendMessageW(w, UDM_SETRANGE32, static_cast<WPARAM>(c.Integer("Min").value_or(0)), static_cast<LPARAM>(c.Integer("Max").value_or(100)));
      SendMessageW(w, UDM_SETPOS32, 0, static_cast<LPARAM>(c.Integer("Position").value_or(0)));
      break;
    case ControlKind::Animation: {
      static const std::pair<const char*, int> clips[] = {
          {"aviFindFolder", 150}, {"aviFindFile", 151}, {"aviFindComputer", 152}, {"aviCopyFiles", 160},
          {"aviCopyFile", 161}, {"aviRecycleFile", 162}, {"aviEmptyRecycle", 163}, {"aviDeleteFile", 164}};
      std::string clip = IdentOr(c, "CommonAVI", "aviNone");
      for (auto [name, resource] : clips) {
        if (clip != name) continue;
        HMODULE shell = LoadLibraryW(L"shell32.dll");
        if (!SendMessageW(w, ACM_OPENW, reinterpret_cast<WPARAM>(shell), reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(resource))))
          note("common clip " + clip + " is not available here; the animation stays empty");
        else if (c.Boolean("Active").value_or(false))
          SendMessageW(w, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, -1));
      }
      break;
    }
    default: break;
  }
  if (IsEditKind(control.kind)) {
    if (auto max = c.Integer("MaxLength"); max && *max > 0) SendMessageW(w, EM_LIMITTEXT, static_cast<WPARAM>(*max), 0);
    if (c.Boolean("ReadOnly").value_or(false)) SendMessageW(w, EM_SETREADONLY, TRUE, 0);
    if (auto password = c.String("PasswordChar"); password && !password->empty() && (*password)[0] != '\0')
      SendMessageW(w, EM_SETPASSWORDCHAR, static_cast<WPARAM>(Wide(*password)[0]), 0);
    if (control.kind == ControlKind::RichEdit || control.kind == ControlKind::HtmlViewer)
      SendMessageW(w, EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (control.kind == ControlKind::RichEdit && (style & WS_VSCROLL) == 0) ShowScrollBar(w, SB_VERT, FALSE);
  }
  if (IsListKind(control.kind) || control.kind == ControlKind::ComboBox) {
    if (auto index = c.Integer("ItemIndex"))
      SendMessageW(w, control.kind == ControlKind::ComboBox ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(*index), 0);
  }
  if (control.kind == ControlKind::CheckBox) {
    std::string state = IdentOr(c, "State", "");
    int check = state == "cbGrayed" ? BST_INDETERMINATE : (c.Boolean("Checked").value_or(false) || state == "cbChecked") ? BST_CHECKED : BST_UNCHECKED;
    SendMessageW(w, BM_SETCHECK, static_cast<WPARAM>(check), 0);
  }
  if (control.kind == ControlKind::RadioButton && c.Boolean("Checked").value_or(false)) SendMessageW(w, BM_SETCHECK, BST_CHECKED, 0);
  return w;
}

bool ApplyProperty(Control& control, std::string_view name, const Value& value) {
  HWND w = control.window;
  if (!w) return false;
  ControlKind k = control.kind;
  auto integer = [&]() { return value.kind == ValueKind::Integer ? value.integer : 0; };
  auto truth = [&]() { return value.AsBoolean().value_or(false); };
  if (SameText(name, "Caption") || (SameText(name, "Text") && !IsListKind(k))) {
    if (value.kind != ValueKind::String) return false;
    if (k == ControlKind::GroupBox || k == ControlKind::Panel || k == ControlKind::FlashMovieFrame ||
        k == ControlKind::BitButton || k == ControlKind::SpeedButton || k == ControlKind::BitmapButton) {
      SetWindowTextW(w, Wide(value.text).c_str());
      InvalidateRect(w, nullptr, TRUE);
      return true;
    }
    if (k == ControlKind::TabSheet) {
      HWND tabs = GetParent(w);
      int count = TabCtrl_GetItemCount(tabs);
      for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_PARAM;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (reinterpret_cast<HWND>(item.lParam) == w) {
          std::wstring text = Wide(value.text);
          item.mask = TCIF_TEXT;
          item.pszText = text.data();
          SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
      }
      return true;
    }
    if (k == ControlKind::HtmlViewer) {
      SetWindowTextW(w, Wide(forms::HtmlToText(value.text)).c_str());
      return true;
    }
    SetWindowTextW(w, Wide(value.text).c_str());
    return true;
  }
  if (SameText(name, "Html") && k == ControlKind::HtmlViewer) {
    SetWindowTextW(w, Wide(forms::HtmlToText(value.text)).c_str());
    return true;
  }
  if (SameText(name, "Lines.Strings") && IsEditKind(k)) {
    SetWindowTextW(w, JoinLines(StringsOf(value)).c_str());
    return true;
  }
  if (SameText(name, "Items.Strings")) {
    if (k == ControlKind::TreeView) {
      FillTree(w, StringsOf(value));
      return true;
    }
    if (IsListKind(k) || k == ControlKind::ComboBox) {
      std::wstring text = WindowTextOf(w);
      FillList(w, k, StringsOf(value));
      if (k == ControlKind::CheckListBox) control.checks.assign(StringsOf(value).size(), false);
      if (k == ControlKind::ComboBox) SetWindowTextW(w, text.c_str());
      return true;
    }
  }
  if (SameText(name, "Checked") && (k == ControlKind::CheckBox || k == ControlKind::RadioButton)) {
    SendMessageW(w, BM_SETCHECK, truth() ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
  }
  if (SameText(name, "CheckedItems") && k == ControlKind::CheckListBox) {
    std::vector<std::string> wanted = StringsOf(value);
    int count = static_cast<int>(SendMessageW(w, LB_GETCOUNT, 0, 0));
    control.checks.assign(static_cast<size_t>(count), false);
    for (int i = 0; i < count; ++i) {
      std::wstring item(static_cast<size_t>(SendMessageW(w, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      SendMessageW(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      item.resize(wcslen(item.c_str()));
      for (const std::string& want : wanted)
        if (SameText(want, Utf8(item))) control.checks[static_cast<size_t>(i)] = true;
    }
    InvalidateRect(w, nullptr, TRUE);
    return true;
  }
  if (SameText(name, "ItemIndex")) {
    if (IsListKind(k)) SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(integer()), 0);
    else if (IsComboKind(k)) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(integer()), 0);
    else return false;
    return true;
  }
  if (SameText(name, "Position") || SameText(name, "Min") || SameText(name, "Max")) {
    if (value.kind != ValueKind::Integer) return false;
    bool pos = SameText(name, "Position"), min = SameText(name, "Min");
    if (k == ControlKind::TrackBar) SendMessageW(w, pos ? TBM_SETPOS : min ? TBM_SETRANGEMIN : TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(integer()));
    else if (k == ControlKind::ProgressBar && pos) SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(integer()), 0);
    else if (k == ControlKind::ProgressBar) {
      auto range = SendMessageW(w, PBM_GETRANGE, min ? TRUE : FALSE, 0);
      (void)range;
      PBRANGE r{};
      SendMessageW(w, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&r));
      if (min) r.iLow = static_cast<int>(integer()); else r.iHigh = static_cast<int>(integer());
      SendMessageW(w, PBM_SETRANGE32, static_cast<WPARAM>(r.iLow), static_cast<LPARAM>(r.iHigh));
    } else if (k == ControlKind::UpDown && pos) SendMessageW(w, UDM_SETPOS32, 0, static_cast<LPARAM>(integer()));
    else return false;
    return true;
  }
  if (SameText(name, "Progress") || SameText(name, "ForeColor") || SameText(name, "Brush.Color") || SameText(name, "Shape")) {
    InvalidateRect(w, nullptr, TRUE);
    return true;
  }
  if (SameText(name, "Enabled")) {
    EnableWindow(w, truth());
    return true;
  }
  if (SameText(name, "Visible")) {
    ShowWindow(w, truth() ? SW_SHOW : SW_HIDE);
    return true;
  }
  if (SameText(name, "ReadOnly") && IsEditKind(k)) {
    SendMessageW(w, EM_SETREADONLY, truth(), 0);
    return true;
  }
  if (SameText(name, "MaxLength") && IsEditKind(k)) {
    SendMessageW(w, EM_LIMITTEXT, static_cast<WPARAM>(integer()), 0);
    return true;
  }
  if (SameText(name, "PasswordChar") && IsEditKind(k) && value.kind == ValueKind::String) {
    std::wstring p = Wide(value.text);
    SendMessageW(w, EM_SETPASSWORDCHAR, p.empty() ? 0 : static_cast<WPARAM>(p[0]), 0);
    InvalidateRect(w, nullptr, TRUE);
    return true;
  }
  if (SameText(name, "Left") || SameText(name, "Top") || SameText(name, "Width") || SameText(name, "Height")) {
    const Component& c = *control.component;
    MoveWindow(w, static_cast<int>(c.Integer("Left").value_or(0)), static_cast<int>(c.Integer("Top").value_or(0)),
               static_cast<int>(c.Integer("Width").value_or(100)), static_cast<int>(c.Integer("Height").value_or(25)), TRUE);
    return true;
  }
  if (SameText(name, "Picture.Data") || SameText(name, "Glyph.Data")) {
    if (control.bitmap) DeleteObject(control.bitmap);
    control.bitmap = BitmapFromPicture(&value, &control.bitmap_size);
    InvalidateRect(w, nullptr, TRUE);
    return true;
  }
  if (SameText(name, "Directory") || SameText(name, "Root")) {
    if (value.kind != ValueKind::String) return false;
    ShowFolder(control, Wide(value.text));
    return true;
  }
  return false;
}

std::optional<Value> ReadLiveProperty(const Control& control, std::string_view name) {
  HWND w = control.window;
  if (!w) return std::nullopt;
  ControlKind k = control.kind;
  auto list_text = [&](int i) {
    bool combo = IsComboKind(k);
    auto n = SendMessageW(w, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n < 0) return std::string();
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(w, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(wcslen(s.c_str()));
    return Utf8(s);
  };
  if ((SameText(name, "Text") && (IsEditKind(k) || IsComboKind(k))) ||
      (SameText(name, "Caption") && (IsButtonKind(k) || k == ControlKind::Label || k == ControlKind::StaticText))) {
    return Value::String(Utf8(WindowTextOf(w)));
  }
  if (SameText(name, "Lines.Strings") && IsEditKind(k)) return StringList(SplitLines(WindowTextOf(w)));
  if (SameText(name, "Checked") && (k == ControlKind::CheckBox || k == ControlKind::RadioButton))
    return Value::Boolean(SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED);
  if (SameText(name, "ItemIndex") && (IsListKind(k) || IsComboKind(k)))
    return Value::Integer(SendMessageW(w, IsComboKind(k) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
  if (SameText(name, "Items.Strings") && (IsListKind(k) || IsComboKind(k))) {
    std::vector<std::string> items;
    auto count = SendMessageW(w, IsComboKind(k) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) items.push_back(list_text(i));
    return StringList(items);
  }
  if (SameText(name, "SelectedItems") && IsListKind(k)) {
    std::vector<std::string> items;
    auto count = SendMessageW(w, LB_GETCOUNT, 0, 0);
    bool multi = (GetWindowLongW(w, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
    for (int i = 0; i < count; ++i) {
      bool selected = multi ? SendMessageW(w, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0 : SendMessageW(w, LB_GETCURSEL, 0, 0) == i;
      if (selected) items.push_back(list_text(i));
    }
    return StringList(items);
  }
  if (SameText(name, "CheckedItems") && k == ControlKind::CheckListBox) {
    std::vector<std::string> items;
    for (size_t i = 0; i < control.checks.size(); ++i)
      if (control.checks[i]) items.push_back(list_text(static_cast<int>(i)));
    return StringList(items);
  }
  if (SameText(name, "Position")) {
    if (k == ControlKind::TrackBar) return Value::Integer(SendMessageW(w, TBM_GETPOS, 0, 0));
    if (k == ControlKind::ProgressBar) return Value::Integer(SendMessageW(w, PBM_GETPOS, 0, 0));
    if (k == ControlKind::UpDown) return Value::Integer(SendMessageW(w, UDM_GETPOS32, 0, 0));
  }
  if (SameText(name, "Selected")) {
    if (k == ControlKind::TreeView || k == ControlKind::ShellTree) {
      HTREEITEM item = TreeView_GetSelection(w);
      if (!item) return Value::String("");
      if (k == ControlKind::TreeView) return Value::String(Utf8(TreeItemText(w, item)));
      TVITEMW tv{};
      tv.mask = TVIF_PARAM;
      tv.hItem = item;
      SendMessageW(w, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
      if (tv.lParam < 0 || static_cast<size_t>(tv.lParam) >= control.paths.size()) return Value::String("");
      return Value::String(Utf8(control.paths[static_cast<size_t>(tv.lParam)]));
    }
    if (k == ControlKind::FileListBox) {
      auto i = SendMessageW(w, LB_GETCURSEL, 0, 0);
      return Value::String(i < 0 ? "" : Utf8(WithSlash(control.folder)) + list_text(static_cast<int>(i)));
    }
    if (k == ControlKind::DirectoryListBox || k == ControlKind::ShellCombo) return Value::String(Utf8(WithSlash(control.folder)));
    if (k == ControlKind::DriveComboBox) {
      std::string t = Utf8(WindowTextOf(w));
      return Value::String(t.empty() ? "" : std::string(1, AsciiLower(t[0])) + ":\\");
    }
    if (k == ControlKind::ShellList) {
      int i = ListView_GetNextItem(w, -1, LVNI_SELECTED);
      if (i < 0) return Value::String("");
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = i;
      SendMessageW(w, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      if (item.lParam < 0 || static_cast<size_t>(item.lParam) >= control.paths.size()) return Value::String("");
      return Value::String(Utf8(control.paths[static_cast<size_t>(item.lParam)]));
    }
  }
  if (SameText(name, "Directory") && (k == ControlKind::FileListBox || k == ControlKind::DirectoryListBox ||
                                      k == ControlKind::ShellList || k == ControlKind::ShellCombo))
    return Value::String(Utf8(control.folder));
  if (SameText(name, "Enabled")) return Value::Boolean(IsWindowEnabled(w) != FALSE);
  if (SameText(name, "Visible")) return Value::Boolean((GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0);
  return std::nullopt;
}

}  // namespace korvane::platform::win32
