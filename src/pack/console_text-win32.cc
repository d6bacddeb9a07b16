#include "pack/pack_machine-win32.h"

#include <windows.h>

#include "base/text.h"

namespace vantrel {

namespace {

void Print(DWORD which, std::wstring text) {
  text += L"\n";
  HANDLE stream = GetStdHandle(which);
  if (stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(stream, &mode)) {
    WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string bytes = ToUtf8(text);
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

}  // namespace

void Win32PackMachine::PrintOut(const std::wstring& line) { Print(STD_OUTPUT_HANDLE, line); }

void Win32PackMachine::PrintError(const std::wstring& line) { Print(STD_ERROR_HANDLE, line); }

}  // namespace vantrel
