#include "support/key_access.h"

#include <sddl.h>

LONG DenyToCurrentUser(HKEY root, const std::wstring& keyPath, DWORD denied) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(root, keyPath.c_str(), 0, WRITE_DAC, &key);
  if (status != ERROR_SUCCESS) return status;
  std::wstring sddl = L"D:";
  if (denied) {
    HANDLE token = nullptr;
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    wchar_t* sid = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
        !GetTokenInformation(token, TokenUser, buffer, size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
      status = static_cast<LONG>(GetLastError());
      if (token) CloseHandle(token);
      RegCloseKey(key);
      return status;
    }
    CloseHandle(token);
    wchar_t mask[16];
    wsprintfW(mask, L"0x%lX", denied);
    sddl += L"(D;;" + std::wstring(mask) + L";;;" + sid + L")";
    LocalFree(sid);
  }
  sddl += L"(A;;KA;;;WD)";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    status = static_cast<LONG>(GetLastError());
  } else {
    status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
  }
  RegCloseKey(key);
  return status;
}
