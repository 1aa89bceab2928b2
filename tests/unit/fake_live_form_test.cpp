#include "fake_live_form.h"

#include <gtest/gtest.h>

#include "wizard/forms/form_reader.h"

namespace korvane::platform {
namespace {

// The fake keeps the toolkit's contract for what host tests of dialog code rely on: the model
// holds the new state before the named handler runs, handler names ignore letter case, a
// detached event runs nothing, and a modal show ends with the result the user left.
TEST(FakeLiveForm, UserActionsReachTheNamedHandlersAfterTheModel) {
  auto model = forms::ReadFormText(
      "object D: TDlg\n  object Edit1: TEdit\n    OnChange = Edit1Change\n  end\n"
      "  object Ok: TButton\n    ModalResult = 1\n    OnClick = Button1Click\n  end\nend\n",
      "d.dfm");
  ASSERT_TRUE(model.ok()) << model.error();
  FakeLiveForm form(std::move(model.value()));
  std::vector<std::string> seen;
  form.SetHandler("EDIT1CHANGE", [&](forms::Component& c) { seen.push_back(c.Name() + "=" + c.String("Text").value_or("")); });
  form.SetHandler("Button1Click", [&](forms::Component& c) {
    seen.push_back(c.Name());
    form.SetModalResult(static_cast<int>(c.Integer("ModalResult").value_or(0)));
  });
  form.SetUser([](FakeLiveForm& f) {
    ASSERT_TRUE(f.UserChange("Edit1", "Text", forms::Value::String("typed"), "OnChange").ok());
    ASSERT_TRUE(f.Raise("Ok", "OnClick").ok());
  });
  EXPECT_EQ(form.ShowModal(), kModalOk);
  EXPECT_EQ(seen, (std::vector<std::string>{"Edit1=typed", "Ok"}));

  ASSERT_TRUE(form.Attach("Edit1", "OnChange", "").ok());
  seen.clear();
  ASSERT_TRUE(form.UserChange("Edit1", "Text", forms::Value::String("again"), "OnChange").ok());
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(form.GetProperty("Edit1", "Text")->text, "again");
  EXPECT_FALSE(form.Raise("Missing", "OnClick").ok());

  form.SetCloseQuery([] { return false; });
  EXPECT_FALSE(form.UserClose());
}

}  // namespace
}  // namespace korvane::platform
