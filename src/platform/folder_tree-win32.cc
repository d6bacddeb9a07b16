#include "platform/folder_tree-win32.h"

#include <windows.h>

#include <cstdio>

#include "base/system_error-win32.h"
#include "base/system_text-win32.h"
#include "base/text.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

struct TreeEntry {
  std::wstring name;
  DWORD attributes = 0;
  DWORD reparseTag = 0;
};

// The "\\?\" form lifts MAX_PATH, but it also turns off the system's own
// normalisation, so the path is made full first.
std::wstring ExtendedLengthPath(const std::wstring& path) {
  const std::wstring full = FullPath(path);
  if (full.compare(0, 4, L"\\\\?\\") == 0) return full;
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The path as the rest of the program and the record spell it.
std::wstring OrdinaryPath(const std::wstring& extended) {
  if (extended.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + extended.substr(8);
  if (extended.compare(0, 4, L"\\\\?\\") == 0) return extended.substr(4);
  return extended;
}

std::string Subject(const char* call, const std::wstring& extended) {
  return std::string(call) + " for " + ToUtf8(OrdinaryPath(extended));
}

bool IsLink(const TreeEntry& entry) {
  return (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Only a real folder is entered; a link to a folder is an entry like a file.
bool IsRealFolder(const TreeEntry& entry) {
  return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(entry);
}

TreeEntry EntryOf(const WIN32_FIND_DATAW& found) {
  TreeEntry entry;
  entry.name = found.cFileName;
  entry.attributes = found.dwFileAttributes;
  // The search reports the reparse tag only for reparse points.
  entry.reparseTag = IsLink(entry) ? found.dwReserved0 : 0;
  return entry;
}

// A search for the pattern at the path; none when nothing is there.
UniqueFindHandle StartSearch(const std::wstring& path, const wchar_t* pattern,
                             WIN32_FIND_DATAW& found) {
  UniqueFindHandle search(FindFirstFileW((path + pattern).c_str(), &found));
  const DWORD code = GetLastError();
  if (!search && !Absent(static_cast<LONG>(code))) throw SystemFailure(Subject("FindFirstFileW", path).c_str(), code);
  return search;
}

// The path itself as an entry; false when there is nothing at the path.
bool RootEntry(const std::wstring& extended, TreeEntry& root) {
  WIN32_FIND_DATAW found = {};
  if (!StartSearch(extended, L"", found)) return false;
  root = EntryOf(found);
  return true;
}

std::vector<TreeEntry> EntriesOf(const std::wstring& folder) {
  std::vector<TreeEntry> entries;
  WIN32_FIND_DATAW found = {};
  const UniqueFindHandle search = StartSearch(folder, L"\\*", found);
  if (!search) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") entries.push_back(EntryOf(found));
  } while (FindNextFileW(search.get(), &found));
  const DWORD code = GetLastError();
  if (code != ERROR_NO_MORE_FILES)
    throw SystemFailure(Subject("FindNextFileW", folder).c_str(), code);
  return entries;
}

// Walks the tree depth first without recursion, so that a package's deepest
// path cannot exhaust the stack; only the current path and the entries still
// to visit beside it are held. Visit(path, entry) is called for every entry
// below the root folder, before anything inside it, and may end the walk by
// returning false; Leave(path, entry) once a folder's contents are done, the
// root's last.
template <typename Visit, typename Leave>
void WalkTree(const std::wstring& root, const TreeEntry& rootEntry, Visit visit, Leave leave) {
  struct Level {
    std::size_t pathLength;
    TreeEntry folder;
    std::vector<TreeEntry> pending;
  };
  std::wstring path = root;
  std::vector<Level> levels;
  levels.push_back(Level{path.size(), rootEntry, EntriesOf(path)});
  while (!levels.empty()) {
    path.resize(levels.back().pathLength);
    if (levels.back().pending.empty()) {
      const TreeEntry folder = std::move(levels.back().folder);
      levels.pop_back();
      leave(path, folder);
      continue;
    }
    const TreeEntry entry = std::move(levels.back().pending.back());
    levels.back().pending.pop_back();
    path += L"\\" + entry.name;
    if (!visit(path, entry)) return;
    if (IsRealFolder(entry)) levels.push_back(Level{path.size(), entry, EntriesOf(path)});
  }
}

std::wstring LinkKind(DWORD reparseTag) {
  switch (reparseTag) {
    case IO_REPARSE_TAG_SYMLINK:
      return L"symbolic link";
    case IO_REPARSE_TAG_MOUNT_POINT:
      return L"junction or mount point";
    default: {
      wchar_t tag[16];
      std::swprintf(tag, sizeof tag / sizeof tag[0], L"0x%08lX",
                    static_cast<unsigned long>(reparseTag));
      return std::wstring(L"reparse point (tag ") + tag + L")";
    }
  }
}

// A read-only entry refuses to go. The attribute is cleared through a handle
// of the entry itself: by its path, a link's target would lose it instead.
void ClearReadOnly(const std::wstring& path, const TreeEntry& entry) {
  UniqueKernelHandle opened(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
  if (!opened) return;  // the delete then says why
  FILE_BASIC_INFO basic = {};  // times of zero stay as they are
  const DWORD settable =
      entry.attributes &
      ~DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT};
  basic.FileAttributes = settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL;
  SetFileInformationByHandle(opened.get(), FileBasicInfo, &basic, sizeof basic);
}

void DeleteEntry(const std::wstring& path, const TreeEntry& entry) {
  if ((entry.attributes & FILE_ATTRIBUTE_READONLY) != 0) ClearReadOnly(path, entry);
  // RemoveDirectory takes a junction or a folder link away as a link.
  const bool folder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) return;
  const DWORD code = GetLastError();
  if (Absent(static_cast<LONG>(code))) return;
  throw SystemFailure(Subject(folder ? "RemoveDirectoryW" : "DeleteFileW", path).c_str(), code);
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
  std::wstring full = AskSystemText("GetFullPathNameW", [&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
  // "C:\" keeps its separator; any other folder loses a trailing one.
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

TreeSurvey SurveyTreeAt(const std::wstring& path) {
  const std::wstring root = ExtendedLengthPath(path);
  TreeSurvey survey;
  const auto note = [&](const std::wstring& entryPath, const TreeEntry& entry) {
    const std::wstring ordinary = OrdinaryPath(entryPath);
    if (survey.link.path.empty() && IsLink(entry)) {
      survey.link = FolderLink{ordinary, LinkKind(entry.reparseTag)};
    }
    if (survey.pathBeyondShell.empty() && ordinary.size() > kLongestShellPath) {
      survey.pathBeyondShell = ordinary;
    }
    return survey.link.path.empty() || survey.pathBeyondShell.empty();
  };
  TreeEntry rootEntry;
  if (!RootEntry(root, rootEntry)) return survey;
  if (note(root, rootEntry) && IsRealFolder(rootEntry)) {
    WalkTree(root, rootEntry, note, [](const std::wstring&, const TreeEntry&) {});
  }
  return survey;
}

std::vector<TreeItem> ListTreeAt(const std::wstring& path) {
  std::wstring root = ExtendedLengthPath(path);
  std::vector<TreeItem> items;
  TreeEntry rootEntry;
  // A drive root is no entry the search can find, but a folder all the same.
  if (root.back() == L'\\') {
    root.pop_back();
    rootEntry.attributes = FILE_ATTRIBUTE_DIRECTORY;
  } else if (!RootEntry(root, rootEntry) || !IsRealFolder(rootEntry)) {
    return items;
  }
  WalkTree(
      root, rootEntry,
      [&](const std::wstring& entryPath, const TreeEntry& entry) {
        items.push_back(TreeItem{entryPath.substr(root.size() + 1),
                                 (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                 IsLink(entry)});
        return true;
      },
      [](const std::wstring&, const TreeEntry&) {});
  return items;
}

void DeleteWholeTree(const std::wstring& path) {
  const std::wstring root = ExtendedLengthPath(path);
  TreeEntry rootEntry;
  if (!RootEntry(root, rootEntry)) return;
  if (!IsRealFolder(rootEntry)) {
    DeleteEntry(root, rootEntry);
    return;
  }
  WalkTree(
      root, rootEntry,
      [](const std::wstring& entryPath, const TreeEntry& entry) {
        if (!IsRealFolder(entry)) DeleteEntry(entryPath, entry);
        return true;
      },
      DeleteEntry);
}

}  // namespace vantrel
