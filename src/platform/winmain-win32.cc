// The program's entry: a GUI-subsystem process with no console and no
// visible window.
#include "platform/platform-win32.h"

#include "form/vantrel.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  vantrel::Win32Platform platform;
  vantrel::Vantrel form(platform);
  form.Load();
}
