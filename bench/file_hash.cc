// Times the SHA-256 that a receipt takes of the package, on a file of the
// size given: what hashing adds to an install per MiB of package. Prints the
// first (cold) run and the median of the rest, in milliseconds.
//
//   file_hash.exe <file> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/file_sha256-win32.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: file_hash.exe <file> [runs]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(2, _wtoi(argv[2])) : 5;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  try {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      vantrel::Win32FileHasher().FileSha256(argv[1]);
      QueryPerformanceCounter(&end);
      times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin() + 1, times.end());
    std::printf("%.1f %.1f\n", times[0], times[1 + (times.size() - 1) / 2]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "file_hash: %s\n", failure.what());
    return 1;
  }
  return 0;
}
