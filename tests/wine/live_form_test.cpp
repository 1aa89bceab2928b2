// The Win32 form toolkit against real windows (runs under Wine on the test display).
#include "platform/live_form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/forms/form_reader.h"

namespace korvane::platform {
namespace {

using forms::Value;
using forms::ValueKind;

std::unique_ptr<LiveForm> Make(const std::string& text, std::string* error = nullptr) {
  auto loaded = forms::ReadFormText(text, "test.dfm");
  EXPECT_TRUE(loaded.ok()) << loaded.error();
  if (!loaded.ok()) return nullptr;
  auto live = CreateLiveForm(std::move(loaded.value()), "test.dfm");
  if (!live.ok()) {
    if (error) *error = live.error();
    return nullptr;
  }
  return std::move(live.value());
}

HWND ChildNamed(const LiveForm& form, const std::wstring& name) {
  struct Search {
    std::wstring name;
    HWND found = nullptr;
  } search{name};
  EnumChildWindows(
      reinterpret_cast<HWND>(form.WindowHandle()),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(w, L"KorvaneName")));
        wchar_t buffer[256] = {};
        if (atom && GlobalGetAtomNameW(atom, buffer, 255) && s->name == buffer) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

const char kDialog[] =
    "object Dlg: TDlg\n"
    "  Caption = 'Toolkit test'\n  ClientWidth = 300\n  ClientHeight = 200\n"
    "  object Edit1: TEdit\n    Left = 8\n    Top = 8\n    Text = 'start'\n    MaxLength = 5\n    OnChange = Edit1Change\n  end\n"
    "  object Check1: TCheckBox\n    Left = 8\n    Top = 40\n    Caption = 'c'\n    OnClick = CheckBox1Click\n  end\n"
    "  object List1: TListBox\n    Left = 8\n    Top = 60\n    Items.Strings = (\n      'a'\n      'b')\n  end\n"
    "  object Checks1: TCheckListBox\n    Left = 120\n    Top = 60\n    Items.Strings = (\n      'x'\n      'y'\n      'z')\n  end\n"
    "  object Track1: TTrackBar\n    Left = 8\n    Top = 120\n    Max = 20\n    Position = 3\n  end\n"
    "  object Pages: TPageControl\n    Left = 150\n    Top = 8\n    Width = 140\n    Height = 50\n"
    "    object Sheet1: TTabSheet\n      Caption = 'One'\n    end\n"
    "    object Sheet2: TTabSheet\n      Caption = 'Two'\n    end\n  end\n"
    "  object Ok: TButton\n    Left = 200\n    Top = 160\n    Caption = 'OK'\n    ModalResult = 1\n    OnClick = Button1Click\n  end\n"
    "end\n";

TEST(LiveForm, PropertiesGoToTheWindowsWithoutEvents) {
  auto form = Make(kDialog);
  ASSERT_TRUE(form);
  int events = 0;
  for (const char* name : {"Edit1Change", "CheckBox1Click", "Button1Click"})
    form->SetHandler(name, [&](forms::Component&) { ++events; });

  struct Case {
    const char* component;
    const char* property;
    Value value;
    Value expected;  // as read back from the window
  };
  const Case cases[] = {
      {"Edit1", "Text", Value::String("hello"), Value::String("hello")},
      {"Check1", "Checked", Value::Boolean(true), Value::Boolean(true)},
      {"List1", "Items.Strings", Value::List({Value::String("p"), Value::String("q"), Value::String("r")}),
       Value::List({Value::String("p"), Value::String("q"), Value::String("r")})},
      {"List1", "ItemIndex", Value::Integer(2), Value::Integer(2)},
      {"Checks1", "CheckedItems", Value::List({Value::String("z"), Value::String("X")}),
       Value::List({Value::String("x"), Value::String("z")})},
      {"Track1", "Position", Value::Integer(17), Value::Integer(17)},
      {"Pages", "ActivePage", Value::Identifier("Sheet2"), Value::Identifier("Sheet2")},
      {"Dlg", "Caption", Value::String("Renamed"), Value::String("Renamed")},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(form->SetProperty(c.component, c.property, c.value).ok()) << c.component << "." << c.property;
    auto read = form->GetProperty(c.component, c.property);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(*read, c.expected) << c.component << "." << c.property;
  }
  EXPECT_EQ(events, 0) << "values the toolkit writes must not come back as user events";
  // The edit's maximum length holds for what the user types, not for what the program sets.
  EXPECT_EQ(SendMessageW(ChildNamed(*form, L"Edit1"), EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_FALSE(form->GetProperty("Nothing", "Text").ok());
  EXPECT_FALSE(form->GetProperty("Edit1", "NoSuchProperty").ok());
}

TEST(LiveForm, UserActionsUpdateTheModelThenRunTheNamedHandler) {
  auto form = Make(kDialog);
  ASSERT_TRUE(form);
  std::vector<std::string> seen;
  form->SetHandler("Edit1Change", [&](forms::Component& sender) { seen.push_back(sender.Name() + "=" + sender.String("Text").value_or("?")); });
  form->SetHandler("CheckBox1Click", [&](forms::Component& sender) {
    seen.push_back(sender.Name() + "=" + (sender.Boolean("Checked").value_or(false) ? "on" : "off"));
  });
  form->SetHandler("button1click", [&](forms::Component& sender) { seen.push_back(sender.Name()); });  // any letter case
  form->Show();
  SetWindowTextW(ChildNamed(*form, L"Edit1"), L"typed");
  SendMessageW(ChildNamed(*form, L"Check1"), BM_CLICK, 0, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"Edit1=typed", "Check1=on"}));

  // A button with a modal result ends the modal show after its handler ran.
  PostMessageW(ChildNamed(*form, L"Ok"), BM_CLICK, 0, 0);
  EXPECT_EQ(form->ShowModal(), kModalOk);
  EXPECT_EQ(seen.back(), "Ok");

  // A detached event runs nothing.
  ASSERT_TRUE(form->Attach("Check1", "OnClick", "").ok());
  seen.clear();
  SendMessageW(ChildNamed(*form, L"Check1"), BM_CLICK, 0, 0);
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(form->Attach("Missing", "OnClick", "X").ok());
}

TEST(LiveForm, OwnWaitWithHandleOneMessageKeepsTheFormShown) {
  auto form = Make(kDialog);
  ASSERT_TRUE(form);
  form->Show();
  form->SetModalResult(kModalNone);
  // Escape goes through the keyboard interface; no Cancel button here, so nothing ends.
  PostMessageW(ChildNamed(*form, L"Edit1"), WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(ChildNamed(*form, L"Ok"), BM_CLICK, 0, 0);
  for (int i = 0; i < 1000 && form->ModalResult() == kModalNone; ++i) ASSERT_TRUE(HandleOneMessage());
  EXPECT_EQ(form->ModalResult(), kModalOk);
  EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(form->WindowHandle())));
}

TEST(LiveForm, CloseBoxCancelsUnlessTheCloseQueryRefuses) {
  auto form = Make(kDialog);
  ASSERT_TRUE(form);
  auto window = reinterpret_cast<HWND>(form->WindowHandle());
  int asked = 0;
  form->SetCloseQuery([&] { return ++asked > 1; });  // refuses once, then allows
  PostMessageW(window, WM_CLOSE, 0, 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(form->ShowModal(), kModalCancel);
  EXPECT_EQ(asked, 2);
}

TEST(LiveForm, BadModelsAreRefusedWithFileAndReason) {
  std::string deep = "object Dlg: TDlg\n";
  for (int i = 0; i < 40; ++i) deep += "object P" + std::to_string(i) + ": TPanel\n";
  for (int i = 0; i < 41; ++i) deep += "end\n";
  struct Bad {
    std::string text;
    const char* expected;
  };
  const Bad cases[] = {
      {deep, "test.dfm: line 34: P32 is nested 33 controls deep; windows nest at most 32"},
      {"object Dlg: TDlg\n  object G: TGrid\n  end\nend\n", "test.dfm: line 2: unknown class TGrid of component G"},
      {"object Dlg: TDlg\n  object B: TButton\n    Caption = 7\n  end\nend\n", "test.dfm: line 3: property Caption of B holds integer"},
  };
  for (const Bad& c : cases) {
    std::string error;
    EXPECT_FALSE(Make(c.text, &error)) << c.expected;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
  }
}

TEST(LiveForm, WarningsNameWhatIsShownApproximately) {
  auto form = Make(
      "object Dlg: TDlg\n  Sparkle = 1\n  object H: THTMLLite\n  end\n  object S: TTabSheet\n  end\n"
      "  object G: TGlassFrame\n  end\nend\n");
  ASSERT_TRUE(form);
  std::string all;
  for (const std::string& w : form->Warnings()) all += w + "\n";
  for (const char* part : {"test.dfm: line 2: unknown property Sparkle of Dlg", "H: HTML viewer shows the page as plain text",
                           "S: tab sheet outside a page control is not shown", "G: glass frame"})
    EXPECT_NE(all.find(part), std::string::npos) << part << " not in:\n" << all;
  ASSERT_TRUE(form->SetProperty("H", "Html", Value::String("<p>Hello&nbsp;there</p>")).ok());
  EXPECT_EQ(form->GetProperty("H", "Text")->text, "Hello there");
}

TEST(LiveForm, NameAtomsAreReleasedWithTheForm) {
  const wchar_t name[] = L"UniqueToolkitAtomName";
  {
    auto form = Make("object Dlg: TDlg\n  object UniqueToolkitAtomName: TButton\n  end\nend\n");
    ASSERT_TRUE(form);
    EXPECT_NE(GlobalFindAtomW(name), 0);
  }
  EXPECT_EQ(GlobalFindAtomW(name), 0);
}

}  // namespace
}  // namespace korvane::platform
