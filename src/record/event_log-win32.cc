#include "record/event_log-win32.h"

#include <windows.h>

#include <algorithm>

#include "base/registry-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/system_folders-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(registerEventSourceW, L"advapi32.dll", RegisterEventSourceW);
VANTREL_SYSTEM_ENTRY(reportEventW, L"advapi32.dll", ReportEventW);
VANTREL_SYSTEM_ENTRY(deregisterEventSource, L"advapi32.dll", DeregisterEventSource);

const wchar_t kSource[] = L"Vantrel";
const wchar_t kSourcesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

using EventSource = UniqueBoundHandle<HANDLE, deregisterEventSource>;

void RegisterSource() {
  RegistryKey key;
  CreateRegistryKey(HKEY_LOCAL_MACHINE, std::wstring(kSourcesKey) + kSource, KEY_SET_VALUE, key);
  // Event Viewer expands the message file's path.
  RegistryValue program = TextValue(L"EventMessageFile", ProgramPath());
  program.type = REG_EXPAND_SZ;
  SetRegistryValue(key.get(), program);
  SetRegistryValue(key.get(),
                   NumberValue(L"TypesSupported", EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE |
                                                      EVENTLOG_INFORMATION_TYPE));
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
