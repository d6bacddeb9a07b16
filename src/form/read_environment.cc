#include "form/vantrel.h"
#include "base/text.h"
#include "run/child_commands.h"

namespace vantrel {

namespace {
constexpr int kMaxEntries = 999;

std::wstring DropLast(std::wstring text, wchar_t c) {
  if (!text.empty() && text.back() == c) text.pop_back();
  return text;
}

std::wstring DropFirst(std::wstring text, wchar_t c) {
  if (!text.empty() && text.front() == c) text.erase(0, 1);
  return text;
}

// "C:\Documents and Settings\All Users" gives "C:\Documents and
// Settings\Default User".
std::wstring DefaultUserBeside(const std::wstring& allUsersProfile) {
  const std::size_t slash = allUsersProfile.rfind(L'\\');
  const std::wstring folder =
      slash == std::wstring::npos ? std::wstring() : allUsersProfile.substr(0, slash + 1);
  return folder + L"Default User";
}
}  // namespace

void Vantrel::ReadEnvironment() {
  // The whole environment is read (up to the cap), not just up to the
  // systemdrive entry: Windows keeps its entries sorted by name, so stopping
  // there would never see systemroot or userprofile.
  for (int i = 1; i <= kMaxEntries; ++i) {
    std::wstring entry;
    bool pastLast = false;
    Resume([&] {
      entry = platform_.EnvironmentEntry(i);
      pastLast = entry.empty();
    });
    if (pastLast) break;
    Resume([&] { ApplyEnvironmentEntry(entry); });
  }

  Resume([&] {
    if (UserProfile.empty()) UserProfile = HomeDrive + L"\\" + HomePath;
  });
  Resume([&] {
    if (SystemRoot.empty()) SystemRoot = SystemDrive + L"\\Windows";
  });
  // Without a drive the work folder and the INF copy would land on whatever
  // drive is current; the system knows where Windows is.
  Resume([&] {
    if (!IsAbsolutePath(SystemRoot)) SystemRoot = platform_.WindowsFolder();
  });
  Resume([&] { AppPath = platform_.ProgramFolder(); });
  Resume([&] { Temp = WorkFolder(SystemRoot); });
}

void Vantrel::ApplyEnvironmentEntry(const std::wstring& entry) {
  EnvironmentEntryParts parts;
  if (!SplitEnvironmentEntry(entry, parts)) return;
  if (parts.name == L"allusersprofile") {
    AllUsersProfile = parts.value;
    DefaultUserProfile = DefaultUserBeside(AllUsersProfile);
  } else if (parts.name == L"userprofile") {
    UserProfile = parts.value;
  } else if (parts.name == L"homedrive") {
    // A value that ended in two separators loses both.
    HomeDrive = DropLast(parts.value, L'\\');
  } else if (parts.name == L"homepath") {
    HomePath = DropLast(DropFirst(parts.value, L'\\'), L'\\');
  } else if (parts.name == L"systemdrive") {
    SystemDrive = parts.value;
  } else if (parts.name == L"systemroot") {
    SystemRoot = parts.value;
  } else if (parts.name == L"programfiles") {
    ProgramFiles = parts.value;
  }
}

}  // namespace vantrel
