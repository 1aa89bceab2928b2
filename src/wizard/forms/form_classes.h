#pragma once
// The control kinds a dialog form may contain and the published properties the toolkit knows,
// with the value kinds each accepts. CheckForm holds a read model against them.

#include <string>
#include <string_view>
#include <vector>

#include "wizard/forms/form_component.h"

namespace korvane::forms {

enum class ControlKind {
  Form, Label, Edit, Memo, Button, CheckBox, RadioButton, ListBox, ComboBox, GroupBox, Panel,
  BitButton, SpeedButton, MaskEdit, Image, Shape, Bevel, StaticText, Gauge, PageControl, TabSheet,
  RichEdit, TrackBar, ProgressBar, UpDown, Animation, CheckListBox, TreeView, HtmlViewer,
  FileListBox, DirectoryListBox, DriveComboBox, FilterComboBox, ShellTree, ShellList, ShellCombo,
  FlashMovieFrame, ShapedForm, BitmapButton, GlassFrame, Unknown,
};

struct ControlClass {
  std::string_view class_name;  // as written in form files
  ControlKind kind;
  std::string_view description;
};

// Every control class a dialog may contain (the form itself not included).
const std::vector<ControlClass>& ControlClasses();

// The kind of a class name. Form classes are whatever the designer named them (TForm1,
// TWelcomeDlg...); the top-level object of a file is always the form.
ControlKind KindOfClass(std::string_view class_name);
std::string_view KindName(ControlKind kind);

struct FormProblem {
  std::string message;  // "<file>: line 12: ..." or "<file>: offset 345: ..."
};

struct FormCheck {
  std::vector<FormProblem> errors;    // unknown class, wrong value kind, bad picture
  std::vector<FormProblem> warnings;  // unknown property: reported by name, kept in the model
};

// unit is "line" for text files and "offset" for binary ones.
FormCheck CheckForm(const Component& root, std::string_view file_name, std::string_view unit);

}  // namespace korvane::forms
