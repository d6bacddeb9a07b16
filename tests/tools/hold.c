/* Keeps a file open without sharing it for writing or deleting, as another
 * process on the machine might, so that nobody can delete or overwrite it;
 * or, with --mutex, makes a named mutex with the default security and owns
 * it, as any local process may.
 *
 *   hold.exe <file> <seconds>
 *   hold.exe --mutex <name> <seconds>
 *
 * Prints "held" once the file is open or the mutex owned, then waits the
 * seconds and ends. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

int wmain(int argc, wchar_t** argv) {
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
