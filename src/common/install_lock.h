// The system-wide lock that every program of the bundle holds while it
// changes the machine: an install and a removal never overlap, and two
// installs never share the fixed work folder.
#pragma once

namespace vantrel {

constexpr wchar_t kInstallLockName[] = L"Global\\Vantrel.Install";

}  // namespace vantrel
