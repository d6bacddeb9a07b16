// The hidden main form: the program's one object. Loading it runs the whole
// install; every way out of Form_Load ends the process.
#pragma once

#include <cstdint>
#include <string>

#include "base/resume.h"
#include "child/child_outcome.h"
#include "run/install_exits.h"
#include "platform/platform.h"
#include "run/program_run.h"

namespace vantrel {

class Vantrel {
 public:
  explicit Vantrel(Machine machine)
      : machine_(machine), platform_(machine.platform), run_(machine, kInstallExits) {}

  // Creates the form's hidden window and runs Form_Load.
  [[noreturn]] void Load();

  // The whole run: start-up, package check, install, end of process.
  [[noreturn]] void Form_Load();
  // Starts the program with the command line, hidden, and returns once its
  // process has ended, or has been ended after running for the bound
  // without ending or asking anything; the run's record keeps what it asked.
  ChildOutcome RunAndWait(const std::wstring& program, const std::wstring& commandLine,
                          std::uint64_t boundMilliseconds,
                          ChildStreams streams = ChildStreams::kInherited);
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
  // administrators; false, saying why, when either cannot be done.
  bool PrepareWorkFolder(std::wstring& unready);
  // One 7-Zip run; false, with the failure noted, when it did not extract
  // what it was given. A wildcard source that matches no file is nothing to
  // extract.
  bool Extract(const std::wstring& step, const std::wstring& commandLine,
               const std::wstring& sourcePattern);
  // False, with the failure noted, when the work folder holds a link or
  // cannot be searched for one.
  bool WorkFolderHoldsNoLink(const std::wstring& after);
  // Why the INF installer could not install the INF in the work folder on
  // this platform, or empty where nothing stands in its way; `section` is
  // the install section the engine takes.
  std::wstring WhyInfCannotInstall(const std::wstring& infPath, std::wstring& section);
  // Once the INF installer has ended well: whether what the section copies,
  // adds and writes is in place, or waits only for a rename at the next
  // restart (those files are kept for the record). Notes the failure where
  // it is not.
  bool EffectsInPlace(const std::wstring& infPath, const std::wstring& section);
  // Once the INF installer put everything in place: the INF copy in the
  // system's INF folder and its receipt, both or neither. Where either
  // cannot be written, the copy is put back as it was before the run (or
  // taken away where there was none) and the failure noted.
  void KeepInfCopy(const std::wstring& infName, const std::wstring& infPath);
  // Puts the INF copy back as `previous` holds it, or deletes it where
  // `previous` is empty, noting what became of it.
  void PutBackInfCopy(const std::wstring& kept, const std::wstring& previous);
  // Once the INF copy is kept, which only a run that has not failed
  // reaches: the receipt the deployment tools' detection rules read. False,
  // with the failure noted, where it is not written.
  bool KeepReceipt(const std::wstring& infName, const std::wstring& infPath,
                   const std::wstring& keptInf);
  void ApplyEnvironmentEntry(const std::wstring& entry);
  // Writes the record of the run and ends the process with its exit code.
  [[noreturn]] void End();

  Machine machine_;
  Platform& platform_;
  ProgramRun run_;
  // The package as the argument named it, for the record of the run.
  std::wstring packageNamed_;
  // The INF installer ran as a 32-bit program on 64-bit Windows.
  bool installedUnderWow64_ = false;
  // The package's SHA-256 for the receipt, or how reading it failed.
  std::wstring packageSha256_;
  StatementResult packageHashing_;
};

}  // namespace vantrel
