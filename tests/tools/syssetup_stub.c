/* Stand-in for Windows' syssetup.dll, which Wine does not have. The program
 * installs an INF with "rundll32 syssetup,SetupInfObjectInstallAction ...";
 * setupapi's InstallHinfSection takes the very same arguments and does the
 * real work (AddReg, CopyFiles), so forwarding keeps the test honest about
 * what lands on the machine.
 *
 * An INF can ask it for what the real INF installer does on Windows but
 * Wine's does not, in its section [Vantrel.Test]:
 *   Ask=Disk      first asks for the disk through setupapi's own prompt
 *                 (SetupPromptForDiskW); installs nothing when cancelled
 *   Ask=Box       first shows a message box (OK, Cancel); installs nothing
 *                 when cancelled
 *   Ask=Progress  first shows a file-copy style dialog with a progress bar
 *                 for ProgressSeconds (default 5), then installs
 *   DelaySeconds  waits that long before installing (an installer busy
 *                 for a while)
 *   ExitCode      ends the process with that code after installing (Wine's
 *                 rundll32 ends with 0 whatever its entry did)
 *   Nothing=1     installs nothing at all, and rundll32 still ends with 0
 *   InUse=<file>  for that file of the package's i386 folder, copied to the
 *                 system folder: where the copy there is in use, does what
 *                 Windows' engine does and Wine's does not, the new file
 *                 beside it under a temporary name and a rename at the next
 *                 restart (MoveFileEx, MOVEFILE_DELAY_UNTIL_REBOOT)
 *
 * An uninstall can ask too: an INF whose DefaultUninstall unregisters this
 * DLL (UnregisterDlls, flag 1) makes setupapi call its DllUnregisterServer,
 * which asks in a message box before it lets go, as some components do.
 * With VANTREL_TEST_DELETE_AT_RESTART=<file> in the environment it asks
 * nothing and leaves that file, as if in use, for a deletion at the next
 * restart (MoveFileEx, MOVEFILE_DELAY_UNTIL_REBOOT), as Windows' engine
 * does with a file it cannot delete. */
#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>
#include <string.h>

/* The command line is "<section> <flags> <INF path>". */
static const char* inf_path(const char* command_line) {
  const char* first = strchr(command_line, ' ');
  const char* second = first ? strchr(first + 1, ' ') : NULL;
  return second ? second + 1 : NULL;
}

static int ask_for_disk(HWND window) {
  WCHAR found[MAX_PATH];
  DWORD needed = 0;
  UINT answer = SetupPromptForDiskW(window, L"Files Needed", L"Vantrel test disk",
                                    L"A:\\vantrel-test-disk", L"vt_missing.sys", NULL,
                                    IDF_NOBROWSE, found, MAX_PATH, &needed);
  return answer == DPROMPT_SUCCESS;
}

static int ask_in_a_box(HWND window) {
  return MessageBoxW(window, L"Replace the driver that is already installed?",
                     L"Vantrel test question", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

/* A dialog-class window with a progress bar, as a file-copy dialog is. */
static void show_progress(UINT seconds) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  HWND dialog = CreateWindowExW(0, L"#32770", L"Copying Files...",
                                WS_POPUP | WS_CAPTION, 10, 10, 300, 120, NULL, NULL,
                                GetModuleHandleW(NULL), NULL);
  if (dialog) {
    CreateWindowExW(0, L"Static", L"Copying the driver files", WS_CHILD | WS_VISIBLE, 10, 10,
                    280, 20, dialog, (HMENU)0x100, NULL, NULL);
    CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 40, 280, 20, dialog,
                    (HMENU)0x101, NULL, NULL);
  }
  DWORD end = GetTickCount() + seconds * 1000;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(50);
  }
  if (dialog) DestroyWindow(dialog);
}

static void replace_at_restart(const char* inf, const char* name) {
  char source[MAX_PATH], target[MAX_PATH], folder[MAX_PATH], temporary[MAX_PATH];
  char* slash;
  lstrcpynA(source, inf, MAX_PATH);
  slash = strrchr(source, '\\');
  if (!slash) return;
  slash[1] = 0;
  lstrcatA(source, "i386\\");
  lstrcatA(source, name);
  GetSystemDirectoryA(folder, MAX_PATH);
  wsprintfA(target, "%s\\%s", folder, name);
  if (CopyFileA(source, target, FALSE) || GetLastError() != ERROR_SHARING_VIOLATION) return;
  if (!GetTempFileNameA(folder, "vt", 0, temporary)) return;
  if (CopyFileA(source, temporary, FALSE)) {
    MoveFileExA(temporary, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
  }
}

__declspec(dllexport) void CALLBACK SetupInfObjectInstallAction(HWND window, HINSTANCE instance,
                                                                LPSTR command_line, int show) {
  char path[MAX_PATH];
  char ask[32];
  char in_use[MAX_PATH];
  const char* inf = inf_path(command_line);
  path[0] = 0;
  ask[0] = 0;
  in_use[0] = 0;
  if (inf) lstrcpynA(path, inf, sizeof path);
  if (path[0]) {
    GetPrivateProfileStringA("Vantrel.Test", "Ask", "", ask, sizeof ask, path);
    GetPrivateProfileStringA("Vantrel.Test", "InUse", "", in_use, sizeof in_use, path);
    if (GetPrivateProfileIntA("Vantrel.Test", "Nothing", 0, path)) return;
    Sleep(GetPrivateProfileIntA("Vantrel.Test", "DelaySeconds", 0, path) * 1000);
  }
  if (lstrcmpiA(ask, "Disk") == 0 && !ask_for_disk(window)) return;
  if (lstrcmpiA(ask, "Box") == 0 && !ask_in_a_box(window)) return;
  if (lstrcmpiA(ask, "Progress") == 0) {
    show_progress(GetPrivateProfileIntA("Vantrel.Test", "ProgressSeconds", 5, path));
  }
  InstallHinfSectionA(window, instance, command_line, show);
  if (in_use[0]) replace_at_restart(path, in_use);
  if (path[0]) {
    UINT code = GetPrivateProfileIntA("Vantrel.Test", "ExitCode", 0, path);
    if (code != 0) ExitProcess(code);
  }
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer(void) {
  char in_use[MAX_PATH];
  if (GetEnvironmentVariableA("VANTREL_TEST_DELETE_AT_RESTART", in_use, sizeof in_use)) {
    return MoveFileExA(in_use, NULL, MOVEFILE_DELAY_UNTIL_REBOOT) ? S_OK : E_FAIL;
  }
  return MessageBoxW(NULL, L"Remove the Vantrel test component?", L"Vantrel test removal",
                     MB_OKCANCEL | MB_ICONQUESTION) == IDOK
             ? S_OK
             : E_ABORT;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
