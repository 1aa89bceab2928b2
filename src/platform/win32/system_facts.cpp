#include "platform/system_facts.h"

#include <windows.h>

namespace korvane::platform {
namespace {

bool IsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// A string value under HKLM, from the NT key first and the 95 family's key second.
std::string WindowsRegistration(const char* name) {
  for (const char* key :
       {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"}) {
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) continue;
    DWORD type = 0;
    LONG read = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (read == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) return buffer;
  }
  return {};
}

std::string FormatNow(bool date) {
  char buffer[128] = {};
  const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, sizeof buffer)
                     : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer) : std::string();
}

class Win32SystemFacts final : public SystemFacts {
 public:
  uint64_t TickCount() override { return GetTickCount64(); }

  bool PerMachineAllowed() override {
    if (!IsNtFamily()) return true;
    // Member of the administrators with the group enabled in the token: under UAC a filtered
    // token holds the group for deny only, so this is also the "runs elevated" test.
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
      return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
  }

  std::string RegisteredOwner() override { return WindowsRegistration("RegisteredOwner"); }
  std::string RegisteredOrganization() override { return WindowsRegistration("RegisteredOrganization"); }
  std::string ShortDateText() override { return FormatNow(true); }
  std::string LongTimeText() override { return FormatNow(false); }
};

}  // namespace

std::unique_ptr<SystemFacts> SystemFactsOfThisMachine() { return std::make_unique<Win32SystemFacts>(); }

}  // namespace korvane::platform
