// Program entry of the setup: the start-up sequence over the running system, with the script
// engine called once in its middle.

#include <windows.h>

#include "bootstrap/run_engine.h"
#include "bootstrap/startup_sequence.h"
#include "platform/startup_services.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  auto system = korvane::platform::SystemStartupServices();
  korvane::StartupSteps steps;
  steps.runEngine = korvane::RunEngine;
  return korvane::RunStartupSequence(*system, steps);
}
