// Prints what `vantrel-pack --show --json` prints for a package holding the
// INF named on the command line and the payload at the places given, run
// by the program's own logic on the memory machine of the unit tests, where
// 7-Zip's unpacking is taken as done: the JSON whose Intune app bodies
// graph_types.py checks against Graph's schema.
//   graph_app <INF file> [<payload place, e.g. i386\file.txt> ...]
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/text.h"
#include "memory_pack_machine.h"
#include "pack/pack_program.h"

int main(int argc, char** argv) {
  using namespace vantrel;
  if (argc < 2) {
    std::cerr << "usage: graph_app <INF file> [<payload place> ...]\n";
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::stringstream inf;
  inf << file.rdbuf();
  if (!file) {
    std::cerr << "graph_app: cannot read " << argv[1] << "\n";
    return 2;
  }
  std::string name = argv[1];
  name = name.substr(name.find_last_of('/') + 1);

  MemoryPackMachine machine;
  const std::wstring stage = machine.stageFolder, package = L"C:\\Out\\package.7z";
  const std::wstring infName = FromUtf8(name);
  machine.existingPaths = {L"C:\\Program Files\\Vantrel\\7z.exe", package};
  for (int i = 2; i < argc; ++i) machine.existingPaths.insert(stage + L"\\" + FromUtf8(argv[i]));
  machine.trees[stage] = {{infName}};
  machine.infTexts[stage + L"\\" + infName] = FromUtf8(inf.str());
  machine.childFor = [](const std::wstring&) { return ChildScript(true, 0, 0); };
  const int exit = RunPackProgram(machine, {L"--show", L"--json", package});
  for (const std::wstring& line : machine.errors) std::cerr << ToUtf8(line) << "\n";
  if (exit != 0 || machine.out.size() != 1) return 1;
  std::cout << ToUtf8(machine.out[0]) << "\n";
  return 0;
}
