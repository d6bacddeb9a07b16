// The command lines an install of a package runs, for the bundle in an
// example folder: what a security team tunes its endpoint rules on before
// the package is deployed.
#pragma once

#include <string>

#include "pack/package_view.h"

namespace vantrel {

// The bundle's programs a deployment tool starts, from the bundle folder.
constexpr wchar_t kInstallerFile[] = L"vantrel.exe";
constexpr wchar_t kRemoverFile[] = L"vantrel-remove.exe";

// `vantrel.exe "<package>"`: the package lying beside the program.
std::wstring InstallCommand(const std::wstring& packageName);
// `vantrel-remove.exe <INF name> /package:<SHA-256>`: the removal a tool
// keeps for this one package, which leaves a later package under the same
// INF name alone.
std::wstring ScopedRemoveCommand(const std::wstring& infName, const std::wstring& packageSha256);

constexpr wchar_t kExampleBundleFolder[] = L"C:\\Program Files\\Vantrel";
constexpr wchar_t kExampleWindowsFolder[] = L"C:\\Windows";

// Fills each platform's commands where it installs: the three 7-Zip runs
// and the INF installer, the view's package lying in the bundle folder. Paths are the long ones; where the volume keeps 8.3 names the
// installer passes the program folder and the package in their short form.
void AddExampleCommands(PackageView& view);

}  // namespace vantrel
