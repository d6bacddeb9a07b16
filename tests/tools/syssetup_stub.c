/* Stand-in for Windows' syssetup.dll, which Wine does not have. The program
 * installs an INF with "rundll32 syssetup,SetupInfObjectInstallAction ...";
 * setupapi's InstallHinfSection takes the very same arguments and does the
 * real work (AddReg, CopyFiles), so forwarding keeps the test honest about
 * what lands on the machine.
 *
 * Wine's rundll32 ends with 0 whatever its entry did, so an installer that
 * fails cannot be had for free. An INF can ask for one: after installing, the
 * stand-in ends the process with [Vantrel.Test] ExitCode when that is set. */
#include <windows.h>
#include <setupapi.h>
#include <string.h>

/* The command line is "<section> <flags> <INF path>". */
static const char* inf_path(const char* command_line) {
  const char* first = strchr(command_line, ' ');
  const char* second = first ? strchr(first + 1, ' ') : NULL;
  return second ? second + 1 : NULL;
}

__declspec(dllexport) void CALLBACK SetupInfObjectInstallAction(HWND window, HINSTANCE instance,
                                                                LPSTR command_line, int show) {
  char path[MAX_PATH];
  const char* inf = inf_path(command_line);
  path[0] = 0;
  if (inf) lstrcpynA(path, inf, sizeof path);
  InstallHinfSectionA(window, instance, command_line, show);
  if (path[0]) {
    UINT code = GetPrivateProfileIntA("Vantrel.Test", "ExitCode", 0, path);
    if (code != 0) ExitProcess(code);
  }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
