// The capabilities around the Windows services, held in memory for the unit
// tests, each alone: a test takes only those its code uses. Each records its
// calls and fails where told, as the platform does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/file_sha256.h"
#include "base/registry_values.h"
#include "base/utc_clock.h"
#include "call_recorder.h"
#include "inf/inf_engine.h"
#include "inf/installed_state.h"
#include "record/event_log.h"
#include "record/receipt_store.h"
#include "run/install_lock.h"

namespace vantrel {

class MemoryInfEngine : public InfEngine, public virtual CallRecorder {
 public:
  // The INFs the parser can read, by path, as text.
  std::map<std::wstring, std::wstring> infTexts;
  InfArchitecture architecture = InfArchitecture::kX86;
  // A 32-bit program on 64-bit Windows.
  bool wow64 = false;
  // The files of each install section (by section name) as the engine
  // queues them, with their targets as they stand.
  std::map<std::wstring, std::vector<CopiedFile>> sectionFiles;

  std::unique_ptr<InfSource> OpenInf(const std::wstring& path) override;
  InfArchitecture InstallerArchitecture() override;
  bool RunsUnderWow64() override;
  std::vector<CopiedFile> FilesOfSection(const std::wstring& infPath,
                                         const std::wstring& section) override;
};

class MemoryInstalledState : public InstalledState, public virtual CallRecorder {
 public:
  // The services there are, the registry entries there are (by
  // RegistryEntryName) and the renames pending for the next restart.
  std::set<std::wstring> services;
  std::set<std::wstring> registryEntries;
  std::vector<RestartRename> pendingRenames;

  bool ServiceExists(const std::wstring& name) override;
  bool RegistryEntryExists(const RegistryEntry& entry) override;
  std::vector<RestartRename> PendingRestartRenames() override;
};

class MemoryEventLog : public EventLog, public virtual CallRecorder {
 public:
  // The lines of each event written, in order.
  std::vector<std::vector<std::wstring>> events;

  void WriteRunEvent(bool failure, std::uint32_t eventId,
                     const std::vector<std::wstring>& lines) override;
};

class MemoryReceiptStore : public ReceiptStore, public virtual CallRecorder {
 public:
  // The receipts kept, by INF name.
  std::map<std::wstring, Receipt> receipts;

  bool ReadReceipt(const std::wstring& infName, Receipt& receipt) override;
  void WriteReceipt(const std::wstring& infName, const Receipt& receipt) override;
  bool DeleteReceipt(const std::wstring& infName) override;
};

class MemoryFileHasher : public FileHasher, public virtual CallRecorder {
 public:
  // The files that cannot be read to their end (a share that stops
  // answering); any other file's SHA-256 is Sha256Of its path.
  std::set<std::wstring> unreadable;
  static std::wstring Sha256Of(const std::wstring& path) { return L"sha256 of " + path; }

  std::wstring FileSha256(const std::wstring& path) override;
};

class MemoryUtcClock : public UtcClock {
 public:
  UtcTime now{2026, 12, 8, 9, 5, 7};
  UtcTime UtcNow() override { return now; }
};

// One registry key's values; the write numbered `failingSet` (from 1)
// fails, once.
class MemoryRegistryKey : public RegistryValues {
 public:
  std::vector<RegistryValue> values;
  int failingSet = 0;

  std::vector<RegistryValue> ReadValues() override { return values; }
  void SetValue(const RegistryValue& value) override;
  void DeleteValue(const std::wstring& name) override;
};

// A receipt kept from an earlier install, as far as the tests compare it.
inline Receipt EarlierReceipt(const std::wstring& version, const std::wstring& packageSha256 = L"old") {
  Receipt receipt;
  receipt.version = version;
  receipt.packageSha256 = packageSha256;
  return receipt;
}

class MemoryInstallLock : public InstallLock, public virtual CallRecorder {
 public:
  // Who made the lock before this run (a SID as text); empty: nobody did.
  std::wstring lockMadeBy;
  bool lockMadeByAdministrators = true;
  // How long another run goes on holding it; the clock moves by what is
  // waited.
  std::uint64_t lockHeldFor = 0;

  OpenedLock OpenNamedMutex(const std::wstring& name, const std::wstring& access) override;
  bool WaitForNamedMutex(MutexHandle mutex, std::uint32_t milliseconds) override;
  void ReleaseNamedMutex(MutexHandle mutex) override;

 private:
  int mutexesHeld = 0;
};

}  // namespace vantrel
