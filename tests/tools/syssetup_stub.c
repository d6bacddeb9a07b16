/* Stand-in for Windows' syssetup.dll, which Wine does not have. The program
 * installs an INF with "rundll32 syssetup,SetupInfObjectInstallAction ...";
 * setupapi's InstallHinfSection takes the very same arguments and does the
 * real work (AddReg, CopyFiles), so forwarding keeps the test honest about
 * what lands on the machine. */
#include <windows.h>
#include <setupapi.h>

__declspec(dllexport) void CALLBACK SetupInfObjectInstallAction(HWND window, HINSTANCE instance,
                                                                LPSTR command_line, int show) {
  InstallHinfSectionA(window, instance, command_line, show);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
