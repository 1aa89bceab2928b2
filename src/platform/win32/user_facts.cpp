#include "platform/user_facts.h"

#include <windows.h>

#include <string>

namespace korvane::platform {
namespace {

std::string ReadCurrentVersionValue(const char* name) {
  for (const char* key : {"Software\\Microsoft\\Windows NT\\CurrentVersion", "Software\\Microsoft\\Windows\\CurrentVersion"}) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) continue;
    char buffer[512] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    if (status == ERROR_SUCCESS && type == REG_SZ) return std::string(buffer);
  }
  return {};
}

// Member of the administrators with the membership in force (an elevated token on systems that
// split tokens).
bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                0, &administrators))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

}  // namespace

UserFacts ReadUserFacts() {
  UserFacts facts;
  facts.administrator = IsAdministrator();
  facts.registeredOwner = ReadCurrentVersionValue("RegisteredOwner");
  facts.registeredOrganization = ReadCurrentVersionValue("RegisteredOrganization");
  return facts;
}

bool IsOnFixedDrive(const std::filesystem::path& folder) {
  const std::wstring root = folder.root_path().wstring();
  return GetDriveTypeW(root.empty() ? nullptr : root.c_str()) == DRIVE_FIXED;
}

}  // namespace korvane::platform
