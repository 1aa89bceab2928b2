// Colours, pictures and the painting of owner-drawn kinds of the Win32 form toolkit.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/live_form_internal.h"
#include "support/text.h"

namespace korvane::platform::win32 {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WindowTextOf(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(window, text.data(), n + 1);
  text.resize(wcslen(text.c_str()));
  return text;
}

namespace {

struct NamedColor {
  const char* name;
  COLORREF value;  // system colours carry the index with the high bit set
};

constexpr COLORREF kSystem = 0x80000000;

const NamedColor kColors[] = {
    {"clBlack", RGB(0, 0, 0)}, {"clMaroon", RGB(128, 0, 0)}, {"clGreen", RGB(0, 128, 0)},
    {"clOlive", RGB(128, 128, 0)}, {"clNavy", RGB(0, 0, 128)}, {"clPurple", RGB(128, 0, 128)},
    {"clTeal", RGB(0, 128, 128)}, {"clGray", RGB(128, 128, 128)}, {"clSilver", RGB(192, 192, 192)},
    {"clRed", RGB(255, 0, 0)}, {"clLime", RGB(0, 255, 0)}, {"clYellow", RGB(255, 255, 0)},
    {"clBlue", RGB(0, 0, 255)}, {"clFuchsia", RGB(255, 0, 255)}, {"clAqua", RGB(0, 255, 255)},
    {"clWhite", RGB(255, 255, 255)}, {"clMoneyGreen", RGB(192, 220, 192)}, {"clSkyBlue", RGB(166, 202, 240)},
    {"clCream", RGB(255, 251, 240)}, {"clMedGray", RGB(160, 160, 164)},
    {"clScrollBar", kSystem | COLOR_SCROLLBAR}, {"clBackground", kSystem | COLOR_BACKGROUND},
    {"clActiveCaption", kSystem | COLOR_ACTIVECAPTION}, {"clInactiveCaption", kSystem | COLOR_INACTIVECAPTION},
    {"clMenu", kSystem | COLOR_MENU}, {"clWindow", kSystem | COLOR_WINDOW}, {"clWindowFrame", kSystem | COLOR_WINDOWFRAME},
    {"clMenuText", kSystem | COLOR_MENUTEXT}, {"clWindowText", kSystem | COLOR_WINDOWTEXT},
    {"clCaptionText", kSystem | COLOR_CAPTIONTEXT}, {"clActiveBorder", kSystem | COLOR_ACTIVEBORDER},
    {"clInactiveBorder", kSystem | COLOR_INACTIVEBORDER}, {"clAppWorkSpace", kSystem | COLOR_APPWORKSPACE},
    {"clHighlight", kSystem | COLOR_HIGHLIGHT}, {"clHighlightText", kSystem | COLOR_HIGHLIGHTTEXT},
    {"clBtnFace", kSystem | COLOR_BTNFACE}, {"clBtnShadow", kSystem | COLOR_BTNSHADOW},
    {"clGrayText", kSystem | COLOR_GRAYTEXT}, {"clBtnText", kSystem | COLOR_BTNTEXT},
    {"clInactiveCaptionText", kSystem | COLOR_INACTIVECAPTIONTEXT}, {"clBtnHighlight", kSystem | COLOR_BTNHIGHLIGHT},
    {"cl3DDkShadow", kSystem | COLOR_3DDKSHADOW}, {"cl3DLight", kSystem | COLOR_3DLIGHT},
    {"clInfoText", kSystem | COLOR_INFOTEXT}, {"clInfoBk", kSystem | COLOR_INFOBK},
};

COLORREF Resolve(uint32_t value) {
  // System colours are written as 0x800000nn or, by newer designers, 0xFF0000nn.
  if ((value & 0xFF000000u) == 0x80000000u || (value & 0xFF000000u) == 0xFF000000u)
    return GetSysColor(static_cast<int>(value & 0xFF));
  return value & 0x00FFFFFF;
}

}  // namespace

COLORREF ColorOf(const forms::Value& value) {
  if (value.kind == forms::ValueKind::Integer) return Resolve(static_cast<uint32_t>(value.integer));
  if (value.kind == forms::ValueKind::Identifier) {
    for (const NamedColor& c : kColors)
      if (SameText(c.name, value.text)) return Resolve(c.value);
  }
  return CLR_INVALID;
}

HBITMAP BitmapFromPicture(const forms::Value* data, SIZE* size) {
  if (!data || data->kind != forms::ValueKind::Binary) return nullptr;
  auto picture = forms::DecodeFormPicture(data->bytes);
  if (!picture.ok() || picture->class_name != "TBitmap") return nullptr;
  const std::vector<uint8_t>& bmp = picture->image;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bmp.data() + sizeof(BITMAPFILEHEADER));
  uint32_t offset;
  std::memcpy(&offset, bmp.data() + 10, 4);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bmp.data() + offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (size) *size = SIZE{picture->width, picture->height};
  return bitmap;
}

namespace {

void DrawBitmap(HDC dc, HBITMAP bitmap, SIZE size, const RECT& target, bool stretch, bool center, bool proportional) {
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  int w = target.right - target.left, h = target.bottom - target.top;
  if (stretch) {
    int dw = w, dh = h;
    if (proportional && size.cx > 0 && size.cy > 0) {
      if (static_cast<int64_t>(w) * size.cy > static_cast<int64_t>(h) * size.cx) {
        dw = static_cast<int>(static_cast<int64_t>(h) * size.cx / size.cy);
      } else {
        dh = static_cast<int>(static_cast<int64_t>(w) * size.cy / size.cx);
      }
    }
    int x = target.left + (center ? (w - dw) / 2 : 0), y = target.top + (center ? (h - dh) / 2 : 0);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x, y, dw, dh, memory, 0, 0, size.cx, size.cy, SRCCOPY);
  } else {
    int x = target.left + (center ? (w - size.cx) / 2 : 0), y = target.top + (center ? (h - size.cy) / 2 : 0);
    BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
}

std::string IdentOr(const forms::Component& c, std::string_view property, std::string fallback) {
  auto v = c.Ident(property);
  return v ? *v : fallback;
}

COLORREF ColorOr(const forms::Component& c, std::string_view property, COLORREF fallback) {
  const forms::Value* v = c.Find(property);
  COLORREF color = v ? ColorOf(*v) : CLR_INVALID;
  return color == CLR_INVALID ? fallback : color;
}

}  // namespace

void PaintCanvas(const Control& control, HDC dc, const RECT& client) {
  const forms::Component& c = *control.component;
  switch (control.kind) {
    case forms::ControlKind::Image:
    case forms::ControlKind::ShapedForm:
      DrawBitmap(dc, control.bitmap, control.bitmap_size, client, c.Boolean("Stretch").value_or(false),
                 c.Boolean("Center").value_or(false), c.Boolean("Proportional").value_or(false));
      break;
    case forms::ControlKind::Shape: {
      HBRUSH brush = IdentOr(c, "Brush.Style", "bsSolid") == "bsClear"
                         ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                         : CreateSolidBrush(ColorOr(c, "Brush.Color", RGB(255, 255, 255)));
      HPEN pen = CreatePen(PS_SOLID, static_cast<int>(c.Integer("Pen.Width").value_or(1)), ColorOr(c, "Pen.Color", RGB(0, 0, 0)));
      HGDIOBJ old_brush = SelectObject(dc, brush), old_pen = SelectObject(dc, pen);
      RECT r = client;
      std::string shape = IdentOr(c, "Shape", "stRectangle");
      if (shape == "stSquare" || shape == "stCircle" || shape == "stRoundSquare") {
        int side = std::min(r.right - r.left, r.bottom - r.top);
        r.left += (r.right - r.left - side) / 2;
        r.top += (r.bottom - r.top - side) / 2;
        r.right = r.left + side;
        r.bottom = r.top + side;
      }
      if (shape == "stEllipse" || shape == "stCircle") {
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
      } else if (shape == "stRoundRect" || shape == "stRoundSquare") {
        int radius = std::min(r.right - r.left, r.bottom - r.top) / 4;
        RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
      } else {
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
      }
      SelectObject(dc, old_brush);
      SelectObject(dc, old_pen);
      DeleteObject(pen);
      DeleteObject(brush);
      break;
    }
    case forms::ControlKind::Bevel: {
      bool raised = IdentOr(c, "Style", "bsLowered") == "bsRaised";
      UINT edge = raised ? EDGE_RAISED : EDGE_ETCHED;
      if (!raised) edge = BDR_SUNKENOUTER;
      std::string shape = IdentOr(c, "Shape", "bsBox");
      RECT r = client;
      if (shape == "bsBox") DrawEdge(dc, &r, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
      else if (shape == "bsFrame") DrawEdge(dc, &r, raised ? EDGE_BUMP : EDGE_ETCHED, BF_RECT);
      else if (shape == "bsTopLine") DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
      else if (shape == "bsBottomLine") DrawEdge(dc, &r, EDGE_ETCHED, BF_BOTTOM);
      else if (shape == "bsLeftLine") DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT);
      else if (shape == "bsRightLine") DrawEdge(dc, &r, EDGE_ETCHED, BF_RIGHT);
      (void)edge;
      break;
    }
    case forms::ControlKind::Gauge: {
      int64_t min = c.Integer("MinValue").value_or(0), max = c.Integer("MaxValue").value_or(100);
      int64_t progress = c.Integer("Progress").value_or(0);
      RECT r = client;
      HBRUSH back = CreateSolidBrush(ColorOr(c, "BackColor", RGB(255, 255, 255)));
      FillRect(dc, &r, back);
      DeleteObject(back);
      // In floating point: the file may hold any 64-bit values, whose differences overflow.
      double span = static_cast<double>(max) - static_cast<double>(min);
      double share = span > 0 ? (static_cast<double>(progress) - static_cast<double>(min)) * 100 / span : 0;
      int percent = static_cast<int>(std::max(0.0, std::min(100.0, share)));
      RECT bar = r;
      bar.right = r.left + (r.right - r.left) * percent / 100;
      HBRUSH fore = CreateSolidBrush(ColorOr(c, "ForeColor", RGB(0, 0, 0)));
      FillRect(dc, &bar, fore);
      DeleteObject(fore);
      if (c.Boolean("ShowText").value_or(true)) {
        std::wstring text = std::to_wstring(percent) + L"%";
        SetBkMode(dc, TRANSPARENT);
        // Text in the difference colour stays readable over both parts of the bar.
        SetTextColor(dc, RGB(128, 128, 128));
        DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      }
      RECT frame = r;
      DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
      break;
    }
    default: break;
  }
}

void PaintContainer(const Control& control, HDC dc, const RECT& client) {
  const forms::Component& c = *control.component;
  std::wstring caption = Wide(c.String("Caption").value_or(""));
  SetBkMode(dc, TRANSPARENT);
  if (control.font_color != CLR_INVALID) SetTextColor(dc, control.font_color);
  if (control.kind == forms::ControlKind::GroupBox) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame = client;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
      SIZE extent{};
      GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
      RECT label{8, 0, 8 + extent.cx + 4, tm.tmHeight};
      HBRUSH back = CreateSolidBrush(control.color != CLR_INVALID ? control.color : GetSysColor(COLOR_BTNFACE));
      FillRect(dc, &label, back);
      DeleteObject(back);
      label.left += 2;
      DrawTextW(dc, caption.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    return;
  }
  if (control.kind == forms::ControlKind::Panel || control.kind == forms::ControlKind::FlashMovieFrame) {
    RECT r = client;
    std::string outer = IdentOr(c, "BevelOuter", "bvRaised"), inner = IdentOr(c, "BevelInner", "bvNone");
    int width = static_cast<int>(c.Integer("BevelWidth").value_or(1));
    for (const std::string& bevel : {outer, inner}) {
      if (bevel == "bvNone" || bevel == "bvSpace") continue;
      for (int i = 0; i < width; ++i) {
        DrawEdge(dc, &r, bevel == "bvRaised" ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&r, -1, -1);
      }
    }
    if (!caption.empty()) {
      std::string alignment = IdentOr(c, "Alignment", "taCenter");
      UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
      format |= alignment == "taLeftJustify" ? DT_LEFT : alignment == "taRightJustify" ? DT_RIGHT : DT_CENTER;
      InflateRect(&r, -2, 0);
      DrawTextW(dc, caption.c_str(), -1, &r, format);
    }
  }
}

void DrawOwnerButton(const Control& control, const DRAWITEMSTRUCT& item) {
  const forms::Component& c = *control.component;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) || control.pressed;
  bool flat = c.Boolean("Flat").value_or(false);
  bool is_default = c.Boolean("Default").value_or(false);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &r, face);
  if (is_default && !flat) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (!flat || pressed) DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  std::wstring caption = Wide(c.String("Caption").value_or(""));
  SIZE text{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  int spacing = caption.empty() || !control.bitmap ? 0 : 4;
  int total = (control.bitmap ? control.bitmap_size.cx : 0) + spacing + text.cx;
  int x = (r.left + r.right - total) / 2 + (pressed ? 1 : 0);
  int y_shift = pressed ? 1 : 0;
  if (control.bitmap) {
    RECT target{x, (r.top + r.bottom - control.bitmap_size.cy) / 2 + y_shift, 0, 0};
    target.right = target.left + control.bitmap_size.cx;
    target.bottom = target.top + control.bitmap_size.cy;
    // The glyph's bottom-left pixel is the transparent colour, as designers treat it.
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, control.bitmap);
    COLORREF key = GetPixel(memory, 0, control.bitmap_size.cy - 1);
    TransparentBlt(dc, target.left, target.top, control.bitmap_size.cx, control.bitmap_size.cy, memory, 0, 0,
                   control.bitmap_size.cx, control.bitmap_size.cy, key);
    SelectObject(memory, old);
    DeleteDC(memory);
    x += control.bitmap_size.cx + spacing;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT label{x, r.top + y_shift, x + text.cx + 2, r.bottom + y_shift};
  DrawTextW(dc, caption.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void DrawCheckListItem(const Control& control, const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = item.itemState & ODS_SELECTED;
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  int box = r.bottom - r.top - 2;
  RECT check{r.left + 2, r.top + 1, r.left + 2 + box, r.top + 1 + box};
  bool checked = item.itemID < control.checks.size() && control.checks[item.itemID];
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
  RECT text = r;
  text.left = check.right + 3;
  int length = static_cast<int>(SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0));
  std::wstring s(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(s.data()));
  s.resize(wcslen(s.c_str()));
  SIZE extent{};
  GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &extent);
  RECT highlight{text.left, r.top, text.left + extent.cx + 4, r.bottom};
  if (selected) FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  text.left += 2;
  DrawTextW(dc, s.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &highlight);
}

}  // namespace korvane::platform::win32
