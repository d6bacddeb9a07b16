// The program's entry: a GUI-subsystem process with no console and no
// visible window.
#include "form/vantrel.h"
#include "run/machine-win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vantrel::RestrictDllSearchToSystem();
  vantrel::SuppressSystemDialogs();
  vantrel::Win32Machine machine;
  vantrel::Vantrel form(machine.Get());
  form.Load();
}
