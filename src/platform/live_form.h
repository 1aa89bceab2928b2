#pragma once
// The form toolkit: turns a form-file component tree into live windows with the common controls
// and routes their events back to the model as named handlers (an event property such as
// OnClick = Button1Click names the handler that runs).
//
// Honest equivalents where the real thing is not there: the HTML viewer shows the page's text in
// a read-only rich edit; the shell tree, list and combo browse the file system (drives and
// folders, no virtual shell folders); the Flash movie frame is a panel showing its caption; the
// glass frame leaves the ordinary window frame (no desktop composition); a mask edit is an
// ordinary edit that keeps the designed text (the mask is not enforced).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/result.h"
#include "wizard/forms/form_component.h"

namespace korvane::platform {

// Runs when the named handler fires; sender is the component whose control raised the event.
// The model already holds the control's new state (text, checked, item index, position).
using FormHandler = std::function<void(forms::Component& sender)>;

// Modal results, as buttons carry them in ModalResult.
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

class LiveForm {
 public:
  virtual ~LiveForm() = default;

  virtual forms::Component& Model() = 0;
  // What could not be shown exactly (unknown properties, approximated kinds), by name.
  virtual const std::vector<std::string>& Warnings() const = 0;

  // Registers the code behind a handler name. Events whose handler name has no code are ignored.
  virtual void SetHandler(std::string name, FormHandler handler) = 0;
  // Points a component's event (OnClick, OnChange, OnClickCheck, OnKeyUp, OnMouseUp,
  // OnFolderChanged) at a handler name; an empty name detaches it.
  virtual Status Attach(std::string_view component, std::string_view event, std::string_view handler) = 0;

  // Reads a property by name. Live state comes from the window: Text, Caption, Checked,
  // ItemIndex, Position, Lines.Strings, Items.Strings, plus SelectedItems and CheckedItems
  // (lists of strings), Selected (tree node text or file path) and ActivePage.
  virtual Result<forms::Value> GetProperty(std::string_view component, std::string_view property) = 0;
  // Writes a property into the model and the window. Setting a value does not fire events.
  virtual Status SetProperty(std::string_view component, std::string_view property, forms::Value value) = 0;
  // Gives the keyboard focus to a control.
  virtual Status Focus(std::string_view component) = 0;

  virtual intptr_t WindowHandle() const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // Shows the form and handles messages until a modal result is set (a button with a
  // ModalResult, SetModalResult, or the close box, which gives kModalCancel unless the close
  // query refuses); returns the result and hides the form.
  virtual int ShowModal() = 0;
  virtual void SetModalResult(int result) = 0;
  // The result set since the last ShowModal began (kModalNone while none), for callers that run
  // their own wait with Show and HandleOneMessage.
  virtual int ModalResult() const = 0;
  // Asked when the user tries to close the window; false keeps it open.
  virtual void SetCloseQuery(std::function<bool()> can_close) = 0;
};

// Creates the windows (hidden) for a model; file_name names the form in errors and warnings,
// position_unit ("line" or "offset", see forms::LoadedForm) its places. The model is checked
// against the known classes and properties first.
Result<std::unique_ptr<LiveForm>> CreateLiveForm(std::unique_ptr<forms::Component> model, std::string_view file_name,
                                                 std::string_view position_unit = "line");

// Handles pending window messages of the thread, the way a modal wait does (keyboard interface
// of toolkit forms included).
void ProcessPendingMessages();
// Waits for the next window message of the thread and handles it. False when the message was
// the request to quit (posted again so that outer loops end too) or the wait failed.
bool HandleOneMessage();

}  // namespace korvane::platform
