/* Planted by the end-to-end tests where a careless installer would find it
 * (the current folder, beside the installer) under the name of a program the
 * installer starts. It only leaves a mark, "<its own path>.ran", and ends
 * with 0, as a malicious one would to look like success. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  wchar_t mark[MAX_PATH + 8];
  (void)instance;
  (void)previous;
  (void)command_line;
  (void)show;
  DWORD n = GetModuleFileNameW(NULL, mark, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 0;
  lstrcatW(mark, L".ran");
  CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  return 0;
}
