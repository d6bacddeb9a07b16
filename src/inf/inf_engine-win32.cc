#include "inf/inf_engine-win32.h"

#include "base/system_error-win32.h"
#include "inf/inf_file-win32.h"

namespace vantrel {

std::unique_ptr<InfSource> Win32InfEngine::OpenInf(const std::wstring& path) {
  return std::unique_ptr<InfSource>(new InfFile(path));
}

bool Win32InfEngine::RunsUnderWow64() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64)) throw SystemFailure("IsWow64Process");
  return wow64 != FALSE;
}

}  // namespace vantrel
