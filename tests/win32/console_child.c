/* A child for the platform tests, standing in for what the program starts.
 *
 *   console_child.exe output <bytes>  reads its input to the end, says how
 *       much it got, prints about <bytes> of numbered lines, one error line
 *       on its error stream, a last line, and ends with 2 (like 7-Zip on a
 *       damaged archive)
 *   console_child.exe box             asks in a message box (OK, Cancel) and
 *       ends with the answer
 *   console_child.exe sleep           says so and sleeps for a day
 *   console_child.exe flash           shows a "Please wait" note for 1.5 s,
 *       again and again, and never ends (an installer that keeps flashing
 *       a note while it hangs)
 *   console_child.exe handle <value>  says whether <value> is, in this
 *       process, the file mapping its starter holds (its first bytes read
 *       "the starting tool's handle"), and whether it has a console */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* A note of the dialog class that closes itself after 1.5 s. It stays
 * hidden (the runner looks at dialogs whether shown or not): Wine's X11
 * driver takes 2 s to hide a shown window where no window manager runs,
 * as under Xvfb, and that would make the note a question. */
static INT_PTR CALLBACK Note(HWND note, UINT message, WPARAM w, LPARAM l) {
  (void)w;
  (void)l;
  if (message == WM_INITDIALOG) {
    SetWindowTextW(note, L"Please wait");
    SetTimer(note, 1, 1500, NULL);
    return TRUE;
  }
  if (message == WM_TIMER) {
    DestroyWindow(note);
    return TRUE;
  }
  return FALSE;
}

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "flash") == 0) {
    /* A template of its own, no controls: DWORD-aligned, as the system wants. */
    static DWORD storage[16];
    DLGTEMPLATE* template = (DLGTEMPLATE*)storage;
    template->style = WS_POPUP | WS_BORDER;
    template->cx = 120;
    template->cy = 30;
    for (;;) {
      HWND note = CreateDialogIndirectParamW(NULL, template, NULL, Note, 0);
      MSG message;
      while (IsWindow(note) && GetMessageW(&message, NULL, 0, 0) > 0) DispatchMessageW(&message);
      Sleep(100);
    }
  }
  if (argc == 2 && strcmp(argv[1], "box") == 0) {
    return MessageBoxW(NULL, L"Continue with the\ntest?", L"Test question",
                       MB_OKCANCEL | MB_ICONQUESTION);
  }
  if (argc == 2 && strcmp(argv[1], "sleep") == 0) {
    printf("sleep: sleeping for a day\n");
    fflush(stdout);
    Sleep(24 * 60 * 60 * 1000);
    return 0;
  }
  if (argc == 3 && strcmp(argv[1], "handle") == 0) {
    HANDLE mapping = (HANDLE)(UINT_PTR)_strtoui64(argv[2], NULL, 10);
    const char* view = (const char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 32);
    const int inherited = view != NULL && strcmp(view, "the starting tool's handle") == 0;
    if (view != NULL) UnmapViewOfFile(view);
    printf("handle: %s\n", inherited ? "inherited" : "not inherited");
    printf("console: %s\n", GetConsoleCP() != 0 ? "attached" : "none");
    return 0;
  }
  if (argc != 3 || strcmp(argv[1], "output") != 0) return 125;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[256];
  DWORD got = 0, total = 0;
  while (ReadFile(input, buffer, sizeof buffer, &got, NULL) && got > 0) total += got;
  printf("input: %lu bytes, then end of file\n", (unsigned long)total);
  long wanted = atol(argv[2]);
  long written = 0;
  for (long line = 1; written < wanted; ++line) {
    written += printf("line %07ld of the test child's output, long enough to fill a pipe\n", line);
  }
  fflush(stdout);
  fprintf(stderr, "ERROR: the test child's error line\n");
  fflush(stderr);
  printf("the last line\n");
  return 2;
}
