#pragma once
// A LiveForm without windows for host tests of code that binds, reads and drives dialogs: every
// property lives in the model, and a test plays the user with UserChange (sets a property the
// way a control would, then raises the event that the control raises).

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/live_form.h"
#include "support/text.h"

namespace korvane::platform {

class FakeLiveForm final : public LiveForm {
 public:
  explicit FakeLiveForm(std::unique_ptr<forms::Component> model) : model_(std::move(model)) {}

  forms::Component& Model() override { return *model_; }
  const std::vector<std::string>& Warnings() const override { return warnings_; }
  void SetHandler(std::string name, FormHandler handler) override { handlers_[UpperCase(name)] = std::move(handler); }

  Status Attach(std::string_view component, std::string_view event, std::string_view handler) override {
    forms::Component* c = model_->FindComponent(component);
    if (!c) return Error{"no component named " + std::string(component)};
    if (handler.empty()) c->Remove(event);
    else c->Set(event, forms::Value::Identifier(std::string(handler)));
    return Ok();
  }

  Result<forms::Value> GetProperty(std::string_view component, std::string_view property) override {
    forms::Component* c = model_->FindComponent(component);
    if (!c) return Error{"no component named " + std::string(component)};
    if (const forms::Value* v = c->Find(property)) return *v;
    return Error{c->Name() + " has no property " + std::string(property)};
  }

  Status SetProperty(std::string_view component, std::string_view property, forms::Value value) override {
    forms::Component* c = model_->FindComponent(component);
    if (!c) return Error{"no component named " + std::string(component)};
    c->Set(property, std::move(value));
    return Ok();
  }

  Status Focus(std::string_view component) override {
    if (!model_->FindComponent(component)) return Error{"no component named " + std::string(component)};
    focused_ = std::string(component);
    return Ok();
  }

  intptr_t WindowHandle() const override { return 0x1000; }
  void Show() override { visible_ = true; }
  void Hide() override { visible_ = false; }
  // Runs the scripted user (if any) while "shown", then returns the result it left.
  int ShowModal() override {
    modal_result_ = kModalNone;
    visible_ = true;
    if (user_) user_(*this);
    visible_ = false;
    return modal_result_ == kModalNone ? kModalCancel : modal_result_;
  }
  void SetModalResult(int result) override { modal_result_ = result; }
  int ModalResult() const override { return modal_result_; }
  void SetCloseQuery(std::function<bool()> can_close) override { close_query_ = std::move(can_close); }

  // --- test side ---
  // What the user does while ShowModal waits.
  void SetUser(std::function<void(FakeLiveForm&)> user) { user_ = std::move(user); }
  // The user changes a control: the model gets the value, then the event's handler runs.
  Status UserChange(std::string_view component, std::string_view property, forms::Value value, std::string_view event) {
    auto set = SetProperty(component, property, std::move(value));
    if (!set) return set;
    return Raise(component, event);
  }
  // The control raises an event: the handler that its event property names runs, if registered.
  Status Raise(std::string_view component, std::string_view event) {
    forms::Component* c = model_->FindComponent(component);
    if (!c) return Error{"no component named " + std::string(component)};
    auto name = c->Ident(event);
    if (!name) return Ok();
    auto it = handlers_.find(UpperCase(*name));
    if (it != handlers_.end() && it->second) {
      FormHandler run = it->second;
      run(*c);
    }
    return Ok();
  }
  // The close box: true when the form may close.
  bool UserClose() {
    if (close_query_ && !close_query_()) return false;
    modal_result_ = kModalCancel;
    return true;
  }
  bool Visible() const { return visible_; }
  const std::string& Focused() const { return focused_; }
  std::vector<std::string>& MutableWarnings() { return warnings_; }

 private:
  std::unique_ptr<forms::Component> model_;
  std::vector<std::string> warnings_;
  std::map<std::string, FormHandler> handlers_;
  std::function<void(FakeLiveForm&)> user_;
  std::function<bool()> close_query_;
  std::string focused_;
  int modal_result_ = kModalNone;
  bool visible_ = false;
};

}  // namespace korvane::platform
