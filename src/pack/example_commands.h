// The command lines an install of a package runs, for the bundle in an
// example folder: what a security team tunes its endpoint rules on before
// the package is deployed.
#pragma once

#include <string>

#include "pack/package_view.h"

namespace vantrel {

constexpr wchar_t kExampleBundleFolder[] = L"C:\\Program Files\\Vantrel";
constexpr wchar_t kExampleWindowsFolder[] = L"C:\\Windows";

// Fills each platform's commands where it installs: the three 7-Zip runs
// and the INF installer, the package `packageName` lying in the bundle
// folder. Paths are the long ones; where the volume keeps 8.3 names the
// installer passes the program folder and the package in their short form.
void AddExampleCommands(PackageView& view, const std::wstring& packageName);

}  // namespace vantrel
