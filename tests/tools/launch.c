/* Starts a program with an exact command line. Wine re-quotes the arguments
 * it is given from a Unix shell, so a command line with its own quoting (or
 * none) cannot be passed through it; this reads it from a UTF-8 file instead.
 *
 *   launch.exe [--peak-memory] [--service-station] [--print-exit-code]
 *              <file holding the command line>
 *
 * Exits with the child's exit code. A Unix parent sees only its low 8 bits
 * (3010 comes out as 194): with --print-exit-code the last line printed is
 * "exit code <N>", whole. With --peak-memory it also prints the
 * child's peak working set in bytes. Wine reports zeros for a process that has
 * ended, so the figure is sampled while the child is alive.
 *
 * With --service-station the child starts on the desktop "Default" of a
 * window station "Service-0x0-3e7$", as a service or a deployment agent
 * running as SYSTEM starts it: a station nobody can see. */
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

/* Makes the station and its desktop (or opens them, when they exist). */
static int make_service_station(void) {
  HWINSTA own = GetProcessWindowStation();
  HWINSTA station = CreateWindowStationW(L"Service-0x0-3e7$", 0, WINSTA_ALL_ACCESS, NULL);
  if (!station || !SetProcessWindowStation(station)) return 0;
  HDESK desktop = CreateDesktopW(L"Default", NULL, NULL, 0, GENERIC_ALL, NULL);
  SetProcessWindowStation(own);
  return desktop != NULL;
}

int wmain(int argc, wchar_t** argv) {
  int peak_memory = 0;
  int print_exit_code = 0;
  wchar_t service_desktop[] = L"Service-0x0-3e7$\\Default";
  wchar_t* desktop = NULL;
  int arg = 1;
  for (; arg < argc && wcsncmp(argv[arg], L"--", 2) == 0; ++arg) {
    if (wcscmp(argv[arg], L"--peak-memory") == 0) {
      peak_memory = 1;
    } else if (wcscmp(argv[arg], L"--print-exit-code") == 0) {
      print_exit_code = 1;
    } else if (wcscmp(argv[arg], L"--service-station") == 0) {
      if (!make_service_station()) return fail("cannot make the service window station");
      desktop = service_desktop;
    } else {
      break;
    }
  }
  if (arg + 1 != argc) {
    fprintf(stderr,
            "usage: launch.exe [--peak-memory] [--service-station] [--print-exit-code] <file with "
            "UTF-8 command line>\n");
    return 125;
  }
  wchar_t* command_line = read_command_line(argv[arg]);
  if (!command_line) return fail("cannot read the command-line file");

  STARTUPINFOW startup;
  PROCESS_INFORMATION process;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop;
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
  if (print_exit_code) {
    printf("exit code %lu\n", (unsigned long)code);
    fflush(stdout);
  }
  free(command_line);
  return (int)code;
}
