#include "wizard/forms/form_classes.h"

#include <unordered_map>

#include "support/text.h"
#include "wizard/forms/form_picture.h"

namespace korvane::forms {

const std::vector<ControlClass>& ControlClasses() {
  static const std::vector<ControlClass> classes = {
      {"TLabel", ControlKind::Label, "label"},
      {"TEdit", ControlKind::Edit, "edit"},
      {"TMemo", ControlKind::Memo, "memo"},
      {"TButton", ControlKind::Button, "button"},
      {"TCheckBox", ControlKind::CheckBox, "check box"},
      {"TRadioButton", ControlKind::RadioButton, "radio button"},
      {"TListBox", ControlKind::ListBox, "list box"},
      {"TComboBox", ControlKind::ComboBox, "combo box"},
      {"TGroupBox", ControlKind::GroupBox, "group box"},
      {"TPanel", ControlKind::Panel, "panel"},
      {"TBitBtn", ControlKind::BitButton, "bit button"},
      {"TSpeedButton", ControlKind::SpeedButton, "speed button"},
      {"TMaskEdit", ControlKind::MaskEdit, "mask edit"},
      {"TImage", ControlKind::Image, "image"},
      {"TShape", ControlKind::Shape, "shape"},
      {"TBevel", ControlKind::Bevel, "bevel"},
      {"TStaticText", ControlKind::StaticText, "static text"},
      {"TGauge", ControlKind::Gauge, "gauge"},
      {"TPageControl", ControlKind::PageControl, "page control"},
      {"TTabSheet", ControlKind::TabSheet, "tab sheet"},
      {"TRichEdit", ControlKind::RichEdit, "rich edit"},
      {"TTrackBar", ControlKind::TrackBar, "track bar"},
      {"TProgressBar", ControlKind::ProgressBar, "progress bar"},
      {"TUpDown", ControlKind::UpDown, "up-down"},
      {"TAnimate", ControlKind::Animation, "animation"},
      {"TCheckListBox", ControlKind::CheckListBox, "check list box"},
      {"TTreeView", ControlKind::TreeView, "tree view"},
      {"THTMLLite", ControlKind::HtmlViewer, "HTML viewer"},
      {"TFileListBox", ControlKind::FileListBox, "file list box"},
      {"TDirectoryListBox", ControlKind::DirectoryListBox, "directory list box"},
      {"TDriveComboBox", ControlKind::DriveComboBox, "drive combo box"},
      {"TFilterComboBox", ControlKind::FilterComboBox, "filter combo box"},
      {"TPTShellTree", ControlKind::ShellTree, "shell tree"},
      {"TPTShellList", ControlKind::ShellList, "shell list"},
      {"TPTShellCombo", ControlKind::ShellCombo, "shell combo"},
      {"TFlashMovieFrame", ControlKind::FlashMovieFrame, "Flash movie frame"},
      {"TShapedForm", ControlKind::ShapedForm, "shaped-form image"},
      {"TRzBmpButton", ControlKind::BitmapButton, "bitmap button"},
      {"TGlassFrame", ControlKind::GlassFrame, "glass frame"},
  };
  return classes;
}

ControlKind KindOfClass(std::string_view class_name) {
  for (const ControlClass& c : ControlClasses())
    if (SameText(c.class_name, class_name)) return c.kind;
  return ControlKind::Unknown;
}

std::string_view KindName(ControlKind kind) {
  if (kind == ControlKind::Form) return "form";
  for (const ControlClass& c : ControlClasses())
    if (c.kind == kind) return c.description;
  return "unknown";
}

namespace {

enum Accept : unsigned {
  kInt = 1u << static_cast<int>(ValueKind::Integer),
  kFloat = 1u << static_cast<int>(ValueKind::Float),
  kStr = 1u << static_cast<int>(ValueKind::String),
  kId = 1u << static_cast<int>(ValueKind::Identifier),
  kSet = 1u << static_cast<int>(ValueKind::Set),
  kList = 1u << static_cast<int>(ValueKind::List),
  kColl = 1u << static_cast<int>(ValueKind::Collection),
  kBin = 1u << static_cast<int>(ValueKind::Binary),
  kBool = 1u << 16,  // an identifier True or False
};

struct PropertyRule {
  unsigned accept;
  bool picture = false;
};

const std::unordered_map<std::string, PropertyRule>& PropertyRules() {
  static const std::unordered_map<std::string, PropertyRule> rules = [] {
    std::unordered_map<std::string, PropertyRule> r;
    auto add = [&](unsigned accept, std::initializer_list<const char*> names) {
      for (const char* n : names) r[UpperCase(n)] = PropertyRule{accept};
    };
    add(kInt, {"Left", "Top", "Width", "Height", "ClientWidth", "ClientHeight", "TabOrder", "Tag", "MaxLength",
               "ItemIndex", "Min", "Max", "Frequency", "PageSize", "LineSize", "Font.Height", "Font.Size",
               "HelpContext", "BorderWidth", "BevelWidth", "TabIndex", "MinValue", "MaxValue", "Progress",
               "Increment", "PixelsPerInch", "TextHeight", "Spacing", "Margin", "NumGlyphs", "ItemHeight",
               "DropDownCount", "Columns", "Indent", "Pen.Width", "Step", "GroupIndex", "SelStart", "SelEnd",
               "StartFrame", "StopFrame", "Repetitions", "Interval", "TabWidth", "TabHeight", "Constraints.MinWidth",
               "Constraints.MinHeight", "Constraints.MaxWidth", "Constraints.MaxHeight", "ExplicitLeft",
               "ExplicitTop", "ExplicitWidth", "ExplicitHeight", "ImageIndex", "SelectedIndex", "DesignSize", "ThumbLength", "Glass.Top",
               "Glass.Left", "Glass.Right", "Glass.Bottom", "CommonAVI"});
    r["DESIGNSIZE"] = PropertyRule{kList};
    r["COMMONAVI"] = PropertyRule{kId};
    add(kInt | kId, {"Color", "Font.Color", "Brush.Color", "Pen.Color", "ModalResult", "Font.Charset",
                     "Position", "TransparentColor", "HotTrackColor", "ActiveColor", "DisabledColor"});
    add(kStr, {"Caption", "Text", "Hint", "Font.Name", "PasswordChar", "EditMask", "FileName", "Mask", "Filter",
               "Directory", "HelpFile", "Title", "Root", "Path", "Movie", "Url", "DefaultExt", "HelpKeyword"});
    add(kBool, {"Visible", "Enabled", "ReadOnly", "TabStop", "Checked", "Default", "Cancel", "WordWrap",
                "Transparent", "AutoSize", "Stretch", "Center", "Proportional", "ParentFont", "ParentColor",
                "ShowHint", "Sorted", "MultiSelect", "ExtendedSelect", "Flat", "Down", "AllowAllUp", "Smooth",
                "Active", "ShowRoot", "ShowLines", "ShowButtons", "HideSelection", "WantReturns", "WantTabs",
                "ShowAccelChar", "ParentShowHint", "Ctl3D", "ParentCtl3D", "ParentBackground", "DoubleBuffered",
                "AutoScroll", "KeyPreview", "Wrap", "Thousands", "TabVisible", "Scaled", "OldCreateOrder",
                "AllowGrayed", "Glass.Enabled", "Glass.SheetOfGlass", "HotTrack", "MultiLine", "AutoSelect",
                "RowSelect", "ShowText", "ShowFrame", "ArrowKeys", "ParentBiDiMode", "Loop", "Playing",
                "AutoPlay", "IncludeHidden", "ShowFolders", "UseDockManager", "FullRepaint", "Locked",
                "SliderVisible", "GlassFrame.Enabled", "IntegralHeight", "ShowGlyphs", "PlainText"});
    add(kId, {"Align", "Alignment", "BorderStyle", "Style", "Kind", "Shape", "Orientation", "ScrollBars",
              "Layout", "State", "WindowState", "FormStyle", "CharCase", "BevelInner", "BevelOuter", "BevelKind",
              "TickStyle", "TickMarks", "Pen.Style", "Brush.Style", "Font.Pitch", "Cursor", "Associate",
              "ActivePage", "BiDiMode", "ForeColor", "BackColor", "FileList", "DirList", "TextCase", "ImeMode",
              "DragKind", "DragMode", "DragCursor", "PopupMenu", "Images", "StateImages", "ImageKind",
              "ShellTreeView", "ShellListView", "ShellComboBox", "ViewStyle", "DefaultMonitor", "TabPosition",
              "PageControl", "Quality", "ScaleMode", "Buttons", "ButtonStyle", "ButtonLayout", "FocusControl",
              "TextLayout", "EllipsisPosition"});
    add(kSet, {"Anchors", "Font.Style", "BorderIcons", "Options", "Margins.Sides", "ObjectTypes", "ExtendedStyles"});
    add(kList, {"Items.Strings", "Lines.Strings", "Strings", "Filter.Strings"});
    add(kColl, {"Panels", "Columns", "Sections", "Bands"});
    add(kBin, {"Items.Data", "Items.NodeData", "Items.Data2"});
    for (const char* n : {"Picture.Data", "Glyph.Data", "Icon.Data", "Bitmap.Data", "Picture.Bitmap", "Glyph",
                          "Bitmaps.Up.Data", "Bitmaps.Down.Data", "Bitmaps.Disabled.Data", "Bitmaps.Hot.Data",
                          "Mask.Data"})
      r[UpperCase(n)] = PropertyRule{kBin, true};
    return r;
  }();
  return rules;
}

std::string Where(std::string_view file, std::string_view unit, int64_t position) {
  return std::string(file) + ": " + std::string(unit) + " " + std::to_string(position) + ": ";
}

std::string AcceptText(unsigned accept) {
  std::string out;
  auto add = [&](const char* t) { out += (out.empty() ? "" : " or ") + std::string(t); };
  if (accept & kBool) add("True/False");
  for (int k = 0; k <= static_cast<int>(ValueKind::Binary); ++k)
    if (accept & (1u << k)) add(std::string(KindName(static_cast<ValueKind>(k))).c_str());
  return out;
}

void CheckComponent(const Component& c, bool is_form, std::string_view file, std::string_view unit, int depth,
                    FormCheck& check) {
  std::string label = c.Name().empty() ? c.ClassName() : c.Name();
  // The inherited record of an ancestor's component names its class without being a new control.
  if (!is_form && KindOfClass(c.ClassName()) == ControlKind::Unknown && c.Kind() == ObjectKind::Object)
    check.errors.push_back({Where(file, unit, c.Position()) + "unknown class " + c.ClassName() + " of component " + label});
  for (const Property& p : c.Properties()) {
    std::string upper = UpperCase(p.name);
    auto rule = PropertyRules().find(upper);
    bool is_event = upper.size() > 2 && upper[0] == 'O' && upper[1] == 'N' && p.name[2] >= 'A' && p.name[2] <= 'Z';
    if (rule == PropertyRules().end() && !is_event) {
      check.warnings.push_back({Where(file, unit, p.position) + "unknown property " + p.name + " of " + label});
      continue;
    }
    unsigned accept = is_event ? static_cast<unsigned>(kId) : rule->second.accept;
    unsigned got = 1u << static_cast<int>(p.value.kind);
    bool fits = (accept & got) != 0;
    if ((accept & kBool) && p.value.AsBoolean()) fits = true;
    if (!fits) {
      check.errors.push_back({Where(file, unit, p.position) + "property " + p.name + " of " + label + " holds " +
                              std::string(KindName(p.value.kind)) + ", expected " + AcceptText(accept)});
      continue;
    }
    if (!is_event && rule->second.picture) {
      auto picture = DecodeFormPicture(p.value.bytes);
      if (!picture) check.errors.push_back({Where(file, unit, p.position) + "property " + p.name + " of " + label + ": " + picture.error()});
    }
  }
  for (const auto& child : c.Children()) CheckComponent(*child, false, file, unit, depth + 1, check);
}

}  // namespace

FormCheck CheckForm(const Component& root, std::string_view file_name, std::string_view unit) {
  FormCheck check;
  CheckComponent(root, true, file_name, unit, 0, check);
  return check;
}

}  // namespace korvane::forms
