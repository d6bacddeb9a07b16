/* Starts a program with an exact command line. Wine re-quotes the arguments
 * it is given from a Unix shell, so a command line with its own quoting (or
 * none) cannot be passed through it; this reads it from a UTF-8 file instead.
 *
 *   launch.exe [--peak-memory] <file holding the command line>
 *
 * Exits with the child's exit code. With --peak-memory it also prints the
 * child's peak working set in bytes. Wine reports zeros for a process that has
 * ended, so the figure is sampled while the child is alive. */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

static int fail(const char* what) {
  fprintf(stderr, "launch: %s (error %lu)\n", what, (unsigned long)GetLastError());
  return 125;
}

static wchar_t* read_command_line(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return NULL;
  DWORD size = GetFileSize(file, NULL);
  char* bytes = malloc(size + 1);
  DWORD got = 0;
  if (!bytes || !ReadFile(file, bytes, size, &got, NULL)) {
    CloseHandle(file);
    free(bytes);
    return NULL;
  }
  CloseHandle(file);
  bytes[got] = 0;
  /* Editors and shells add a trailing newline that is no part of the line. */
  while (got > 0 && (bytes[got - 1] == '\n' || bytes[got - 1] == '\r')) bytes[--got] = 0;
  const char* text = bytes;
  if (got >= 3 && (unsigned char)text[0] == 0xEF && (unsigned char)text[1] == 0xBB &&
      (unsigned char)text[2] == 0xBF)
    text += 3;
  int wide_len = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
  wchar_t* wide = malloc(sizeof(wchar_t) * (wide_len > 0 ? wide_len : 1));
  if (!wide || MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, wide_len) <= 0) {
    free(bytes);
    free(wide);
    return NULL;
  }
  free(bytes);
  return wide;
}

int wmain(int argc, wchar_t** argv) {
  int peak_memory = 0;
  int arg = 1;
  if (arg < argc && wcscmp(argv[arg], L"--peak-memory") == 0) {
    peak_memory = 1;
    ++arg;
  }
  if (arg + 1 != argc) {
    fprintf(stderr, "usage: launch.exe [--peak-memory] <file with UTF-8 command line>\n");
    return 125;
  }
  wchar_t* command_line = read_command_line(argv[arg]);
  if (!command_line) return fail("cannot read the command-line file");

  STARTUPINFOW startup;
  PROCESS_INFORMATION process;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  if (!CreateProcessW(NULL, command_line, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                      &process))
    return fail("cannot start the program");
  CloseHandle(process.hThread);

  SIZE_T peak = 0;
  if (peak_memory) {
    while (WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) {
      PROCESS_MEMORY_COUNTERS counters;
      memset(&counters, 0, sizeof counters);
      counters.cb = sizeof counters;
      if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
        if (counters.PeakWorkingSetSize > peak) peak = counters.PeakWorkingSetSize;
        if (counters.WorkingSetSize > peak) peak = counters.WorkingSetSize;
      }
    }
  } else {
    WaitForSingleObject(process.hProcess, INFINITE);
  }

  DWORD code = 0;
  if (!GetExitCodeProcess(process.hProcess, &code)) code = 125;
  CloseHandle(process.hProcess);
  if (peak_memory) {
    printf("%llu\n", (unsigned long long)peak);
    fflush(stdout);
  }
  free(command_line);
  return (int)code;
}
