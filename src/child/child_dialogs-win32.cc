// How the child watch finds a child's dialogs on the program's desktop and
// declines one.
#include "child/child_watch-win32.h"

#include "base/system_error-win32.h"

namespace vantrel {

namespace {
// Reading another process's control goes through its message loop; a hung
// child must not hang the program with it.
constexpr UINT kTextMilliseconds = 250;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  const int length = GetClassNameW(window, name, 64);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                           reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           kTextMilliseconds, &length)) {
    return std::wstring();
  }
  std::wstring shown(text, length < 1024 ? length : 1023);
  // A message box's text may run over several lines; the record has one.
  for (wchar_t& c : shown) {
    if (c == L'\r' || c == L'\n' || c == L'\t') c = L' ';
  }
  return shown;
}

bool SameClass(const std::wstring& name, const wchar_t* wanted) {
  return CompareStringOrdinal(name.c_str(), -1, wanted, -1, TRUE) == CSTR_EQUAL;
}

BOOL CALLBACK AddControl(HWND control, LPARAM context) {
  ChildDialog& dialog = *reinterpret_cast<ChildDialog*>(context);
  const std::wstring name = ClassOf(control);
  if (SameClass(name, L"msctls_progress32")) {
    dialog.showsProgress = true;
  } else if (SameClass(name, L"Static")) {
    // Icons and pictures carry a resource name, not words.
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE) return TRUE;
    const std::wstring text = TextOf(control);
    if (text.find_first_not_of(L' ') == std::wstring::npos) return TRUE;
    if (!dialog.text.empty()) dialog.text += L" ";
    dialog.text += text;
  }
  return TRUE;
}

// The child, and its job: what it started.
struct Search {
  DWORD childId;
  const ChildJob& job;
  std::vector<ChildDialog> found;
};

BOOL CALLBACK AddDialog(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  if (!SameClass(ClassOf(window), L"#32770")) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0 || (processId != search.childId && !search.job.Holds(processId))) return TRUE;
  ChildDialog dialog;
  dialog.window = reinterpret_cast<DialogHandle>(window);
  dialog.caption = TextOf(window);
  EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&dialog));
  search.found.push_back(dialog);
  return TRUE;
}
}  // namespace

// Visibility is not looked at: on a station nobody sees, the system reports
// a child's message box as not visible.
std::vector<ChildDialog> Win32ChildWatch::OpenDialogsOfChild(ProcessHandle process) {
  const DWORD childId = GetProcessId(AsHandle(process));
  if (childId == 0) throw SystemFailure("GetProcessId");
  Search search{childId, platform_.Job(), {}};
  HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
  if (desktop == nullptr) throw SystemFailure("GetThreadDesktop");
  // A desktop without windows ends the enumeration with an error too.
  EnumDesktopWindows(desktop, AddDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Win32ChildWatch::DeclineDialog(DialogHandle dialog) {
  const HWND window = reinterpret_cast<HWND>(dialog);
  HWND cancel = GetDlgItem(window, IDCANCEL);
  const BOOL posted =
      cancel != nullptr
          ? PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel))
          : PostMessageW(window, WM_CLOSE, 0, 0);
  if (!posted) throw SystemFailure("PostMessageW");
}

}  // namespace vantrel
