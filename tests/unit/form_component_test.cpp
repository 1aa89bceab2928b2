#include "wizard/forms/form_component.h"

#include <gtest/gtest.h>

namespace korvane::forms {
namespace {

TEST(FormComponent, PropertiesByNameAndTree) {
  Component form("TForm1", "Form1");
  Component& panel = form.AddChild(std::make_unique<Component>("TPanel", "Panel1"));
  Component& edit = panel.AddChild(std::make_unique<Component>("TEdit", "Edit1"));
  form.AddChild(std::make_unique<Component>("TButton", "Button1"));

  edit.Set("Text", Value::String("a"));
  edit.Set("TEXT", Value::String("b"));  // same property, other letter case
  ASSERT_EQ(edit.Properties().size(), 1u);
  EXPECT_EQ(edit.String("text"), "b");
  EXPECT_EQ(edit.Integer("Text"), std::nullopt);  // wrong kind reads as absent
  EXPECT_TRUE(edit.Remove("Text"));
  EXPECT_EQ(edit.Find("Text"), nullptr);

  EXPECT_EQ(form.FindComponent("edit1"), &edit);
  EXPECT_EQ(edit.Parent(), &panel);
  EXPECT_EQ(&edit.Owner(), &form);
  std::vector<std::string> order;
  for (Component* c : form.Descendants()) order.push_back(c->Name());
  EXPECT_EQ(order, (std::vector<std::string>{"Panel1", "Edit1", "Button1"}));
}

}  // namespace
}  // namespace korvane::forms
