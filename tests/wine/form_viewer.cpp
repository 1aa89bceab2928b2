// Shows a form file as a live window, for GUI tests and for looking at dialogs.
//   form_viewer FORM.dfm [--log FILE] [--set NAME PROPERTY TEXT]...
//                                        shows the form modally; every named event handler
//                                        writes a line to the log (sender and its new state);
//                                        --set gives a property a text value before the show
//   form_viewer FORM.dfm --time N        loads the form N times (model, then windows, hidden)
//                                        and prints the time per dialog

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/live_form.h"
#include "support/text.h"
#include "wizard/forms/form_reader.h"

using namespace korvane;

namespace {

// Every live property the sender has, as NAME=VALUE pairs separated by blanks.
std::string StateOf(platform::LiveForm& form, forms::Component& c) {
  std::string out;
  for (const char* property : {"Text", "Checked", "ItemIndex", "Position", "Selected", "CheckedItems", "ActivePage"}) {
    auto v = form.GetProperty(c.Name(), property);
    if (!v.ok()) continue;
    std::string text;
    switch (v->kind) {
      case forms::ValueKind::String:
      case forms::ValueKind::Identifier: text = v->text; break;
      case forms::ValueKind::Integer: text = std::to_string(v->integer); break;
      case forms::ValueKind::List:
        for (auto& item : v->items) text += item.text + ";";
        break;
      default: continue;
    }
    std::string shown;  // one log line per event: line breaks written as \n
    for (char ch : text)
      if (ch != '\r') shown += ch == '\n' ? std::string("\\n") : std::string(1, ch);
    out += (out.empty() ? "" : " ") + std::string(property) + "=" + shown;
  }
  return out;
}

int Time(const std::string& path, int count) {
  using clock = std::chrono::steady_clock;
  auto start = clock::now();
  for (int i = 0; i < count; ++i) {
    auto loaded = forms::LoadFormFile(path);
    if (!loaded.ok()) {
      std::printf("%s\n", loaded.error().c_str());
      return 1;
    }
  }
  auto model_done = clock::now();
  std::vector<std::unique_ptr<platform::LiveForm>> forms;
  for (int i = 0; i < count; ++i) {
    auto loaded = forms::LoadFormFile(path);
    auto live = platform::CreateLiveForm(std::move(loaded->root), path, loaded->position_unit);
    if (!live.ok()) {
      std::printf("%s\n", live.error().c_str());
      return 1;
    }
    forms.push_back(std::move(live.value()));
  }
  auto windows_done = clock::now();
  size_t controls = forms.front()->Model().Descendants().size();
  double model_ms = std::chrono::duration<double, std::milli>(model_done - start).count() / count;
  double window_ms = std::chrono::duration<double, std::milli>(windows_done - model_done).count() / count;
  std::printf("%d dialogs of %zu components: model %.3f ms per dialog, model and windows %.3f ms per dialog\n", count,
              controls, model_ms, window_ms);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: form_viewer FORM.dfm [--log FILE] [--time N]\n");
    return 2;
  }
  std::string path = argv[1];
  std::string log_path;
  struct Setting {
    std::string component, property, text;
  };
  std::vector<Setting> settings;
  for (int i = 2; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--log") log_path = argv[i + 1];
    if (std::string(argv[i]) == "--time") return Time(path, std::atoi(argv[i + 1]));
    if (std::string(argv[i]) == "--set" && i + 3 < argc) {
      settings.push_back({argv[i + 1], argv[i + 2], argv[i + 3]});
      i += 3;
    }
  }
  std::ofstream log;
  if (!log_path.empty()) log.open(log_path, std::ios::app);
  auto write = [&](const std::string& line) {
    if (log.is_open()) {
      log << line << std::endl;
    } else {
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
    }
  };
  auto loaded = forms::LoadFormFile(path);
  if (!loaded.ok()) {
    write("error " + loaded.error());
    return 1;
  }
  auto live = platform::CreateLiveForm(std::move(loaded->root), path, loaded->position_unit);
  if (!live.ok()) {
    write("error " + live.error());
    return 1;
  }
  platform::LiveForm& form = **live;
  for (const std::string& w : form.Warnings()) write("warning " + w);
  for (const Setting& s : settings) {
    auto set = form.SetProperty(s.component, s.property, forms::Value::String(s.text));
    if (!set.ok()) write("error " + set.error());
  }
  // Every handler named in the file logs its sender's state.
  std::vector<forms::Component*> all = form.Model().Descendants();
  all.push_back(&form.Model());
  for (forms::Component* c : all) {
    for (const forms::Property& p : c->Properties()) {
      if (p.name.size() < 3 || !SameText(p.name.substr(0, 2), "On") || p.value.kind != forms::ValueKind::Identifier) continue;
      std::string handler = p.value.text;
      form.SetHandler(handler, [&form, &write, handler](forms::Component& sender) {
        write("event " + handler + " " + sender.Name() + " " + StateOf(form, sender));
      });
    }
  }
  write("shown");
  int result = form.ShowModal();
  write("result " + std::to_string(result));
  return 0;
}
