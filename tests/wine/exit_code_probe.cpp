// Runs a program and prints its full 32-bit exit code: a shell under Wine sees only the low
// eight bits (314 would read as 58). Usage: exit-code-probe PROGRAM [ARGUMENTS...]

#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  // Everything after this program's own name is the command line to run, as given.
  std::string line = GetCommandLineA();
  size_t start = 0;
  if (!line.empty() && line[0] == '"') {
    start = line.find('"', 1);
    start = start == std::string::npos ? line.size() : start + 1;
  } else {
    start = line.find(' ');
    if (start == std::string::npos) start = line.size();
  }
  while (start < line.size() && line[start] == ' ') ++start;
  std::string command = line.substr(start);
  if (command.empty()) {
    std::fprintf(stderr, "usage: exit-code-probe PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", command.c_str(), GetLastError());
    return 2;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("%ld\n", static_cast<long>(static_cast<LONG>(code)));
  return 0;
}
