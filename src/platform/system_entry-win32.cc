#include "platform/system_entry-win32.h"

namespace vantrel {

static std::wstring SystemDirectory() {
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const UINT n = GetSystemDirectoryW(&folder[0], static_cast<UINT>(folder.size()));
    if (n == 0) throw PlatformFailure("GetSystemDirectoryW failed");
    if (n < folder.size()) {
      folder.resize(n);
      return folder;
    }
    folder.resize(n);
  }
}

void* BindSystemEntry(const wchar_t* library, const char* entry) {
  const std::wstring path = SystemDirectory() + L"\\" + library;
  // Kept loaded for the life of the process: the bound entry is reused.
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr) throw PlatformFailure(std::string("cannot load ") + entry);
  FARPROC proc = GetProcAddress(module, entry);
  if (proc == nullptr) throw PlatformFailure(std::string("cannot bind ") + entry);
  return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace vantrel
