#include "pack/arguments.h"

#include "base/text.h"
#include "pack/example_commands.h"

namespace vantrel {

PackRequest ParseArguments(const std::vector<std::wstring>& arguments) {
  PackRequest request;
  const auto is = [&](std::size_t i, const wchar_t* option) {
    return i < arguments.size() && arguments[i] == option;
  };
  if (arguments.size() == 1 && (is(0, L"--help") || is(0, L"-h") || is(0, L"/?"))) {
    request.action = PackRequest::Action::kHelp;
  } else if (is(0, L"--show") || is(0, L"--json")) {
    // --show [--json] <folder or package>, the two options in either order.
    const bool json = is(0, L"--json") || is(1, L"--json");
    const std::size_t target = json ? 2 : 1;
    if (!(is(0, L"--show") || is(1, L"--show")) || arguments.size() != target + 1 ||
        arguments[target].empty()) {
      request.problem = L"--show [--json] takes one folder or package";
    } else {
      request.action = PackRequest::Action::kShow;
      request.json = json;
      request.source = arguments[target];
    }
  } else if (arguments.size() != 2) {
    request.problem = L"expected two arguments, a folder and the package to write";
  } else if (arguments[0].empty() || arguments[1].empty()) {
    request.problem = L"an argument is empty";
  } else {
    request.action = PackRequest::Action::kPack;
    request.source = arguments[0];
    request.output = arguments[1];
  }
  return request;
}

bool IsInsideFolder(const std::wstring& path, const std::wstring& folder) {
  std::wstring prefix = LowerAscii(folder);
  if (prefix.empty()) return false;
  if (prefix.back() != L'\\') prefix += L'\\';
  return LowerAscii(path).compare(0, prefix.size(), prefix) == 0;
}

std::wstring HelpText() {
  return LR"(vantrel-pack - makes a Vantrel package from a folder

Usage
  vantrel-pack <folder> <package.7z>
  vantrel-pack --show [--json] <folder or package.7z>

The folder holds one INF file and the files it installs, each where the INF
says it is relative to the INF (a file not there is taken from beside the
INF). The INF is read with the system's INF parser the way the INF engine
reads it: the install section DefaultInstall.NTx86, .NT or undecorated for
x86 (the 32-bit bundle), DefaultInstall.NTamd64, .NT or undecorated for x64
(the 64-bit bundle), with its Needs; each source file's place from
[SourceDisksNames] and [SourceDisksFiles], decorated (.x86, .amd64) before
undecorated; beside the INF where no entry names the file.
The INF becomes the single-file MSZIP cabinet <name>.in_; the files whose
place is i386 or below go into one MSZIP cabinet named after the folder
(blanks become _), which Vantrel expands into i386; every other file is
stored in the archive at its place. The 7z archive is made afresh by the
7z.exe (with its 7z.dll) beside vantrel-pack.exe. Links in the folder are
never followed.

Each platform is judged on its own: the section its engine takes and the
sources that section copies from the places that platform reads. A platform
whose sources the folder lacks cannot install the package; the package is
still made for the others, with a warning naming that bundle and up to ten
of the files it lacks.

--show prints, for each platform, what the INF engine will do: the section,
each file (its place in the package, its DIRID and the folder that means on
this machine), each registry value (root, key, name, type, and whether
Vantrel's check after the INF installer tests it), each service (binary,
start type), and what that check cannot see (RegisterDlls, UpdateInis,
Needs the engine does not follow, HKR outside a device install, ...), and,
where it installs, the programs an install starts and their command lines,
for the bundle in )" + std::wstring(kExampleBundleFolder) + LR"( with the package beside it.
A package is unpacked by the 7z.exe beside vantrel-pack.exe into a private
temporary folder, which is deleted afterwards; nothing on the machine
changes. --json prints the same as one JSON object (UTF-8).

Warnings (the package is still made, exit code 0)
  - no install section for one of the platforms, or source files of one
    platform missing from the folder: that bundle cannot install it
  - a file in the folder that the INF never names
  - an INF of the same name in this machine's %SystemRoot%\inf: Vantrel
    overwrites that file on the target machine

Exit codes
  0  the package was made (--show: shown)
  1  wrong arguments, or the package would be written inside the folder
  2  the folder is missing or empty, holds no INF or several INFs at its
     top, or holds a link (symbolic link, junction); --show: no such
     folder or package, or the package holds no INF, several or a link
  3  the INF cannot be parsed, has no install section for any platform,
     takes a source from outside the package (absolute, a drive, ".."),
     names a CopyFiles section it lacks, takes a file named *.inf, *.cab
     or *.in_ from beside it, or is named oem<number>.inf (another
     installed driver's name in %SystemRoot%\inf)
  4  no platform can install: each lacks a source file or an install
     section, and a source file is missing (the INF installer would wait for
     it for ever on the target); every platform's first reason is named
  5  a cabinet or the archive could not be written, 7z.exe is missing or
     failed (--show: could not unpack the package), or another system call
     failed (the message names the call and the system's error)
)";
}

}  // namespace vantrel
