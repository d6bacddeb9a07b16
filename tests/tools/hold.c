/* Keeps a file open without sharing it for writing or deleting, as another
 * process on the machine might, so that nobody can delete or overwrite it;
 * or, with --mutex, makes a named mutex with the default security and owns
 * it, as any local process may; or, with --key, gives a key under
 * HKEY_LOCAL_MACHINE (native view) the security an administrator or a
 * policy may set on it, made where it is missing, and ends.
 *
 *   hold.exe <file> <seconds>
 *   hold.exe --mutex <name> <seconds>
 *   hold.exe --key <subkey> <SDDL of its DACL>
 *
 * Prints "held" once the file is open or the mutex owned, then waits the
 * seconds and ends. */
#include <windows.h>
#include <sddl.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

static int SetKeySecurity(const wchar_t* subkey, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR security = NULL;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &security, NULL)) {
    fprintf(stderr, "hold: not a security descriptor (error %lu)\n", (unsigned long)GetLastError());
    return 1;
  }
  HKEY key;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, NULL, 0,
                                   WRITE_DAC | KEY_WOW64_64KEY, NULL, &key, NULL);
  if (status == ERROR_SUCCESS) {
    status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security);
    RegCloseKey(key);
  }
  LocalFree(security);
  if (status != ERROR_SUCCESS) {
    fprintf(stderr, "hold: cannot set the key's security (error %ld)\n", (long)status);
    return 1;
  }
  printf("held\n");
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && wcscmp(argv[1], L"--key") == 0) return SetKeySecurity(argv[2], argv[3]);
  if (argc == 4 && wcscmp(argv[1], L"--mutex") == 0) {
    HANDLE mutex = CreateMutexW(NULL, TRUE, argv[2]);
    if (mutex == NULL) {
      fprintf(stderr, "hold: cannot make the mutex (error %lu)\n", (unsigned long)GetLastError());
      return 1;
    }
    printf("held\n");
    fflush(stdout);
    Sleep((DWORD)_wtoi(argv[3]) * 1000);
    CloseHandle(mutex);
    return 0;
  }
  if (argc != 3) {
    fprintf(stderr, "usage: hold.exe <file> <seconds>\n");
    return 2;
  }
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "hold: cannot open the file (error %lu)\n", (unsigned long)GetLastError());
    return 1;
  }
  printf("held\n");
  fflush(stdout);
  Sleep((DWORD)_wtoi(argv[2]) * 1000);
  CloseHandle(file);
  return 0;
}
