// The Win32 form toolkit: a form model becomes a top-level window with child controls; control
// events update the model and run the handler that the component's event property names.

#include "platform/live_form.h"

#include <windows.h>

#include <commctrl.h>

#include <map>

#include "platform/win32/live_form_internal.h"
#include "support/text.h"
#include "wizard/forms/form_classes.h"

namespace korvane::platform {
namespace {

using forms::Component;
using forms::ControlKind;
using forms::Value;
using forms::ValueKind;
using win32::Control;
using win32::Wide;
using win32::Utf8;

constexpr int kFirstControlId = 1000;
// Windows nested much deeper than this exhaust the system's own stack while messages travel
// up the parent chain; no dialog needs more.
constexpr int kMaxWindowNesting = 32;

struct FontSpec {
  std::wstring name = L"Tahoma";
  int height = -11;
  bool bold = false, italic = false, underline = false, strike = false;
  COLORREF color = CLR_INVALID;
  bool operator<(const FontSpec& o) const {
    return std::tie(name, height, bold, italic, underline, strike) < std::tie(o.name, o.height, o.bold, o.italic, o.underline, o.strike);
  }
};

// A component's font: the parent's, changed by its own Font.* properties.
FontSpec FontOf(const Component& c, FontSpec face) {
  if (auto name = c.String("Font.Name")) face.name = Wide(*name);
  if (auto height = c.Integer("Font.Height")) face.height = static_cast<int>(*height);
  else if (auto size = c.Integer("Font.Size")) face.height = -MulDiv(static_cast<int>(*size), 96, 72);
  if (const Value* style = c.Find("Font.Style"); style && style->kind == ValueKind::Set) {
    face.bold = face.italic = face.underline = face.strike = false;
    for (const std::string& e : style->elements) {
      face.bold |= SameText(e, "fsBold");
      face.italic |= SameText(e, "fsItalic");
      face.underline |= SameText(e, "fsUnderline");
      face.strike |= SameText(e, "fsStrikeOut");
    }
  }
  if (const Value* color = c.Find("Font.Color")) {
    COLORREF resolved = win32::ColorOf(*color);
    if (resolved != CLR_INVALID) face.color = resolved;
  }
  return face;
}

// Hands a message to its window, through the keyboard interface (Tab, Enter, Escape) of the
// toolkit form it belongs to.
void Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  wchar_t name[32] = {};
  if (root && GetClassNameW(root, name, 32) && wcscmp(name, win32::kFormClass) == 0 && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

class Win32LiveForm;
Win32LiveForm* FormOf(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  return reinterpret_cast<Win32LiveForm*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK CanvasProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ControlSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                           ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                           ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = win32::kFormClass;
  wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.lpfnWndProc = ContainerProc;
  wc.lpszClassName = win32::kContainerClass;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = CanvasProc;
  wc.lpszClassName = win32::kCanvasClass;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  RegisterClassExW(&wc);
}

class Win32LiveForm final : public LiveForm {
 public:
  Win32LiveForm(std::unique_ptr<Component> model, std::string file, std::string unit)
      : model_(std::move(model)), file_(std::move(file)), unit_(std::move(unit)) {}

  ~Win32LiveForm() override {
    // The name atoms are taken off while the windows still exist; destroying a window drops
    // its properties but not the global atoms they hold.
    for (auto& c : controls_) {
      if (c->window && IsWindow(c->window)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(c->window, win32::kNameProperty)));
        if (atom) GlobalDeleteAtom(atom);
      }
    }
    if (form_) {
      SetWindowLongPtrW(form_, GWLP_USERDATA, 0);
      DestroyWindow(form_);
    }
    for (auto& c : controls_)
      if (c->bitmap) DeleteObject(c->bitmap);
    for (auto& [face, font] : fonts_) DeleteObject(font);
    for (auto& [color, brush] : brushes_) DeleteObject(brush);
  }

  Status Build(std::vector<std::string> warnings) {
    warnings_ = std::move(warnings);
    RegisterClasses();
    const Component& f = *model_;
    std::string border = f.Ident("BorderStyle").value_or("bsSizeable");
    DWORD style = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
    DWORD ex = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    if (border == "bsDialog") {
      ex |= WS_EX_DLGMODALFRAME;
    } else if (border == "bsSingle" || border == "bsToolWindow") {
      style |= WS_MINIMIZEBOX;
    } else if (border == "bsNone") {
      style = WS_POPUP | WS_CLIPCHILDREN;
    } else {
      style |= WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    }
    if (border == "bsToolWindow" || border == "bsSizeToolWin") ex |= WS_EX_TOOLWINDOW;
    if (const Value* icons = f.Find("BorderIcons"); icons && icons->kind == ValueKind::Set && border != "bsNone") {
      auto has = [&](const char* n) {
        for (const std::string& e : icons->elements)
          if (SameText(e, n)) return true;
        return false;
      };
      if (!has("biSystemMenu")) style &= ~static_cast<DWORD>(WS_SYSMENU);
      if (!has("biMinimize")) style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);
      if (!has("biMaximize")) style &= ~static_cast<DWORD>(WS_MAXIMIZEBOX);
    }
    int client_w = static_cast<int>(f.Integer("ClientWidth").value_or(0));
    int client_h = static_cast<int>(f.Integer("ClientHeight").value_or(0));
    RECT r{0, 0, client_w, client_h};
    AdjustWindowRectEx(&r, style, FALSE, ex);
    int width = client_w ? r.right - r.left : static_cast<int>(f.Integer("Width").value_or(400));
    int height = client_h ? r.bottom - r.top : static_cast<int>(f.Integer("Height").value_or(300));
    int left = static_cast<int>(f.Integer("Left").value_or(0)), top = static_cast<int>(f.Integer("Top").value_or(0));
    std::string position = f.Ident("Position").value_or("poDesigned");
    if (position.find("Center") != std::string::npos) {
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      left = work.left + (work.right - work.left - width) / 2;
      top = work.top + (work.bottom - work.top - height) / 2;
    } else if (position == "poDefault" || position == "poDefaultPosOnly") {
      left = top = CW_USEDEFAULT;
    }
    form_color_ = ColorOr(f, "Color", GetSysColor(COLOR_BTNFACE));
    form_font_spec_ = FontOf(f, FontSpec{});
    form_ = CreateWindowExW(ex, win32::kFormClass, Wide(f.String("Caption").value_or("")).c_str(), style, left, top,
                            width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!form_) return Error{file_ + ": cannot create the form window (error " + std::to_string(GetLastError()) + ")"};
    SetWindowLongPtrW(form_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageW(form_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(form_font_spec_)), FALSE);
    auto built = BuildChildren(*model_, form_, form_font_spec_, 0);
    if (!built) return built;
    for (auto& c : controls_) LinkAssociate(*c);
    return Ok();
  }

  // --- LiveForm ---
  Component& Model() override { return *model_; }
  const std::vector<std::string>& Warnings() const override { return warnings_; }
  void SetHandler(std::string name, FormHandler handler) override { handlers_[UpperCase(name)] = std::move(handler); }

  Status Attach(std::string_view component, std::string_view event, std::string_view handler) override {
    Component* c = model_->FindComponent(component);
    if (!c) return Error{file_ + ": no component named " + std::string(component)};
    if (handler.empty()) c->Remove(event);
    else c->Set(event, Value::Identifier(std::string(handler)));
    return Ok();
  }

  Result<Value> GetProperty(std::string_view component, std::string_view property) override {
    Component* c = model_->FindComponent(component);
    if (!c) return Error{file_ + ": no component named " + std::string(component)};
    if (c == model_.get()) {
      if (SameText(property, "Caption")) return Value::String(Utf8(win32::WindowTextOf(form_)));
    } else if (Control* control = ControlOf(*c)) {
      if (SameText(property, "ActivePage") && control->kind == ControlKind::PageControl) {
        int index = TabCtrl_GetCurSel(control->window);
        if (index >= 0 && static_cast<size_t>(index) < control->pages.size())
          if (Control* page = ByWindow(control->pages[static_cast<size_t>(index)])) return Value::Identifier(page->component->Name());
      }
      if (auto live = win32::ReadLiveProperty(*control, property)) return *live;
    }
    if (const Value* v = c->Find(property)) return *v;
    return Error{file_ + ": " + c->Name() + " has no property " + std::string(property)};
  }

  Status SetProperty(std::string_view component, std::string_view property, Value value) override {
    Component* c = model_->FindComponent(component);
    if (!c) return Error{file_ + ": no component named " + std::string(component)};
    // Computed properties are not stored in the model.
    bool computed = SameText(property, "CheckedItems") || SameText(property, "Html");
    if (!computed) c->Set(property, value);
    Quiet quiet(this);
    if (c == model_.get()) {
      if (SameText(property, "Caption") && value.kind == ValueKind::String) SetWindowTextW(form_, Wide(value.text).c_str());
      return Ok();
    }
    Control* control = ControlOf(*c);
    if (!control) return Ok();
    if (SameText(property, "ActivePage") && control->kind == ControlKind::PageControl && value.kind == ValueKind::Identifier) {
      for (size_t i = 0; i < control->pages.size(); ++i)
        if (Control* page = ByWindow(control->pages[i]); page && SameText(page->component->Name(), value.text))
          win32::SelectPage(*control, static_cast<int>(i));
      return Ok();
    }
    if (SameText(property, "Color") || SameText(property, "Font.Color")) {
      UpdateColors(*control);
      InvalidateRect(control->window, nullptr, TRUE);
      return Ok();
    }
    (void)win32::ApplyProperty(*control, property, value);
    return Ok();
  }

  Status Focus(std::string_view component) override {
    Component* c = model_->FindComponent(component);
    Control* control = c ? ControlOf(*c) : nullptr;
    if (!control || !control->window) return Error{file_ + ": no control window named " + std::string(component)};
    SetFocus(control->window);
    return Ok();
  }

  intptr_t WindowHandle() const override { return reinterpret_cast<intptr_t>(form_); }
  void Show() override {
    ShowWindow(form_, SW_SHOW);
    SetForegroundWindow(form_);
    if (!GetFocus() || GetAncestor(GetFocus(), GA_ROOT) != form_) FocusFirst();
    UpdateWindow(form_);
  }
  void Hide() override { ShowWindow(form_, SW_HIDE); }

  int ShowModal() override {
    modal_result_ = kModalNone;
    modal_ = true;
    Show();
    while (modal_result_ == kModalNone && IsWindow(form_)) {
      if (!HandleOneMessage()) {
        modal_result_ = kModalCancel;
        break;
      }
    }
    modal_ = false;
    Hide();
    return modal_result_;
  }

  void SetModalResult(int result) override { modal_result_ = result; }
  int ModalResult() const override { return modal_result_; }
  void SetCloseQuery(std::function<bool()> can_close) override { close_query_ = std::move(can_close); }

  // --- window messages ---
  bool OnParentMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
      case WM_COMMAND: {
        Control* control = ByWindow(reinterpret_cast<HWND>(lparam));
        if (!control && lparam == 0 && (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK)) {
          // Enter and Escape from the dialog keyboard interface.
          for (auto& c : controls_) {
            bool wanted = LOWORD(wparam) == IDOK ? c->component->Boolean("Default").value_or(false)
                                                 : c->component->Boolean("Cancel").value_or(false);
            if (wanted && IsWindowEnabled(c->window) && IsWindowVisible(c->window)) {
              ButtonClick(*c);
              break;
            }
          }
          result = 0;
          return true;
        }
        if (control) {
          OnCommand(*control, HIWORD(wparam));
          result = 0;
          return true;
        }
        return false;
      }
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        Control* control = ByWindow(header->hwndFrom);
        if (!control) return false;
        result = OnNotify(*control, *header);
        return true;
      }
      case WM_HSCROLL:
      case WM_VSCROLL: {
        Control* control = ByWindow(reinterpret_cast<HWND>(lparam));
        if (!control) return false;
        if (control->kind == ControlKind::TrackBar) {
          int64_t position = SendMessageW(control->window, TBM_GETPOS, 0, 0);
          if (control->component->Integer("Position") != position) {
            control->component->Set("Position", Value::Integer(position));
            Fire(*control, "OnChange");
          }
        } else if (control->kind == ControlKind::UpDown) {
          control->component->Set("Position", Value::Integer(SendMessageW(control->window, UDM_GETPOS32, 0, 0)));
          Fire(*control, "OnClick");
        }
        result = 0;
        return true;
      }
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN: {
        Control* control = ByWindow(reinterpret_cast<HWND>(lparam));
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (!control) {
          // The list part of a combo box and the like.
          return false;
        }
        bool input = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
                     control->kind == ControlKind::Edit || control->kind == ControlKind::MaskEdit ||
                     control->kind == ControlKind::Memo;
        COLORREF back = control->color != CLR_INVALID ? control->color
                        : input && IsWindowEnabled(control->window) && !(GetWindowLongW(control->window, GWL_STYLE) & ES_READONLY && message == WM_CTLCOLORSTATIC && control->kind != ControlKind::Edit)
                            ? GetSysColor(COLOR_WINDOW)
                            : BackgroundOf(window);
        if (input && message == WM_CTLCOLORSTATIC && control->color == CLR_INVALID) back = GetSysColor(COLOR_BTNFACE);
        if (control->font_color != CLR_INVALID) SetTextColor(dc, control->font_color);
        SetBkColor(dc, back);
        if (control->component->Boolean("Transparent").value_or(false)) SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(Brush(back));
        return true;
      }
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        Control* control = ByWindow(item->hwndItem);
        if (!control) return false;
        if (control->kind == ControlKind::CheckListBox) win32::DrawCheckListItem(*control, *item);
        else win32::DrawOwnerButton(*control, *item);
        result = TRUE;
        return true;
      }
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, Brush(BackgroundOf(window)));
        result = 1;
        return true;
      }
      default: return false;
    }
  }

  LRESULT FormMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    if (OnParentMessage(window, message, wparam, lparam, result)) return result;
    switch (message) {
      case DM_GETDEFID:
        for (auto& c : controls_)
          if (c->component->Boolean("Default").value_or(false)) return MAKELRESULT(c->id, DC_HASDEFID);
        return 0;
      case WM_CLOSE:
        if (close_query_ && !close_query_()) return 0;
        if (modal_) modal_result_ = kModalCancel;
        else Hide();
        return 0;
      case WM_SIZE: Realign(form_); break;
      default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  LRESULT ContainerMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    if (message != WM_ERASEBKGND && OnParentMessage(window, message, wparam, lparam, result)) return result;
    Control* control = ByWindow(window);
    switch (message) {
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, Brush(BackgroundOf(window)));
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (control) {
          RECT r;
          GetClientRect(window, &r);
          HGDIOBJ old = SelectObject(dc, control->font ? control->font : Font(form_font_spec_));
          win32::PaintContainer(*control, dc, r);
          SelectObject(dc, old);
        }
        EndPaint(window, &ps);
        return 0;
      }
      case WM_LBUTTONUP:
        if (control) Fire(*control, "OnClick");
        break;
      case WM_SIZE: Realign(window); break;
      default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  LRESULT CanvasMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Control* control = ByWindow(window);
    switch (message) {
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, Brush(BackgroundOf(GetParent(window))));
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (control) {
          RECT r;
          GetClientRect(window, &r);
          HGDIOBJ old = SelectObject(dc, control->font ? control->font : Font(form_font_spec_));
          win32::PaintCanvas(*control, dc, r);
          SelectObject(dc, old);
        }
        EndPaint(window, &ps);
        return 0;
      }
      case WM_LBUTTONUP:
        // The mouse-up event itself comes from the control subclass, as for every control.
        if (control && control->kind != ControlKind::Shape) Fire(*control, "OnClick");
        return 0;
      default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  LRESULT ControlMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Control* control = ByWindow(window);
    if (control) {
      if (message == WM_KEYUP) Fire(*control, "OnKeyUp");
      if (message == WM_LBUTTONUP || message == WM_RBUTTONUP) Fire(*control, "OnMouseUp");
      if (control->kind == ControlKind::CheckListBox && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)) {
        int item_height = static_cast<int>(SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
        LRESULT hit = SendMessageW(window, LB_ITEMFROMPOINT, 0, lparam);
        int x = static_cast<short>(LOWORD(lparam));
        if (HIWORD(hit) == 0 && x < item_height + 2) {
          LRESULT r = DefSubclassProc(window, message, wparam, lparam);
          ToggleCheck(*control, LOWORD(hit));
          return r;
        }
      }
      if (control->kind == ControlKind::CheckListBox && message == WM_CHAR && wparam == L' ') {
        LRESULT index = SendMessageW(window, LB_GETCURSEL, 0, 0);
        if (index >= 0) ToggleCheck(*control, static_cast<int>(index));
        return 0;
      }
    }
    return DefSubclassProc(window, message, wparam, lparam);
  }

 private:
  // Silences events while the toolkit itself writes into windows.
  struct Quiet {
    explicit Quiet(Win32LiveForm* f) : form(f), before(f->quiet_) { f->quiet_ = true; }
    ~Quiet() { form->quiet_ = before; }
    Win32LiveForm* form;
    bool before;
  };

  std::unique_ptr<Component> model_;
  std::string file_;
  std::string unit_;  // "line" or "offset"
  std::vector<std::string> warnings_;
  HWND form_ = nullptr;
  COLORREF form_color_ = 0;
  FontSpec form_font_spec_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<HWND, Control*> by_window_;
  std::map<const Component*, Control*> by_component_;
  std::map<std::string, FormHandler> handlers_;
  std::map<FontSpec, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  int modal_result_ = kModalNone;
  bool modal_ = false;
  bool quiet_ = false;
  std::function<bool()> close_query_;

  static COLORREF ColorOr(const Component& c, std::string_view property, COLORREF fallback) {
    const Value* v = c.Find(property);
    COLORREF color = v ? win32::ColorOf(*v) : CLR_INVALID;
    return color == CLR_INVALID ? fallback : color;
  }

  HFONT Font(const FontSpec& face) {
    auto it = fonts_.find(face);
    if (it != fonts_.end()) return it->second;
    HFONT font = CreateFontW(face.height, 0, 0, 0, face.bold ? FW_BOLD : FW_NORMAL, face.italic, face.underline,
                             face.strike, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, face.name.c_str());
    fonts_[face] = font;
    return font;
  }

  HBRUSH Brush(COLORREF color) {
    auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second;
    HBRUSH brush = CreateSolidBrush(color);
    brushes_[color] = brush;
    return brush;
  }

  Control* ByWindow(HWND window) {
    auto it = by_window_.find(window);
    return it == by_window_.end() ? nullptr : it->second;
  }
  Control* ControlOf(const Component& c) {
    auto it = by_component_.find(&c);
    return it == by_component_.end() ? nullptr : it->second;
  }

  // The colour behind a window's children: its own Color, else its parent's.
  COLORREF BackgroundOf(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
      if (w == form_) return form_color_;
      Control* c = ByWindow(w);
      if (c && c->color != CLR_INVALID) return c->color;
      if (c && c->kind == ControlKind::TabSheet) return GetSysColor(COLOR_BTNFACE);
    }
    return form_color_;
  }

  void UpdateColors(Control& control) {
    const Component& c = *control.component;
    control.color = CLR_INVALID;
    bool parent_color = c.Boolean("ParentColor").value_or(false);
    if (!parent_color) control.color = ColorOr(c, "Color", CLR_INVALID);
    // Containers that keep the default face colour follow their parent.
    if (control.color == GetSysColor(COLOR_BTNFACE) && c.Find("Color") && c.Ident("Color") == "clBtnFace") control.color = CLR_INVALID;
    if (const Value* fc = c.Find("Font.Color")) control.font_color = win32::ColorOf(*fc);
  }

  Status BuildChildren(Component& parent, HWND parent_window, const FontSpec& parent_font, int depth) {
    Control* parent_control = ByWindow(parent_window);
    for (const auto& child : parent.Children()) {
      Component& c = *child;
      if (depth >= kMaxWindowNesting)
        return Error{file_ + ": " + unit_ + " " + std::to_string(c.Position()) +
                     ": " + c.Name() + " is nested " + std::to_string(depth + 1) + " controls deep; windows nest at most " +
                     std::to_string(kMaxWindowNesting)};
      ControlKind kind = forms::KindOfClass(c.ClassName());
      auto control = std::make_unique<Control>();
      control->component = &c;
      control->kind = kind;
      control->parent = parent_window;
      control->id = kFirstControlId + static_cast<int>(controls_.size());
      FontSpec face = FontOf(c, parent_font);
      HWND window = nullptr;
      if (kind == ControlKind::TabSheet) {
        if (!parent_control || parent_control->kind != ControlKind::PageControl) {
          warnings_.push_back(c.Name() + ": tab sheet outside a page control is not shown");
          continue;
        }
        window = CreateSheet(*control, *parent_control);
      } else {
        window = win32::CreateControlWindow(*control, parent_window, control->id, warnings_);
      }
      Control& ref = *control;
      controls_.push_back(std::move(control));
      by_component_[&c] = &ref;
      if (!window) {
        if (kind != ControlKind::GlassFrame && kind != ControlKind::Unknown)
          return Error{file_ + ": cannot create the window of " + c.Name() + " (" + c.ClassName() + ")"};
        if (kind == ControlKind::GlassFrame) warnings_.push_back(c.Name() + ": glass frame leaves the ordinary window frame (no desktop composition)");
        continue;
      }
      by_window_[window] = &ref;
      ATOM atom = GlobalAddAtomW(Wide(c.Name()).c_str());
      SetPropW(window, win32::kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
      ref.font = Font(face);
      ref.font_color = face.color;
      UpdateColors(ref);
      SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(ref.font), FALSE);
      if (kind == ControlKind::Label) AutoSizeLabel(ref);
      GetWindowRect(window, &ref.design);
      MapWindowPoints(nullptr, parent_window, reinterpret_cast<POINT*>(&ref.design), 2);
      GetClientRect(parent_window, &ref.parent_design);
      if (kind != ControlKind::PageControl) SetWindowSubclass(window, ControlSubclass, 1, 0);
      if (!c.Children().empty()) {
        auto built = BuildChildren(c, window, face, depth + 1);
        if (!built) return built;
      }
      if (kind == ControlKind::PageControl) {
        int active = 0;
        if (auto page = c.Ident("ActivePage"))
          for (size_t i = 0; i < ref.pages.size(); ++i)
            if (Control* p = ByWindow(ref.pages[i]); p && SameText(p->component->Name(), *page)) active = static_cast<int>(i);
        win32::SelectPage(ref, active);
      }
    }
    OrderTabs(parent, parent_window);
    Realign(parent_window);
    return Ok();
  }

  // Labels size themselves to their caption unless AutoSize is False or they wrap words.
  void AutoSizeLabel(Control& label) {
    const Component& c = *label.component;
    if (!c.Boolean("AutoSize").value_or(true) || c.Boolean("WordWrap").value_or(false)) return;
    std::wstring caption = Wide(c.String("Caption").value_or(""));
    std::wstring shown;
    for (size_t i = 0; i < caption.size(); ++i) {
      if (caption[i] == L'&' && i + 1 < caption.size()) ++i;  // the accelerator marker takes no room
      shown += caption[i];
    }
    HDC dc = GetDC(label.window);
    HGDIOBJ old = SelectObject(dc, label.font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, shown.empty() ? L" " : shown.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label.window, dc);
    RECT now;
    GetWindowRect(label.window, &now);
    MapWindowPoints(nullptr, GetParent(label.window), reinterpret_cast<POINT*>(&now), 2);
    int left = now.left;
    std::string alignment = c.Ident("Alignment").value_or("taLeftJustify");
    if (alignment == "taRightJustify") left = now.right - r.right;
    if (alignment == "taCenter") left = (now.left + now.right - r.right) / 2;
    MoveWindow(label.window, left, now.top, r.right, r.bottom, FALSE);
  }

  HWND CreateSheet(Control& sheet, Control& pages) {
    const Component& c = *sheet.component;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    std::wstring caption = Wide(c.String("Caption").value_or(""));
    item.pszText = caption.data();
    int index = TabCtrl_GetItemCount(pages.window);
    SendMessageW(pages.window, WM_SETFONT, reinterpret_cast<WPARAM>(Font(form_font_spec_)), FALSE);
    RECT r;
    GetClientRect(pages.window, &r);
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, win32::kContainerClass, caption.c_str(),
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 10, 10, pages.window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(sheet.id)), GetModuleHandleW(nullptr), nullptr);
    item.lParam = reinterpret_cast<LPARAM>(window);
    if (c.Boolean("TabVisible").value_or(true)) SendMessageW(pages.window, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    TabCtrl_AdjustRect(pages.window, FALSE, &r);
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    sheet.window = window;
    pages.pages.push_back(window);
    return window;
  }

  // Children get the window order of their TabOrder, so Tab moves through them in that order.
  void OrderTabs(Component& parent, HWND parent_window) {
    std::vector<std::pair<int64_t, HWND>> order;
    for (const auto& child : parent.Children()) {
      Control* c = ControlOf(*child);
      if (!c || !c->window || GetParent(c->window) != parent_window) continue;
      order.emplace_back(child->Integer("TabOrder").value_or(1 << 20), c->window);
    }
    std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    HWND after = HWND_TOP;
    for (auto& [tab, window] : order) {
      SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = window;
    }
  }

  // Align (top, bottom, left, right, client) and anchors of the children of one window.
  void Realign(HWND parent_window) {
    RECT area;
    GetClientRect(parent_window, &area);
    RECT client = area;
    Control* parent_control = ByWindow(parent_window);
    if (parent_control && parent_control->kind == ControlKind::GroupBox) {
      area.top += 15;
      InflateRect(&area, -2, -2);
    }
    std::vector<Control*> children;
    for (auto& c : controls_)
      if (c->window && c->parent == parent_window && c->kind != ControlKind::TabSheet) children.push_back(c.get());
    for (const char* pass : {"alTop", "alBottom", "alLeft", "alRight", "alClient"}) {
      for (Control* c : children) {
        auto align = c->component->Ident("Align");
        if (!align || !SameText(*align, pass)) continue;
        RECT r;
        GetWindowRect(c->window, &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        RECT place = area;
        std::string a = *align;
        if (a == "alTop") { place.bottom = area.top + h; area.top += h; }
        else if (a == "alBottom") { place.top = area.bottom - h; area.bottom -= h; }
        else if (a == "alLeft") { place.right = area.left + w; area.left += w; }
        else if (a == "alRight") { place.left = area.right - w; area.right -= w; }
        MoveWindow(c->window, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
      }
    }
    for (Control* c : children) {
      if (c->component->Find("Align") && c->component->Ident("Align") != "alNone") continue;
      const Value* anchors = c->component->Find("Anchors");
      if (!anchors || anchors->kind != ValueKind::Set) continue;
      bool left = false, top = false, right = false, bottom = false;
      for (const std::string& e : anchors->elements) {
        left |= SameText(e, "akLeft");
        top |= SameText(e, "akTop");
        right |= SameText(e, "akRight");
        bottom |= SameText(e, "akBottom");
      }
      int dw = (client.right - client.left) - (c->parent_design.right - c->parent_design.left);
      int dh = (client.bottom - client.top) - (c->parent_design.bottom - c->parent_design.top);
      RECT r = c->design;
      if (right && left) r.right += dw;
      else if (right) OffsetRect(&r, dw, 0);
      if (bottom && top) r.bottom += dh;
      else if (bottom) OffsetRect(&r, 0, dh);
      if (dw || dh) MoveWindow(c->window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
  }

  void LinkAssociate(Control& c) {
    if (c.kind != ControlKind::UpDown) return;
    auto buddy = c.component->Ident("Associate");
    if (!buddy) return;
    Component* target = model_->FindComponent(*buddy);
    Control* tc = target ? ControlOf(*target) : nullptr;
    if (!tc || !tc->window) {
      warnings_.push_back(c.component->Name() + ": associated control " + *buddy + " not found");
      return;
    }
    Quiet quiet(this);
    SendMessageW(c.window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(tc->window), 0);
    SendMessageW(c.window, UDM_SETPOS32, 0, static_cast<LPARAM>(c.component->Integer("Position").value_or(0)));
  }

  void FocusFirst() {
    HWND first = GetNextDlgTabItem(form_, nullptr, FALSE);
    if (first) SetFocus(first);
  }

  // Runs the handler that the component's event property names.
  void Fire(Control& control, std::string_view event) {
    if (quiet_) return;
    auto handler = control.component->Ident(event);
    if (!handler) return;
    auto it = handlers_.find(UpperCase(*handler));
    if (it == handlers_.end() || !it->second) return;
    FormHandler run = it->second;  // the handler may replace itself
    run(*control.component);
  }

  void ButtonClick(Control& control) {
    Fire(control, "OnClick");
    int64_t result = 0;
    const Value* modal = control.component->Find("ModalResult");
    if (modal && modal->kind == ValueKind::Integer) result = modal->integer;
    if (modal && modal->kind == ValueKind::Identifier) {
      static const std::pair<const char*, int> names[] = {{"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4},
                                                          {"mrIgnore", 5}, {"mrYes", 6}, {"mrNo", 7}, {"mrAll", 8}};
      for (auto [n, v] : names)
        if (SameText(modal->text, n)) result = v;
    }
    if (!modal && control.kind == ControlKind::BitButton) {
      std::string kind = control.component->Ident("Kind").value_or("bkCustom");
      if (kind == "bkOK") result = 1;
      if (kind == "bkCancel") result = 2;
      if (kind == "bkYes") result = 6;
      if (kind == "bkNo") result = 7;
    }
    if (result != 0 && !quiet_) modal_result_ = static_cast<int>(result);
  }

  void ToggleCheck(Control& control, int index) {
    if (index < 0 || static_cast<size_t>(index) >= control.checks.size()) return;
    control.checks[static_cast<size_t>(index)] = !control.checks[static_cast<size_t>(index)];
    RECT r;
    SendMessageW(control.window, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    InvalidateRect(control.window, &r, TRUE);
    Fire(control, "OnClickCheck");
  }

  void OnCommand(Control& control, WORD code) {
    Component& c = *control.component;
    HWND w = control.window;
    switch (control.kind) {
      case ControlKind::Button:
      case ControlKind::BitButton:
      case ControlKind::SpeedButton:
      case ControlKind::BitmapButton:
        if (code == BN_CLICKED) ButtonClick(control);
        break;
      case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
          c.Set("Checked", Value::Boolean(SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED));
          Fire(control, "OnClick");
        }
        break;
      case ControlKind::RadioButton:
        if (code == BN_CLICKED) {
          // One checked radio button per parent.
          for (auto& other : controls_) {
            if (other->kind != ControlKind::RadioButton || other->parent != control.parent || other.get() == &control) continue;
            SendMessageW(other->window, BM_SETCHECK, BST_UNCHECKED, 0);
            other->component->Set("Checked", Value::Boolean(false));
          }
          SendMessageW(w, BM_SETCHECK, BST_CHECKED, 0);
          c.Set("Checked", Value::Boolean(true));
          Fire(control, "OnClick");
        }
        break;
      case ControlKind::Label:
      case ControlKind::StaticText:
        if (code == STN_CLICKED) Fire(control, "OnClick");
        break;
      case ControlKind::Edit:
      case ControlKind::MaskEdit:
        if (code == EN_CHANGE && !quiet_) {
          c.Set("Text", Value::String(Utf8(win32::WindowTextOf(w))));
          Fire(control, "OnChange");
        }
        break;
      case ControlKind::Memo:
      case ControlKind::RichEdit:
        if (code == EN_CHANGE && !quiet_) {
          if (auto lines = win32::ReadLiveProperty(control, "Lines.Strings")) c.Set("Lines.Strings", *lines);
          Fire(control, "OnChange");
        }
        break;
      case ControlKind::ListBox:
      case ControlKind::CheckListBox:
        if (code == LBN_SELCHANGE) {
          c.Set("ItemIndex", Value::Integer(SendMessageW(w, LB_GETCURSEL, 0, 0)));
          Fire(control, "OnClick");
        }
        break;
      case ControlKind::FileListBox:
        if (code == LBN_SELCHANGE) {
          c.Set("ItemIndex", Value::Integer(SendMessageW(w, LB_GETCURSEL, 0, 0)));
          Fire(control, "OnChange");
        }
        break;
      case ControlKind::DirectoryListBox:
        if (code == LBN_DBLCLK) {
          auto index = SendMessageW(w, LB_GETCURSEL, 0, 0);
          if (index >= 0 && static_cast<size_t>(index) < control.paths.size()) {
            std::wstring folder = control.paths[static_cast<size_t>(index)];
            if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
            win32::ShowFolder(control, folder);
            c.Set("Directory", Value::String(Utf8(folder)));
            Fire(control, "OnChange");
          }
        }
        break;
      case ControlKind::ComboBox:
        if (code == CBN_SELCHANGE) {
          auto index = SendMessageW(w, CB_GETCURSEL, 0, 0);
          std::string text;
          if (index >= 0) {
            auto n = SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
            std::wstring s(static_cast<size_t>(n) + 1, L'\0');
            SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
            s.resize(wcslen(s.c_str()));
            text = Utf8(s);
          }
          c.Set("ItemIndex", Value::Integer(index));
          c.Set("Text", Value::String(text));
          Fire(control, "OnChange");
          Fire(control, "OnClick");
        } else if (code == CBN_EDITCHANGE && !quiet_) {
          c.Set("Text", Value::String(Utf8(win32::WindowTextOf(w))));
          Fire(control, "OnChange");
        }
        break;
      case ControlKind::DriveComboBox:
      case ControlKind::FilterComboBox:
        if (code == CBN_SELCHANGE) {
          c.Set("ItemIndex", Value::Integer(SendMessageW(w, CB_GETCURSEL, 0, 0)));
          Fire(control, "OnChange");
        }
        break;
      case ControlKind::ShellCombo:
        if (code == CBN_SELCHANGE) {
          auto index = SendMessageW(w, CB_GETCURSEL, 0, 0);
          if (index >= 0 && static_cast<size_t>(index) < control.paths.size()) {
            control.folder = control.paths[static_cast<size_t>(index)];
            Fire(control, "OnChange");
          }
        }
        break;
      default: break;
    }
  }

  LRESULT OnNotify(Control& control, const NMHDR& header) {
    switch (control.kind) {
      case ControlKind::PageControl:
        if (header.code == TCN_SELCHANGE) {
          int index = TabCtrl_GetCurSel(control.window);
          win32::SelectPage(control, index);
          if (index >= 0 && static_cast<size_t>(index) < control.pages.size())
            if (Control* page = ByWindow(control.pages[static_cast<size_t>(index)]))
              control.component->Set("ActivePage", Value::Identifier(page->component->Name()));
          Fire(control, "OnChange");
        }
        return 0;
      case ControlKind::TreeView:
      case ControlKind::ShellTree:
        if (header.code == TVN_ITEMEXPANDINGW && control.kind == ControlKind::ShellTree) {
          const auto& tv = reinterpret_cast<const NMTREEVIEWW&>(header);
          if (tv.action == TVE_EXPAND) win32::ExpandShellNode(control, tv.itemNew.hItem);
          return 0;
        }
        if (header.code == TVN_SELCHANGEDW) Fire(control, "OnChange");
        return 0;
      case ControlKind::ShellList: {
        if (header.code == LVN_ITEMCHANGED) {
          const auto& lv = reinterpret_cast<const NMLISTVIEW&>(header);
          if ((lv.uChanged & LVIF_STATE) && (lv.uNewState & LVIS_SELECTED) && !(lv.uOldState & LVIS_SELECTED)) {
            auto selected = win32::ReadLiveProperty(control, "Selected");
            if (selected && !selected->text.empty() && selected->text.back() != '\\') Fire(control, "OnChange");
          }
        } else if (header.code == NM_DBLCLK) {
          auto selected = win32::ReadLiveProperty(control, "Selected");
          if (selected && !selected->text.empty() && selected->text.back() == '\\') {
            std::wstring folder = Wide(selected->text);
            folder.pop_back();
            win32::ShowFolder(control, folder);
            Fire(control, "OnFolderChanged");
          }
        }
        return 0;
      }
      default: return 0;
    }
  }
};

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<Win32LiveForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  return form->FormMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32LiveForm* form = FormOf(window);
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  return form->ContainerMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32LiveForm* form = FormOf(window);
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  return form->CanvasMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK ControlSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  Win32LiveForm* form = FormOf(window);
  if (!form) return DefSubclassProc(window, message, wparam, lparam);
  return form->ControlMessage(window, message, wparam, lparam);
}

}  // namespace

Result<std::unique_ptr<LiveForm>> CreateLiveForm(std::unique_ptr<forms::Component> model, std::string_view file_name,
                                                 std::string_view position_unit) {
  forms::FormCheck check = forms::CheckForm(*model, file_name, position_unit);
  if (!check.errors.empty()) return Error{check.errors.front().message};
  std::vector<std::string> warnings;
  for (auto& w : check.warnings) warnings.push_back(std::move(w.message));
  auto form = std::make_unique<Win32LiveForm>(std::move(model), std::string(file_name), std::string(position_unit));
  auto built = form->Build(std::move(warnings));
  if (!built) return Error{built.error()};
  return std::unique_ptr<LiveForm>(std::move(form));
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
}

bool HandleOneMessage() {
  MSG msg;
  BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got <= 0) {
    // Outer loops see the quit request as well.
    if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  Dispatch(msg);
  return true;
}

}  // namespace korvane::platform
