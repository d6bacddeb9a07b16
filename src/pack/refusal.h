// How the package builder says no, and what both of its commands start
// from: the 7-Zip beside it and the reading of a folder's INF.
#pragma once

#include <memory>
#include <string>

#include "base/failure.h"
#include "base/text.h"
#include "pack/exit_codes.h"
#include "pack/pack_machine.h"

namespace vantrel {

// "vantrel-pack: <why>" on standard error; returns the code's exit number.
int Refuse(Console& console, PackExit code, const std::wstring& why);

// Runs one of the builder's commands; a system failure it meets is refused
// with the system's text and `outcome` ("the package was not made").
template <typename Command>
int RefusingFailures(Console& console, const wchar_t* outcome, Command&& command) {
  try {
    return command();
  } catch (const PlatformFailure& failure) {
    return Refuse(console, PackExit::kWriteFailed, FromUtf8(failure.what()) + L"; " + outcome);
  }
}

// The builder's own folder, where 7z.exe lies beside it; empty where it is
// missing, the refusal said and its exit number in `exit`.
std::wstring SevenZipFolderOrRefuse(PackMachine& machine, int& exit);

// The INF as the engine's parser reads it; null where the parser refuses
// it, the refusal (naming `subject`) said and its exit number in `exit`.
std::unique_ptr<InfSource> ReadInfOrRefuse(PackMachine& machine, const std::wstring& infPath,
                                           const std::wstring& subject, int& exit);

}  // namespace vantrel
