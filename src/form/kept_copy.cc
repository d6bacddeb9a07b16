// The INF copy in %SystemRoot%\inf and its receipt change together: the
// receipt is what the detection rules read, the copy is what a removal runs
// the uninstall from, and the two must never tell different stories.
//
// The copy is written before the receipt (the receipt holds the copy's
// SHA-256). A run ended between the two leaves the new copy beside the
// receipt of what was there before, or beside none: the rules then find the
// package missing, the tool installs it again, and that run writes both. A
// receipt never names a copy that is not there.
#include "form/vantrel.h"
#include "helpers/module1.h"

namespace vantrel {

namespace {

// Inside the work folder, which only the administrators can reach: a copy
// set aside anywhere else could be swapped before it is put back.
constexpr wchar_t kSetAsideFolder[] = L"\\~previous INF copy";

}  // namespace

void Vantrel::KeepInfCopy(const std::wstring& infName, const std::wstring& infPath) {
  const std::wstring destination = SystemRoot + L"\\inf";
  const std::wstring kept = destination + L"\\" + infName;
  const std::wstring aside = Temp + kSetAsideFolder;

  // The copy this run replaces, byte for byte, so that a receipt that
  // cannot be written leaves both as they were.
  bool hadCopy = false, setAside = false;
  ShellOutcome shell;
  const StatementResult settingAside = Resume([&] {
    hadCopy = FileExists(platform_, kept);
    if (!hadCopy) return;
    // The shell copies one file to a folder that does not exist under that
    // folder's name; made first, and by this run only, it is a folder.
    platform_.CreatePrivateFolder(aside);
    setAside = CopyFiles(platform_, kept, aside, &shell);
  });
  if (settingAside || (hadCopy && !setAside)) {
    run_.NoteFailure(kExitInfCopyFailed,
                     StepFailure{L"setting the INF copy it replaces aside",
                                 L"Copy: " + kept + L" -> " + aside,
                                 ResultOf(settingAside, DescribeShellOutcome(shell)) +
                                     L"; the INF copy and its receipt are as they were"});
    return;
  }
  const std::wstring previous = hadCopy ? aside + L"\\" + infName : std::wstring();

  bool copied = false;
  const StatementResult copying =
      Resume([&] { copied = CopyFiles(platform_, infPath, destination, &shell); });
  if (!copied) {
    run_.NoteFailure(kExitInfCopyFailed,
                     StepFailure{L"copying the INF into the system's INF folder",
                                 L"Copy: " + infPath + L" -> " + destination,
                                 ResultOf(copying, DescribeShellOutcome(shell))});
    // A copy that failed half-way may have left part of the file.
    PutBackInfCopy(kept, previous);
    return;
  }
  if (!KeepReceipt(infName, infPath, kept)) PutBackInfCopy(kept, previous);
}

void Vantrel::PutBackInfCopy(const std::wstring& kept, const std::wstring& previous) {
  ShellOutcome shell;
  bool back = false;
  const StatementResult puttingBack = Resume([&] {
    if (previous.empty()) {
      DeleteFolder(platform_, kept, &shell);
      back = !FileExists(platform_, kept);
    } else {
      back = CopyFiles(platform_, previous, kept.substr(0, kept.rfind(L'\\')), &shell);
    }
  });
  if (back) {
    run_.NoteLine(L"INF copy: " + kept +
                  (previous.empty() ? L" taken away; there was none before the run"
                                    : L" put back as it was before the run"));
    return;
  }
  // The receipt still says what it said before; the copy is the next
  // install's or removal's to mend.
  run_.NoteLine(L"INF copy: " + kept + L" could not be " +
                (previous.empty() ? L"taken away" : L"put back") + L" (" +
                ResultOf(puttingBack, DescribeShellOutcome(shell)) + L")");
}

}  // namespace vantrel
