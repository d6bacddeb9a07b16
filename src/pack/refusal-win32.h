// How the package builder says no, and what both of its commands start
// from: the 7-Zip beside it and the reading of a folder's INF.
#pragma once

#include <memory>
#include <string>

#include "inf/inf_file-win32.h"
#include "pack/exit_codes.h"

namespace vantrel {

// "vantrel-pack: <why>" on standard error; returns the code's exit number.
int Refuse(PackExit code, const std::wstring& why);

// The 7z.exe beside vantrel-pack.exe; empty where it is missing, the
// refusal said and its exit number in `exit`.
std::wstring SevenZipOrRefuse(int& exit);

// The INF as the system's parser reads it; null where the parser refuses
// it, the refusal (naming `subject`) said and its exit number in `exit`.
std::unique_ptr<InfFile> ReadInfOrRefuse(const std::wstring& infPath, const std::wstring& subject,
                                         int& exit);

}  // namespace vantrel
