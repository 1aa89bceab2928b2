// Shows the start-up windows (the splash picture and the preparing window) as the setup does,
// with the default texts of the language table, holds them for a while and closes them: for
// screenshots under Xvfb. Usage: korvane-startup-windows SPLASH.bmp MILLISECONDS
// (a SPLASH that does not exist shows the preparing window alone, centred).

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/startup_windows.h"
#include "wizard/language_table.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: korvane-startup-windows SPLASH.bmp MILLISECONDS\n");
    return 2;
  }
  const korvane::LanguageTable texts;
  auto windows = korvane::platform::ShowStartupWindows(argv[1], texts.Message(korvane::LanguageTable::kWizardCaption),
                                                       texts.Message(korvane::LanguageTable::kPreparing));
  windows->SetProgress(0, 5, 1);
  windows->Step();
  windows->Step();
  const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2]));
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  windows->Close();
  std::printf("shown for %s ms\n", argv[2]);
  return 0;
}
