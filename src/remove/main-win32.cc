// vantrel-remove's entry: a GUI-subsystem process with no console and no
// window, like vantrel.exe.
#include "remove/remover.h"
#include "run/machine-win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  vantrel::Win32Machine machine;
  vantrel::Remover(machine.Get()).Run();
}
