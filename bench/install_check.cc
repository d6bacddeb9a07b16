// Times the check that vantrel.exe makes after the INF installer, on an INF
// that was just installed from its unpacked package (its sources beside it):
// the restart renames read before and after, the section's files, services
// and registry values. Prints the first (cold) run, the median of the rest
// and what the check found.
//
//   install_check.exe <INF path> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "inf/inf_engine-win32.h"
#include "inf/install_plan.h"
#include "inf/install_shortfall.h"
#include "inf/installed_state-win32.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: install_check.exe <INF path> [runs]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(2, _wtoi(argv[2])) : 11;
  try {
    vantrel::Win32InfEngine engine;
    vantrel::Win32InstalledState installed;
    const std::wstring section =
        vantrel::PlanInstall(*engine.OpenInf(argv[1]), engine.InstallerArchitecture()).section;
    std::vector<double> times;
    vantrel::InstallShortfall shortfall;
    for (int i = 0; i < runs; ++i) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      const auto before = installed.PendingRestartRenames();
      const auto queued = vantrel::QueuedSince(before, installed.PendingRestartRenames());
      shortfall = vantrel::FindInstallShortfall(engine, installed, argv[1], section, queued);
      QueryPerformanceCounter(&end);
      times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin() + 1, times.end());
    std::printf("%.1f %.1f %u %u\n", times[0], times[1 + (times.size() - 1) / 2],
                static_cast<unsigned>(shortfall.missing.size()),
                static_cast<unsigned>(shortfall.waiting.size()));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "install_check: %s\n", failure.what());
    return 1;
  }
  return 0;
}
