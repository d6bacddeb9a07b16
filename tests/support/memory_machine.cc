#include "memory_machine.h"

#include <stdexcept>

#include "form/vantrel.h"

namespace vantrel {

const std::wstring kWorkFolder = L"C:\\WINDOWS\\Temp\\Vantrel";

MemoryMachine ReadyToInstall() {
  MemoryMachine platform;
  platform.environment = {L"SystemDrive=C:", L"SystemRoot=C:\\WINDOWS"};
  platform.argumentText = L"\"C:\\Package Store\\driver.7z\"";
  platform.shortPaths[L"C:\\Package Store\\driver.7z"] = L"C:\\PACKAG~1\\driver.7z";
  platform.shortPaths[L"C:\\Program Files\\Vantrel"] = L"C:\\PROGRA~1\\Vantrel";
  platform.existingPaths = {L"C:\\PACKAG~1\\driver.7z", kWorkFolder + L"\\driver.inf"};
  platform.firstMatches[kWorkFolder + L"\\*.inf"] = L"driver.inf";
  platform.infTexts[kWorkFolder + L"\\driver.inf"] =
      L"[Version]\nDriverVer=01/02/2025,2.0.0.0\n[DefaultInstall]\nAddReg=R\n";

  return platform;
}

std::uint32_t MemoryMachine::RunProgram() {
  Vantrel form(*this);
  try {
    form.Load();
  } catch (const ProcessEnded& ended) {
    return ended.exitCode;
  }
  throw std::logic_error("Load returned without ending the process");
}

}  // namespace vantrel
