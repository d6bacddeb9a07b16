#include "record/event_log-win32.h"

#include <windows.h>

#include <algorithm>

#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

SystemEntry<decltype(&::RegCreateKeyExW)> regCreateKeyExW(L"advapi32.dll", "RegCreateKeyExW");
SystemEntry<decltype(&::RegSetValueExW)> regSetValueExW(L"advapi32.dll", "RegSetValueExW");
SystemEntry<decltype(&::RegCloseKey)> regCloseKey(L"advapi32.dll", "RegCloseKey");
SystemEntry<decltype(&::RegisterEventSourceW)> registerEventSourceW(L"advapi32.dll",
                                                                    "RegisterEventSourceW");
SystemEntry<decltype(&::ReportEventW)> reportEventW(L"advapi32.dll", "ReportEventW");
SystemEntry<decltype(&::DeregisterEventSource)> deregisterEventSource(L"advapi32.dll",
                                                                      "DeregisterEventSource");

const wchar_t kSource[] = L"Vantrel";
const wchar_t kSourcesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

using RegistryKey = UniqueBoundHandle<HKEY, regCloseKey>;
using EventSource = UniqueBoundHandle<HANDLE, deregisterEventSource>;

void RegisterSource() {
  RegistryKey key;
  const std::wstring path = std::wstring(kSourcesKey) + kSource;
  CheckStatus("RegCreateKeyExW",
              regCreateKeyExW.get()(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, key.put(), nullptr));
  const std::wstring program = ProgramPath();
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  CheckStatus("RegSetValueExW",
              regSetValueExW.get()(key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ,
                                   reinterpret_cast<const BYTE*>(program.c_str()),
                                   static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))));
  CheckStatus("RegSetValueExW",
              regSetValueExW.get()(key.get(), L"TypesSupported", 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&types), sizeof types));
}

}  // namespace

void Win32EventLog::WriteRunEvent(bool failure, std::uint32_t eventId,
                                  const std::vector<std::wstring>& lines) {
  try {
    RegisterSource();
  } catch (const PlatformFailure&) {
    // Without the message file the strings are still in the log.
  }
  EventSource events(registerEventSourceW.get()(nullptr, kSource));
  if (!events) throw SystemFailure("RegisterEventSourceW");
  // Exactly as many strings as each message shows: the unused ones empty,
  // lines past the last one joined into it.
  std::vector<std::wstring> fixed(VANTREL_EVENT_STRINGS);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    fixed[std::min<std::size_t>(i, VANTREL_EVENT_STRINGS - 1)] +=
        (i < VANTREL_EVENT_STRINGS ? L"" : L"\r\n") + lines[i];
  }
  std::vector<LPCWSTR> strings;
  for (const auto& line : fixed) strings.push_back(line.c_str());
  if (!reportEventW.get()(events.get(),
                          failure ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE, 0, eventId,
                          nullptr, static_cast<WORD>(strings.size()), 0, strings.data(), nullptr)) {
    throw SystemFailure("ReportEventW");
  }
}

}  // namespace vantrel
