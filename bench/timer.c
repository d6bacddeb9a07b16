/* Runs command lines one after another, each read verbatim from a line of a
 * UTF-8 file, and prints per command: wall milliseconds, exit code and the
 * peak working set in bytes. The working set is read while the process is
 * alive (Wine reports zeros for a process that has ended), so the figure is
 * the highest peak seen by polling every few milliseconds.
 *
 * A line "delete <folder>" is not started as a process: the folder is deleted
 * here, with the shell call and flags vantrel.exe deletes its work folder
 * with, so that a run of commands by hand pays the same clean-up. Its line
 * gives the milliseconds, the shell's result and 0.
 *
 *   timer.exe <commands file> <results file>
 */
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static char *ReadAll(const wchar_t *path, long *size) {
  FILE *file = _wfopen(path, L"rb");
  if (file == NULL) return NULL;
  fseek(file, 0, SEEK_END);
  *size = ftell(file);
  fseek(file, 0, SEEK_SET);
  char *data = malloc((size_t)*size + 1);
  if (data == NULL || fread(data, 1, (size_t)*size, file) != (size_t)*size) {
    fclose(file);
    free(data);
    return NULL;
  }
  data[*size] = '\0';
  fclose(file);
  return data;
}

static double Milliseconds(LARGE_INTEGER begin) {
  LARGE_INTEGER frequency, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&end);
  return (double)(end.QuadPart - begin.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* The shell reads its list of paths up to a double NUL. */
static int DeleteFolder(const wchar_t *folder, FILE *results) {
  size_t length = wcslen(folder);
  wchar_t *list = calloc(length + 2, sizeof(wchar_t));
  if (list == NULL) return 1;
  memcpy(list, folder, length * sizeof(wchar_t));
  SHFILEOPSTRUCTW operation;
  memset(&operation, 0, sizeof operation);
  operation.wFunc = FO_DELETE;
  operation.pFrom = list;
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
  LARGE_INTEGER begin;
  QueryPerformanceCounter(&begin);
  int result = SHFileOperationW(&operation);
  fprintf(results, "%.1f %d 0\n", Milliseconds(begin), result);
  fflush(results);
  free(list);
  return result == 0 ? 0 : 1;
}

static int RunOne(const char *utf8, FILE *results) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
  wchar_t *line = malloc(sizeof(wchar_t) * (size_t)length);
  if (line == NULL) return 1;
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, line, length);
  if (wcsncmp(line, L"delete ", 7) == 0) {
    int failed = DeleteFolder(line + 7, results);
    free(line);
    return failed;
  }

  STARTUPINFOW startup;
  PROCESS_INFORMATION info;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  LARGE_INTEGER begin;
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
    fprintf(stderr, "timer: cannot start: %s (error %lu)\n", utf8, GetLastError());
    free(line);
    return 1;
  }
  SIZE_T peak = 0;
  for (;;) {
    PROCESS_MEMORY_COUNTERS counters;
    memset(&counters, 0, sizeof counters);
    if (GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters) &&
        counters.PeakWorkingSetSize > peak) {
      peak = counters.PeakWorkingSetSize;
    }
    if (WaitForSingleObject(info.hProcess, 5) != WAIT_TIMEOUT) break;
  }
  double elapsed = Milliseconds(begin);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  fprintf(results, "%.1f %lu %lu\n", elapsed, (unsigned long)code, (unsigned long)peak);
  fflush(results);
  free(line);
  return 0;
}

int wmain(int argc, wchar_t **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: timer.exe <commands file> <results file>\n");
    return 2;
  }
  FILE *results = _wfopen(argv[2], L"ab");
  if (results == NULL) {
    fprintf(stderr, "timer: cannot open the results file\n");
    return 2;
  }
  long size = 0;
  char *data = ReadAll(argv[1], &size);
  if (data == NULL) {
    fprintf(stderr, "timer: cannot read the commands file\n");
    return 2;
  }
  int failures = 0;
  for (char *line = strtok(data, "\r\n"); line != NULL; line = strtok(NULL, "\r\n")) {
    if (*line != '\0') failures += RunOne(line, results);
  }
  free(data);
  fclose(results);
  return failures == 0 ? 0 : 1;
}
