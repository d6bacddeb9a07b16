// vantrel-remove's entry: a GUI-subsystem process with no console and no
// window, like vantrel.exe.
#include "platform/platform-win32.h"
#include "remove/remover.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  vantrel::Win32Platform platform;
  vantrel::Remover(platform).Run();
}
