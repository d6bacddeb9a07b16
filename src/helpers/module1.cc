#include "helpers/module1.h"

#include "base/growing_text.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kShortPathBuffer = 255;

// The shell reads its path lists up to a double NUL.
std::wstring SingleItemList(const std::wstring& path) { return path + L'\0' + L'\0'; }

// A shell operation counts as done only when the call itself reports success
// and nothing was aborted: the aborted flag alone is set only when a user
// cancels, so a copy that failed outright would otherwise pass as a success.
bool RunShellOperation(Platform& platform, ShellFileOperation& operation,
                       ShellOutcome* outcome) {
  const int result = platform.SHFileOperation(operation);
  if (outcome != nullptr) *outcome = ShellOutcome{true, result, operation.fAnyOperationsAborted};
  return result == 0 && !operation.fAnyOperationsAborted;
}

// One of the system's path calls that fill a buffer or say how much they
// need. The answer can outgrow the first buffer; the call then reports the
// size it needs. Another try or two is enough unless the path keeps
// changing under us, in which case the empty text is the honest answer.
using PathCall = std::uint32_t (Platform::*)(const std::wstring&, wchar_t*, std::uint32_t);
std::wstring AskPath(Platform& platform, PathCall call, const std::wstring& path) {
  std::wstring answer;
  const auto ask = [&](wchar_t* buffer, std::size_t size) -> std::size_t {
    const std::uint32_t n = (platform.*call)(path, buffer, static_cast<std::uint32_t>(size));
    return n == 0 ? kTextCallFailed : n;
  };
  return AskGrowingText(ask, kShortPathBuffer, 3, answer) ? answer : std::wstring();
}

}  // namespace

std::wstring ShortPath(Platform& platform, const std::wstring& path) {
  return AskPath(platform, &Platform::GetShortPathName, path);
}

std::wstring FullPath(Platform& platform, const std::wstring& path) {
  return AskPath(platform, &Platform::GetFullPathName, path);
}

std::wstring LongPath(Platform& platform, const std::wstring& path) {
  return AskPath(platform, &Platform::GetLongPathName, path);
}

std::wstring ShortFormOrPath(Platform& platform, const std::wstring& path) {
  const std::wstring shortForm = ShortPath(platform, path);
  return shortForm.empty() ? path : shortForm;
}

bool FileExists(Platform& platform, const std::wstring& path) {
  return platform.PathFileExists(path) == 1;
}

std::wstring DescribeShellOutcome(const ShellOutcome& outcome) {
  if (!outcome.called) return L"not attempted: no such file";
  std::wstring text = L"SHFileOperationW returned " + std::to_wstring(outcome.result);
  if (outcome.aborted) text += L", operation aborted";
  return text;
}

bool CopyFiles(Platform& platform, const std::wstring& source,
               const std::wstring& destination, ShellOutcome* outcome) {
  const std::size_t found = source.find(L'*');
  const std::size_t star = found == std::wstring::npos ? 0 : found + 1;
  // Both conditions are always evaluated, so the existence probe happens
  // even for a wildcard source.
  const bool isWildcardSet = star > 2;
  const bool exists = FileExists(platform, source);
  if (!(isWildcardSet || exists)) return false;

  // No error dialog either: nobody answers one in session 0, and the run
  // would hang on it.
  ShellFileOperation operation{kShellCopy, SingleItemList(source), SingleItemList(destination),
                               kShellNoConfirmation | kShellNoConfirmMkdir | kShellNoErrorUi};
  return RunShellOperation(platform, operation, outcome);
}

bool DeleteFolder(Platform& platform, const std::wstring& path, ShellOutcome* outcome) {
  if (!FileExists(platform, path)) return false;

  // The shell of older systems deletes what a junction leads to, and no
  // shell deletes a path past MAX_PATH (Wine's deletes in the current folder
  // instead); a package may bring both.
  const TreeSurvey survey = platform.SurveyTree(path);
  if (survey.link.path.empty() && survey.pathBeyondShell.empty()) {
    ShellFileOperation operation{
        kShellDelete, SingleItemList(path), std::wstring(),
        kShellSilent | kShellNoConfirmation | kShellNoConfirmMkdir | kShellNoErrorUi};
    const bool deleted = RunShellOperation(platform, operation, outcome);
    if (!FileExists(platform, path)) return deleted;
  }
  platform.DeleteTree(path);
  return true;
}

}  // namespace vantrel
