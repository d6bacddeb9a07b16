// Prints the process trees of one install and one removal as
// docs/security.md shows them, with every child's program and command line
// taken from the builders the programs use. Example: the bundle in
// C:\Program Files\Vantrel (8.3 form C:\PROGRA~1\Vantrel) holding
// mypackage.7z, Windows in C:\Windows.
#include <iostream>
#include <string>

#include "base/text.h"
#include "run/child_commands.h"

namespace {

void Child(int step, const std::wstring& program, const std::wstring& commandLine) {
  std::cout << "  " << step << ". " << vantrel::ToUtf8(program) << "\n     "
            << vantrel::ToUtf8(commandLine) << "\n";
}

}  // namespace

int main() {
  using namespace vantrel;
  const std::wstring app = L"C:\\PROGRA~1\\Vantrel";
  const std::wstring work = WorkFolder(L"C:\\Windows");
  const std::wstring system = L"C:\\Windows\\System32";
  std::cout << "C:\\Program Files\\Vantrel\\vantrel.exe\n";
  Child(1, SevenZipProgram(app), UnpackPackageCommand(app, app + L"\\MYPACK~1.7Z", work));
  Child(2, SevenZipProgram(app), ExpandCabinetsCommand(app, work));
  Child(3, SevenZipProgram(app), ExpandCompressedInfsCommand(app, work));
  Child(4, InfInstallerProgram(system), InstallInfCommand(work, L"mypackage.inf"));
  std::cout << "--\nC:\\Program Files\\Vantrel\\vantrel-remove.exe\n";
  Child(1, InfInstallerProgram(system), UninstallInfCommand(L"C:\\Windows\\inf\\MYPACK~1.INF"));
  return 0;
}
