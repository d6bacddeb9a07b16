#include "form/vantrel.h"
#include "helpers/module1.h"
#include "base/text.h"

namespace vantrel {

void Vantrel::Load() {
  // Where no window can be made (no display) the install still runs.
  Resume([&] { platform_.CreateHiddenWindow(L"Vantrel"); });
  Form_Load();
}

void Vantrel::Form_Load() {
  std::wstring packagePath;
  // Whether the argument held more than quotes and blanks: only for the exit
  // code, which tells "no package named" from "package not found".
  bool packageNamed = true;

  // Nothing to install: end before the environment is read or anything is
  // written. An argument of blanks alone names nothing either.
  if (GuardHolds([&] { return TrimBlanks(platform_.ArgumentText()).empty(); })) {
    run_.NoteFailure(kExitNoArgument);
    End();
  }

  Resume([&] { ReadEnvironment(); });
  // The whole argument is one path: quotes go wherever they stand, inner
  // blanks stay. Blanks around it are never part of a Windows path.
  Resume([&] {
    packageNamed_ = TrimBlanks(RemoveDoubleQuotes(platform_.ArgumentText()));
    packageNamed = !packageNamed_.empty();
    packagePath = packageNamed_;
  });
  // A relative path is the current folder's (a deployment tool's content
  // folder): made absolute here, before any command is built, the command
  // lines name the file itself, exactly as the record and an allow rule
  // see them, whatever folder a child starts in.
  Resume([&] {
    const std::wstring full = FullPath(platform_, packagePath);
    if (!full.empty()) packagePath = packageNamed_ = full;
  });
  // Where the system gives no short form (8.3 names off, a folder that can
  // be passed through but not listed), the long path is the path; both go
  // onto the command lines in quotes.
  Resume([&] { packagePath = ShortFormOrPath(platform_, packagePath); });
  Resume([&] { AppPath = ShortFormOrPath(platform_, AppPath); });

  if (GuardHolds([&] { return !FileExists(platform_, packagePath); })) {
    if (packageNamed) {
      run_.NoteFailure(kExitPackageNotFound,
                       StepFailure{L"looking for the package", L"Path: " + packageNamed_,
                                   L"no file of that name, or not readable"});
    } else {
      run_.NoteFailure(kExitNoArgument);
    }
    End();
  }

  InstallPackage(packagePath);
}

}  // namespace vantrel
