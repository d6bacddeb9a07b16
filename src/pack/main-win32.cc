// vantrel-pack's entry: a console program.
#include <string>
#include <vector>

#include "pack/pack_machine-win32.h"
#include "pack/pack_program.h"

int wmain(int argc, wchar_t** argv) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  vantrel::Win32PackMachine machine;
  return vantrel::RunPackProgram(machine.Get(), std::vector<std::wstring>(argv + 1, argv + argc));
}
