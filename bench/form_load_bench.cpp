// Loading dialog form files into checked component models, as start-up does for every dialog
// of a setup: 30 dialogs of 40 controls each, from the text form and from the binary form.
// A plain read without the class and property check is the reference for what checking costs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "wizard/forms/form_reader.h"
#include "wizard/forms/form_writer.h"

namespace {

constexpr int kDialogs = 30;
constexpr int kControlsPerDialog = 40;

// One wizard-like dialog: a header panel with two labels, then rows of label, edit, check box
// and button, with a list box and a combo box now and then, until 40 controls are placed.
std::string DialogText(int number) {
  std::string n = std::to_string(number);
  std::string t = "object Dialog" + n + ": TDialog" + n +
                  "\n  Left = 0\n  Top = 0\n  BorderStyle = bsDialog\n  Caption = 'Dialog " + n +
                  "'\n  ClientHeight = 480\n  ClientWidth = 640\n  Color = clBtnFace\n  Font.Name = 'Tahoma'\n"
                  "  Font.Height = -11\n  Font.Style = []\n  Position = poScreenCenter\n";
  int placed = 0;
  t += "  object Header: TPanel\n    Left = 0\n    Top = 0\n    Width = 640\n    Height = 58\n    Align = alTop\n"
       "    Color = clWhite\n    TabOrder = 0\n"
       "    object Title: TLabel\n      Left = 16\n      Top = 10\n      Caption = 'Title of dialog " + n +
       "'\n      Font.Style = [fsBold]\n    end\n"
       "    object Subtitle: TLabel\n      Left = 24\n      Top = 30\n      Caption = 'What this step does'\n    end\n"
       "  end\n";
  placed += 3;
  for (int row = 0; placed < kControlsPerDialog; ++row) {
    std::string r = std::to_string(row);
    std::string top = std::to_string(70 + row * 26);
    const char* kinds[] = {"label", "edit", "check", "button", "list", "combo"};
    const char* kind = kinds[row % 6];
    std::string k = kind;
    if (k == "label") {
      t += "  object Label" + r + ": TLabel\n    Left = 8\n    Top = " + top + "\n    Caption = 'Field " + r +
           ":'\n  end\n";
    } else if (k == "edit") {
      t += "  object Edit" + r + ": TEdit\n    Left = 120\n    Top = " + top +
           "\n    Width = 300\n    Height = 21\n    Hint = 'VALUE" + r + "'\n    MaxLength = 260\n    TabOrder = " +
           std::to_string(row + 1) + "\n    Text = 'C:\\Program Files\\Sample'\n    OnChange = Edit1Change\n  end\n";
    } else if (k == "check") {
      t += "  object CheckBox" + r + ": TCheckBox\n    Left = 120\n    Top = " + top +
           "\n    Width = 200\n    Height = 17\n    Caption = 'Option " + r + "'\n    Checked = True\n    State = cbChecked\n"
           "    TabOrder = " + std::to_string(row + 1) + "\n    OnClick = CheckBox1Click\n  end\n";
    } else if (k == "button") {
      t += "  object Button" + r + ": TButton\n    Left = 430\n    Top = " + top +
           "\n    Width = 75\n    Height = 25\n    Caption = '&Browse...'\n    TabOrder = " + std::to_string(row + 1) +
           "\n    OnClick = Button1Click\n  end\n";
    } else if (k == "list") {
      t += "  object ListBox" + r + ": TListBox\n    Left = 120\n    Top = " + top +
           "\n    Width = 200\n    Height = 21\n    ItemHeight = 13\n    Items.Strings = (\n      'First'\n      'Second'\n"
           "      'Third')\n    TabOrder = " + std::to_string(row + 1) + "\n    OnClick = ListBox1Click\n  end\n";
    } else {
      t += "  object ComboBox" + r + ": TComboBox\n    Left = 120\n    Top = " + top +
           "\n    Width = 200\n    Height = 21\n    Style = csDropDownList\n    Items.Strings = (\n      'Typical'\n"
           "      'Complete'\n      'Custom')\n    TabOrder = " + std::to_string(row + 1) +
           "\n    OnChange = ComboBox1Change\n  end\n";
    }
    ++placed;
  }
  return t + "end\n";
}

struct Dialogs {
  std::vector<std::string> text;
  std::vector<std::string> binary;
};

const Dialogs& Files() {
  static const Dialogs files = [] {
    Dialogs d;
    for (int i = 0; i < kDialogs; ++i) {
      d.text.push_back(DialogText(i));
      auto model = korvane::forms::ReadFormText(d.text.back(), "dialog.dfm");
      if (!model.ok() || (*model)->Descendants().size() != kControlsPerDialog) std::abort();
      d.binary.push_back(korvane::forms::WriteFormBinary(**model));
    }
    return d;
  }();
  return files;
}

// Time per dialog: the figure is per iteration over 30 dialogs, divided by the counter.
void Report(benchmark::State& state) {
  state.counters["dialogs"] = benchmark::Counter(static_cast<double>(state.iterations() * kDialogs),
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadThirtyTextDialogs(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.text) {
      auto loaded = korvane::forms::LoadForm(f, "dialog.dfm");
      benchmark::DoNotOptimize(loaded);
    }
  Report(state);
}
BENCHMARK(BM_LoadThirtyTextDialogs)->Unit(benchmark::kMillisecond);

void BM_LoadThirtyBinaryDialogs(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.binary) {
      auto loaded = korvane::forms::LoadForm(f, "dialog.dfm");
      benchmark::DoNotOptimize(loaded);
    }
  Report(state);
}
BENCHMARK(BM_LoadThirtyBinaryDialogs)->Unit(benchmark::kMillisecond);

// Reference: reading without the class and property check.
void BM_ReadThirtyTextDialogsUnchecked(benchmark::State& state) {
  const Dialogs& files = Files();
  for (auto _ : state)
    for (const std::string& f : files.text) {
      auto read = korvane::forms::ReadFormText(f, "dialog.dfm");
      benchmark::DoNotOptimize(read);
    }
  Report(state);
}
BENCHMARK(BM_ReadThirtyTextDialogsUnchecked)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
