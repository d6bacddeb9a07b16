/* Keeps a file open without sharing it for writing or deleting, as another
 * process on the machine might, so that nobody can delete or overwrite it.
 *
 *   hold.exe <file> <seconds>
 *
 * Prints "held" once the file is open, then waits the seconds and ends. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int wmain(int argc, wchar_t** argv) {
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
