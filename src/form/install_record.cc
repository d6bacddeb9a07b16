#include "form/install_record.h"

namespace vantrel {

RunEvent InstallRecord(const std::wstring& packageNamed, const std::vector<Question>& questions,
                       bool installedUnderWow64, const std::vector<std::wstring>& waitingForRestart) {
  RunEvent event;
  event.subject = L"Package: " + (packageNamed.empty() ? std::wstring(L"(none named)") : packageNamed);
  event.questions = questions;
  if (installedUnderWow64) {
    event.notes.push_back(
        L"WoW64: the 32-bit INF installer ran this INF on 64-bit Windows, so its registry values "
        L"under HKLM\\Software went to HKLM\\Software\\Wow6432Node and its system files to "
        L"SysWOW64; the 64-bit bundle installs into the 64-bit registry and System32.");
  }
  if (!waitingForRestart.empty()) {
    event.notes.push_back(L"Waiting for the restart: " + RecordList(waitingForRestart) +
                          L" (in use during the install; the system puts them in place as it "
                          L"starts again)");
  }
  return event;
}

}  // namespace vantrel
