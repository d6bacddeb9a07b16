// The hidden main form: the program's one object. Loading it runs the whole
// install; every way out of Form_Load ends the process.
#pragma once

#include <cstdint>
#include <string>

#include "form/exit_status.h"
#include "platform/platform.h"

namespace vantrel {

// What one awaited child came to.
struct ChildOutcome {
  bool started = false;
  std::uint32_t exitCode = 0;
};

class Vantrel {
 public:
  explicit Vantrel(Platform& platform) : platform_(platform) {}

  // Creates the form's hidden window and runs Form_Load.
  [[noreturn]] void Load();

  // The whole run: start-up, package check, install, end of process.
  [[noreturn]] void Form_Load();
  // Starts the program with the command line, hidden, and returns once its
  // process has ended.
  ChildOutcome RunAndWait(const std::wstring& program, const std::wstring& commandLine);
  // Fills the location fields from the environment, with their fallbacks.
  void ReadEnvironment();

  // The location fields.
  std::wstring SystemDrive;
  std::wstring ProgramFiles;
  std::wstring AllUsersProfile;
  std::wstring DefaultUserProfile;
  std::wstring UserProfile;
  std::wstring SystemRoot;
  std::wstring CDDRIVE;
  std::wstring HomeDrive;
  std::wstring HomePath;
  std::wstring AppPath;
  std::wstring Temp;

 private:
  // The install proper, reached once the package is known to exist.
  [[noreturn]] void InstallPackage(const std::wstring& packagePath);
  // Empties the work folder and makes it afresh, private to the system's
  // administrators; false when either cannot be done.
  bool PrepareWorkFolder();
  // Whether a 7-Zip run extracted what it was given. A wildcard source
  // that matches no file is nothing to extract.
  bool Extracted(const ChildOutcome& run, const std::wstring& sourcePattern);
  void ApplyEnvironmentEntry(const std::wstring& entry);
  // Keeps the first failure; later ones do not overwrite it.
  void NoteFailure(ExitStatus status);
  [[noreturn]] void End();

  Platform& platform_;
  ExitStatus exitStatus_ = kExitSuccess;
};

}  // namespace vantrel
