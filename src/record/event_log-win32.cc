#include "record/event_log-win32.h"

#include <windows.h>

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

void RegisterSource(const wchar_t* source) {
  RegistryKey key;
  const LSTATUS created =
      regCreateKeyExW.get()(HKEY_LOCAL_MACHINE, (std::wstring(kSourcesKey) + source).c_str(), 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  if (created != ERROR_SUCCESS) throw SystemFailure("RegCreateKeyExW", static_cast<DWORD>(created));
  const std::wstring program = ProgramPath();
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  const LSTATUS file = regSetValueExW.get()(
      key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
      static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
  if (file != ERROR_SUCCESS) throw SystemFailure("RegSetValueExW", static_cast<DWORD>(file));
  const LSTATUS supported = regSetValueExW.get()(key.get(), L"TypesSupported", 0, REG_DWORD,
                                                 reinterpret_cast<const BYTE*>(&types), sizeof types);
  if (supported != ERROR_SUCCESS) throw SystemFailure("RegSetValueExW", static_cast<DWORD>(supported));
}

}  // namespace

void Win32EventLog::WriteRunEvent(bool failure, std::uint32_t eventId,
                                  const std::vector<std::wstring>& lines) {
  try {
    RegisterSource(kSource);
  } catch (const PlatformFailure&) {
    // Without the message file the strings are still in the log.
  }
  EventSource events(registerEventSourceW.get()(nullptr, kSource));
  if (!events) throw SystemFailure("RegisterEventSourceW");
  // Exactly as many strings as each message shows: the unused ones empty,
  // lines past the last one joined into it.
  std::vector<std::wstring> fixed(lines.begin(), lines.end());
  fixed.resize(VANTREL_EVENT_STRINGS > lines.size() ? VANTREL_EVENT_STRINGS : lines.size());
  for (std::size_t i = VANTREL_EVENT_STRINGS; i < fixed.size(); ++i) {
    fixed[VANTREL_EVENT_STRINGS - 1] += L"\r\n" + fixed[i];
  }
  fixed.resize(VANTREL_EVENT_STRINGS);
  std::vector<LPCWSTR> strings;
  for (const auto& line : fixed) strings.push_back(line.c_str());
  if (!reportEventW.get()(events.get(),
                          failure ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE, 0, eventId,
                          nullptr, static_cast<WORD>(strings.size()), 0, strings.data(), nullptr)) {
    throw SystemFailure("ReportEventW");
  }
}

}  // namespace vantrel
