#include "base/system_entry-win32.h"

#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"

namespace vantrel {

void* BindSystemEntry(const wchar_t* library, const char* entry) {
  const std::wstring path = SystemDirectory() + L"\\" + library;
  // Kept loaded for the life of the process: the bound entry is reused.
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) {
    const DWORD code = GetLastError();
    throw SystemFailure((std::string("LoadLibraryW for ") + entry).c_str(), code);
  }
  FARPROC proc = GetProcAddress(module, entry);
  if (proc == nullptr) {
    const DWORD code = GetLastError();
    throw SystemFailure((std::string("GetProcAddress for ") + entry).c_str(), code);
  }
  return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace vantrel
