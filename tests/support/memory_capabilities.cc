#include "memory_capabilities.h"

#include <algorithm>
#include <stdexcept>

#include "base/failure.h"
#include "inf_text.h"

namespace vantrel {

std::unique_ptr<InfSource> MemoryInfEngine::OpenInf(const std::wstring& path) {
  Record(L"OpenInf " + Quoted(path));
  FailIfTold("OpenInf");
  const auto found = infTexts.find(path);
  if (found == infTexts.end()) throw PlatformFailure("SetupOpenInfFileW: cannot open", 2);
  return std::unique_ptr<InfSource>(new InfText(found->second));
}

InfArchitecture MemoryInfEngine::InstallerArchitecture() { return architecture; }

bool MemoryInfEngine::RunsUnderWow64() {
  Record(L"RunsUnderWow64");
  return wow64;
}

std::vector<CopiedFile> MemoryInfEngine::FilesOfSection(const std::wstring& infPath,
                                                       const std::wstring& section) {
  Record(L"FilesOfSection " + Quoted(infPath) + L" " + Quoted(section));
  FailIfTold("FilesOfSection");
  const auto found = sectionFiles.find(section);
  return found == sectionFiles.end() ? std::vector<CopiedFile>() : found->second;
}

bool MemoryInstalledState::ServiceExists(const std::wstring& name) {
  Record(L"ServiceExists " + Quoted(name));
  FailIfTold("ServiceExists");
  return services.count(name) != 0;
}

bool MemoryInstalledState::RegistryEntryExists(const RegistryEntry& entry) {
  Record(L"RegistryEntryExists " + Quoted(RegistryEntryName(entry)));
  FailIfTold("RegistryEntryExists");
  return registryEntries.count(RegistryEntryName(entry)) != 0;
}

std::vector<RestartRename> MemoryInstalledState::PendingRestartRenames() {
  Record(L"PendingRestartRenames");
  FailIfTold("PendingRestartRenames");
  return pendingRenames;
}

void MemoryEventLog::WriteRunEvent(bool failure, std::uint32_t eventId,
                                   const std::vector<std::wstring>& lines) {
  Record(L"WriteRunEvent " + std::wstring(failure ? L"error " : L"information ") +
         std::to_wstring(eventId));
  FailIfTold("WriteRunEvent");
  events.push_back(lines);
}

bool MemoryReceiptStore::ReadReceipt(const std::wstring& infName, Receipt& receipt) {
  Record(L"ReadReceipt " + Quoted(infName));
  FailIfTold("ReadReceipt");
  const auto found = receipts.find(infName);
  if (found == receipts.end()) return false;
  receipt = found->second;
  return true;
}

void MemoryReceiptStore::WriteReceipt(const std::wstring& infName, const Receipt& receipt) {
  Record(L"WriteReceipt " + Quoted(infName));
  FailIfTold("WriteReceipt");
  receipts[infName] = receipt;
}

bool MemoryReceiptStore::DeleteReceipt(const std::wstring& infName) {
  Record(L"DeleteReceipt " + Quoted(infName));
  FailIfTold("DeleteReceipt");
  return receipts.erase(infName) != 0;
}

std::wstring MemoryFileHasher::FileSha256(const std::wstring& path) {
  Record(L"FileSha256 " + Quoted(path));
  if (unreadable.count(path) != 0) {
    throw PlatformFailure("ReadFile: The specified network name is no longer available. (64)", 64);
  }
  return Sha256Of(path);
}

void MemoryRegistryKey::SetValue(const RegistryValue& value) {
  if (--failingSet == 0) throw PlatformFailure("RegSetValueExW: Access is denied. (5)", 5);
  DeleteValue(value.name);
  values.push_back(value);
}

void MemoryRegistryKey::DeleteValue(const std::wstring& name) {
  values.erase(std::remove_if(values.begin(), values.end(),
                              [&](const RegistryValue& held) { return held.name == name; }),
               values.end());
}

OpenedLock MemoryInstallLock::OpenNamedMutex(const std::wstring& name, const std::wstring& access) {
  Record(L"OpenNamedMutex " + Quoted(name) + L" " + Quoted(access));
  FailIfTold("OpenNamedMutex");
  ++mutexesHeld;
  return OpenedLock{77, !lockMadeBy.empty(), lockMadeBy, lockMadeBy.empty() || lockMadeByAdministrators};
}

bool MemoryInstallLock::WaitForNamedMutex(MutexHandle mutex, std::uint32_t milliseconds) {
  Record(L"WaitForNamedMutex " + std::to_wstring(mutex) + L" " + std::to_wstring(milliseconds));
  FailIfTold("WaitForNamedMutex");
  const bool taken = lockHeldFor <= milliseconds;
  clock += taken ? lockHeldFor : milliseconds;
  return taken;
}

void MemoryInstallLock::ReleaseNamedMutex(MutexHandle mutex) {
  Record(L"ReleaseNamedMutex " + std::to_wstring(mutex));
  if (mutex != 77 || mutexesHeld == 0) throw std::logic_error("mutex released twice");
  --mutexesHeld;
}

}  // namespace vantrel
