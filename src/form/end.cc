// What the event of an install says beyond its outcome: the package as the
// argument named it, the questions the children asked, where WoW64 put
// things, which files wait for the restart and what the receipt says.
#include "form/vantrel.h"

namespace vantrel {

void Vantrel::End() {
  if (installedUnderWow64_) {
    run_.NoteLine(
        L"WoW64: the 32-bit INF installer ran this INF on 64-bit Windows, so its registry values "
        L"under HKLM\\Software went to HKLM\\Software\\Wow6432Node and its system files to "
        L"SysWOW64; the 64-bit bundle installs into the 64-bit registry and System32.");
  }
  // Installed, but only a restart may put everything in place.
  run_.End(L"Package: " + (packageNamed_.empty() ? L"(none named)" : packageNamed_));
}

}  // namespace vantrel
