// The children's programs and command lines, taken from the builders the
// programs use, for the documents that show them.
//
// With no argument: the process trees of one install and one removal as
// docs/security.md shows them. Example: the bundle in C:\Program
// Files\Vantrel (8.3 form C:\PROGRA~1\Vantrel) holding mypackage.7z,
// Windows in C:\Windows.
//
// With six: one line per child, "<program>\t<command line>", the four of an
// install and the removal's, for a layout the caller describes by the paths
// the programs would pass (each in its short form where the volume has one):
//   command_lines <program folder> <package> <Windows folder>
//                 <system folder> <INF name> <kept INF>
#include <iostream>
#include <string>

#include "base/text.h"
#include "run/child_commands.h"

namespace {

void Child(int step, const std::wstring& program, const std::wstring& commandLine) {
  std::cout << "  " << step << ". " << vantrel::ToUtf8(program) << "\n     "
            << vantrel::ToUtf8(commandLine) << "\n";
}

void Line(const std::wstring& program, const std::wstring& commandLine) {
  std::cout << vantrel::ToUtf8(program) << "\t" << vantrel::ToUtf8(commandLine) << "\n";
}

std::wstring Wide(const char* text) { return vantrel::FromUtf8(text); }

}  // namespace

int main(int argc, char** argv) {
  using namespace vantrel;
  if (argc == 7) {
    const std::wstring app = Wide(argv[1]), package = Wide(argv[2]);
    const std::wstring work = WorkFolder(Wide(argv[3])), system = Wide(argv[4]);
    for (const UnpackStep& step : UnpackSteps(app, package, work)) {
      Line(SevenZipProgram(app), step.commandLine);
    }
    Line(InfInstallerProgram(system), InstallInfCommand(work, Wide(argv[5])));
    Line(InfInstallerProgram(system), UninstallInfCommand(Wide(argv[6])));
    return 0;
  }
  if (argc != 1) {
    std::cerr << "usage: command_lines [<program folder> <package> <Windows folder> <system folder> "
                 "<INF name> <kept INF>]\n";
    return 2;
  }
  const std::wstring app = L"C:\\PROGRA~1\\Vantrel";
  const std::wstring work = WorkFolder(L"C:\\Windows");
  const std::wstring system = L"C:\\Windows\\System32";
  std::cout << "C:\\Program Files\\Vantrel\\vantrel.exe\n";
  int step = 0;
  for (const UnpackStep& unpack : UnpackSteps(app, app + L"\\MYPACK~1.7Z", work)) {
    Child(++step, SevenZipProgram(app), unpack.commandLine);
  }
  Child(++step, InfInstallerProgram(system), InstallInfCommand(work, L"mypackage.inf"));
  std::cout << "--\nC:\\Program Files\\Vantrel\\vantrel-remove.exe\n";
  Child(1, InfInstallerProgram(system), UninstallInfCommand(L"C:\\Windows\\inf\\MYPACK~1.INF"));
  return 0;
}
