#include "child/child_dialogs-win32.h"

#include <string>

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

struct Search {
  const std::function<bool(DWORD)>* belongs;
  std::vector<ChildDialog> found;
};

BOOL CALLBACK AddDialog(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  if (!SameClass(ClassOf(window), L"#32770")) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0 || !(*search.belongs)(processId)) return TRUE;
  ChildDialog dialog;
  dialog.window = reinterpret_cast<DialogHandle>(window);
  dialog.caption = TextOf(window);
  EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&dialog));
  search.found.push_back(dialog);
  return TRUE;
}
}  // namespace

std::vector<ChildDialog> DialogsOnDesktop(const std::function<bool(DWORD)>& belongs) {
  Search search{&belongs, {}};
  HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
  if (desktop == nullptr) throw SystemFailure("GetThreadDesktop");
  // A desktop without windows ends the enumeration with an error too.
  EnumDesktopWindows(desktop, AddDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void DeclineDialogWindow(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  const BOOL posted =
      cancel != nullptr
          ? PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel))
          : PostMessageW(dialog, WM_CLOSE, 0, 0);
  if (!posted) throw SystemFailure("PostMessageW");
}

}  // namespace vantrel
