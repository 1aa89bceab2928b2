#pragma once
// Shared between the parts of the Win32 form toolkit: the record kept per control window.

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/forms/form_classes.h"
#include "wizard/forms/form_component.h"
#include "wizard/forms/form_picture.h"

namespace korvane::platform::win32 {

// Window classes registered by the toolkit.
inline constexpr wchar_t kFormClass[] = L"KorvaneForm";
inline constexpr wchar_t kContainerClass[] = L"KorvaneContainer";  // panel, group box, tab sheet, Flash frame
inline constexpr wchar_t kCanvasClass[] = L"KorvaneCanvas";        // image, shape, bevel, gauge, shaped form
// Window property holding the global atom of the component name (read by test drivers).
inline constexpr wchar_t kNameProperty[] = L"KorvaneName";

struct Control {
  forms::Component* component = nullptr;
  forms::ControlKind kind = forms::ControlKind::Unknown;
  HWND window = nullptr;
  HWND parent = nullptr;
  int id = 0;
  HFONT font = nullptr;      // owned when own_font
  bool own_font = false;
  COLORREF color = CLR_INVALID;       // background, CLR_INVALID = parent's
  COLORREF font_color = CLR_INVALID;
  HBRUSH brush = nullptr;             // owned
  HBITMAP bitmap = nullptr;           // picture or glyph, owned
  SIZE bitmap_size{};
  std::vector<bool> checks;           // check list box item states
  std::vector<HWND> pages;            // page control: tab sheet windows
  RECT design{};                      // bounds as designed, for anchors
  RECT parent_design{};
  bool pressed = false;               // owner-drawn speed button state
  std::wstring folder;                // file, directory and shell kinds: the folder shown
  std::vector<std::wstring> paths;    // shell tree nodes and shell list entries: full paths
};

// Creates the window of one control (not the form) inside parent; warnings collect what is
// shown only approximately. Returns null when the window cannot be created.
HWND CreateControlWindow(Control& control, HWND parent, int id, std::vector<std::string>& warnings);
// Applies a property that has a visible effect to the control's window. Returns false when the
// property has no window counterpart (it then lives in the model only).
bool ApplyProperty(Control& control, std::string_view name, const forms::Value& value);
// Reads a property from the live window; nullopt when the window does not hold it.
std::optional<forms::Value> ReadLiveProperty(const Control& control, std::string_view name);
// Shows a folder in the file list, directory list, shell list or shell combo.
void ShowFolder(Control& control, const std::wstring& folder);
// Adds the children of a shell-tree node on expansion.
void ExpandShellNode(Control& control, HTREEITEM item);
// Shows one tab sheet of a page control and hides the others.
void SelectPage(Control& control, int index);

// Colours: identifiers (clBtnFace, clWindow, clRed...) or integers (0x00BBGGRR; system colours
// as 0xFF0000nn or 0x800000nn).
COLORREF ColorOf(const forms::Value& value);

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// Window text and the widest sensible default for captions.
std::wstring WindowTextOf(HWND window);

// A bitmap from picture data; null when absent or damaged.
HBITMAP BitmapFromPicture(const forms::Value* data, SIZE* size);

// Paints the owner-painted kinds.
void PaintCanvas(const Control& control, HDC dc, const RECT& client);
void PaintContainer(const Control& control, HDC dc, const RECT& client);
void DrawOwnerButton(const Control& control, const DRAWITEMSTRUCT& item);
void DrawCheckListItem(const Control& control, const DRAWITEMSTRUCT& item);

}  // namespace korvane::platform::win32
