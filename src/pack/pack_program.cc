#include "pack/pack_program.h"

#include "pack/package_builder.h"
#include "pack/refusal.h"
#include "pack/show.h"

namespace vantrel {

int RunPackProgram(PackMachine machine, const std::vector<std::wstring>& arguments) {
  const PackRequest request = ParseArguments(arguments);
  switch (request.action) {
    case PackRequest::Action::kHelp:
      machine.console.PrintOut(HelpText());
      return ExitNumber(PackExit::kMade);
    case PackRequest::Action::kUsageError:
      return Refuse(machine.console, PackExit::kUsage,
                    request.problem + L"\nusage: vantrel-pack <folder> <package.7z>\n"
                                      L"       vantrel-pack --show [--json] <folder or package>\n"
                                      L"(--help tells more)");
    case PackRequest::Action::kShow:
      return ShowPackage(machine, request);
    case PackRequest::Action::kPack:
      break;
  }
  return RefusingFailures(machine.console, L"the package was not made",
                          [&] { return BuildPackage(machine, request); });
}

}  // namespace vantrel
