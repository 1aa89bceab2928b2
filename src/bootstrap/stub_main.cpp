// Program entry of the setup: the start-up sequence over the running system, with the script
// engine called once in its middle.

#include <windows.h>

#include "bootstrap/engine_handover.h"
#include "bootstrap/startup_sequence.h"
#include "bootstrap/support_directory.h"
#include "platform/application_window.h"
#include "platform/message_box.h"
#include "platform/startup_services.h"
#include "platform/system_clock.h"
#include "platform/user_facts.h"

namespace korvane {
namespace {

int RunScript(StartupContext& context) {
  const auto clock = platform::MakeSystemClock();
  const auto window = platform::MakeApplicationWindow();
  const auto errorBoxes = platform::MakeSystemErrorBoxes();
  TVariableManager store;
  const HandOverResult result =
      HandOverToEngine(context, store, {*clock, *window, *errorBoxes}, platform::ReadUserFacts());
  if (result.endProcessNow) {
    // A script the preparation pass rejects ends the process at once, without the shutdown's
    // log entries; only the support directory made for this run is taken away first.
    RemoveSupportDirectory(context.supportDirectory);
    ExitProcess(static_cast<UINT>(result.exitCode));
  }
  return result.exitCode;
}

}  // namespace
}  // namespace korvane

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  auto system = korvane::platform::SystemStartupServices();
  korvane::StartupSteps steps;
  steps.runEngine = korvane::RunScript;
  return korvane::RunStartupSequence(*system, steps);
}
