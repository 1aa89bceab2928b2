#include "wizard/forms/form_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "form_sample.h"
#include "wizard/forms/form_reader.h"

namespace korvane::forms {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void ExpectRoundTrips(const Component& model) {
  std::string text = WriteFormText(model);
  auto again = ReadFormText(text, "written.dfm");
  ASSERT_TRUE(again.ok()) << again.error() << "\n" << text;
  EXPECT_TRUE(SameModel(model, **again)) << DescribeDifference(model, **again);
  // Writing what was read back gives the same text.
  EXPECT_EQ(WriteFormText(**again), text);

  auto binary = ReadFormBinary(WriteFormBinary(model), "written.dfm");
  ASSERT_TRUE(binary.ok()) << binary.error();
  EXPECT_TRUE(SameModel(model, **binary)) << DescribeDifference(model, **binary);
}

TEST(FormWriter, SampleDialogRoundTripsThroughBothForms) {
  auto form = ReadFormText(sample::kDialogText, "welcome.dfm");
  ASSERT_TRUE(form.ok()) << form.error();
  ExpectRoundTrips(**form);
}

TEST(FormWriter, GalleryRoundTrips) {
  auto form = ReadFormText(ReadAll(KORVANE_EXAMPLES "/gallery.dfm"), "gallery.dfm");
  ASSERT_TRUE(form.ok()) << form.error();
  ExpectRoundTrips(**form);
}

TEST(FormWriter, AwkwardValuesSurvive) {
  Component form("TForm1", "Form1");
  form.Set("Quote", Value::String("'"));
  form.Set("Controls", Value::String("a\r\nb\tc\x01"));
  form.Set("Long", Value::String(std::string(300, 'x') + "\xF0\x9F\x98\x80" + "\xC3\xA9"));
  form.Set("Empty", Value::String(""));
  form.Set("Min", Value::Integer(INT64_MIN));
  form.Set("Max", Value::Integer(INT64_MAX));
  form.Set("Big", Value::Integer(70000));
  form.Set("Tiny", Value::Float(1e-300));
  form.Set("Whole", Value::Float(3));
  form.Set("Negative", Value::Float(-2.75));
  form.Set("Nested", Value::List({Value::List({Value::Integer(1)}), Value::Set({}), Value::Binary({})}));
  form.Set("end", Value::Integer(1));  // a property named like a keyword
  CollectionItem item;
  item.index = 4;
  item.properties.push_back(Property{"Caption", Value::String("c")});
  form.Set("Columns", Value::Collection({item, CollectionItem{}}));
  auto& child = form.AddChild(std::make_unique<Component>("TButton", "object"));
  child.SetKind(ObjectKind::Inline);
  child.SetChildPosition(-1);
  ExpectRoundTrips(form);
}

}  // namespace
}  // namespace korvane::forms
