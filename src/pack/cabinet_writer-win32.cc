#include "pack/pack_machine-win32.h"

#include <windows.h>
#include <fci.h>
#include <fcntl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(fciCreate, L"cabinet.dll", FCICreate);
VANTREL_SYSTEM_ENTRY(fciAddFile, L"cabinet.dll", FCIAddFile);
VANTREL_SYSTEM_ENTRY(fciFlushCabinet, L"cabinet.dll", FCIFlushCabinet);
VANTREL_SYSTEM_ENTRY(fciDestroy, L"cabinet.dll", FCIDestroy);

// What the callbacks share. The library hands every file name back to the
// callbacks unchanged, so names travel as UTF-8 and any path survives,
// whatever the code page.
struct Session {
  std::string tempFolder;
  int tempFiles = 0;
  bool nameIsUtf8 = false;
  DWORD lastError = 0;
};

Session& Of(void* pv) { return *static_cast<Session*>(pv); }

HANDLE AsHandle(INT_PTR hf) { return reinterpret_cast<HANDLE>(hf); }

// A callback's failure: the library stores *err in the ERF, and the session
// keeps the system's code for the message.
template <typename Result>
Result Failed(void* pv, int* err, Result result) {
  Of(pv).lastError = GetLastError();
  *err = static_cast<int>(Of(pv).lastError);
  return result;
}

// The callbacks take fci.h's FNFCI* signatures; one that leaves a parameter
// unused is written out, that parameter unnamed.
FNFCIALLOC(Allocate) { return std::malloc(cb); }

FNFCIFREE(Release) { std::free(memory); }

INT_PTR DIAMONDAPI OpenFile(char* pszFile, int oflag, int /*pmode*/, int* err, void* pv) {
  const int access = oflag & (_O_RDONLY | _O_WRONLY | _O_RDWR);
  const DWORD rights = access == _O_RDWR     ? GENERIC_READ | GENERIC_WRITE
                       : access == _O_WRONLY ? GENERIC_WRITE
                                             : GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if (oflag & _O_CREAT) {
    disposition = (oflag & _O_EXCL) ? CREATE_NEW : (oflag & _O_TRUNC) ? CREATE_ALWAYS : OPEN_ALWAYS;
  } else if (oflag & _O_TRUNC) {
    disposition = TRUNCATE_EXISTING;
  }
  HANDLE file = CreateFileW(FromUtf8(pszFile).c_str(), rights, FILE_SHARE_READ, nullptr,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Failed<INT_PTR>(pv, err, -1);
  return reinterpret_cast<INT_PTR>(file);
}

FNFCIREAD(ReadBytes) {
  DWORD done = 0;
  if (!ReadFile(AsHandle(hf), memory, cb, &done, nullptr)) return Failed<UINT>(pv, err, UINT(-1));
  return done;
}

FNFCIWRITE(WriteBytes) {
  DWORD done = 0;
  if (!WriteFile(AsHandle(hf), memory, cb, &done, nullptr)) return Failed<UINT>(pv, err, UINT(-1));
  return done;
}

int DIAMONDAPI CloseFile(INT_PTR hf, int* /*err*/, void* /*pv*/) {
  UniqueKernelHandle owned(AsHandle(hf));
  return 0;
}

FNFCISEEK(SeekFile) {
  // SEEK_SET, SEEK_CUR and SEEK_END are FILE_BEGIN, FILE_CURRENT and FILE_END.
  const DWORD position = SetFilePointer(AsHandle(hf), dist, nullptr, static_cast<DWORD>(seektype));
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    return Failed<long>(pv, err, -1);
  }
  return static_cast<long>(position);
}

FNFCIDELETE(DeleteTemp) {
  if (!DeleteFileW(FromUtf8(pszFile).c_str())) return Failed<int>(pv, err, -1);
  return 0;
}

FNFCIGETTEMPFILE(TempName) {
  Session& session = Of(pv);
  const std::string name =
      session.tempFolder + "\\fci-" + std::to_string(++session.tempFiles) + ".tmp";
  if (name.size() + 1 > static_cast<std::size_t>(cbTempName)) return FALSE;
  std::memcpy(pszTempName, name.c_str(), name.size() + 1);
  return TRUE;
}

// Callbacks the library requires and the writer has no use for.
int DIAMONDAPI Placed(PCCAB, char*, long, BOOL, void*) { return 0; }
long DIAMONDAPI Progress(UINT, ULONG, ULONG, void*) { return 0; }
// The cabinet has no size limit, so the library never asks for a next one.
BOOL DIAMONDAPI NoNextCabinet(PCCAB, ULONG, void*) { return FALSE; }

FNFCIGETOPENINFO(OpenWithInfo) {
  const INT_PTR hf = OpenFile(pszName, _O_RDONLY, 0, err, pv);
  if (hf == -1) return -1;
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!GetFileInformationByHandle(AsHandle(hf), &info)) {
    Failed<int>(pv, err, 0);
    CloseFile(hf, err, pv);
    return -1;
  }
  FILETIME local = {};
  // Cabinets keep DOS times, which start in 1980; older files get that start.
  if (!FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) ||
      !FileTimeToDosDateTime(&local, pdate, ptime)) {
    *pdate = (1 << 5) | 1;
    *ptime = 0;
  }
  *pattribs = static_cast<USHORT>(info.dwFileAttributes &
                                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  if (Of(pv).nameIsUtf8) *pattribs |= _A_NAME_IS_UTF;
  return hf;
}

// The compression context, destroyed once whichever way the writer leaves.
using FciHandle = UniqueBoundHandle<HFCI, fciDestroy>;

PlatformFailure CabinetFailure(const std::string& call, const ERF& erf, const Session& session) {
  if (session.lastError != 0) return SystemFailure(call.c_str(), session.lastError);
  return PlatformFailure(call + ": the cabinet library failed (FCI error " +
                         std::to_string(erf.erfOper) + ", " + std::to_string(erf.erfType) + ")");
}

void CopyInto(char* field, std::size_t size, const std::string& text, const char* what) {
  if (text.size() + 1 > size) throw PlatformFailure(std::string("cabinet ") + what + " too long");
  std::memcpy(field, text.c_str(), text.size() + 1);
}

}  // namespace

void Win32PackMachine::WriteCabinet(const std::wstring& cabinetPath,
                                      const std::vector<CabinetEntry>& files) {
  const std::size_t slash = cabinetPath.rfind(L'\\');
  Session session;
  session.tempFolder = ToUtf8(cabinetPath.substr(0, slash));
  CCAB cab = {};
  // No size limit: one cabinet, one folder.
  cab.cb = 0x7FFFFFFF;
  cab.cbFolderThresh = 0x7FFFFFFF;
  cab.iCab = 1;
  CopyInto(cab.szCabPath, sizeof cab.szCabPath, session.tempFolder + "\\", "folder");
  CopyInto(cab.szCab, sizeof cab.szCab, ToUtf8(cabinetPath.substr(slash + 1)), "name");

  ERF erf = {};
  FciHandle fci(fciCreate.get()(&erf, Placed, Allocate, Release, OpenFile, ReadBytes, WriteBytes,
                                CloseFile, SeekFile, DeleteTemp, TempName, &cab, &session));
  if (!fci) throw CabinetFailure("FCICreate", erf, session);
  for (const CabinetEntry& file : files) {
    std::string source = ToUtf8(file.source);
    std::string stored = ToUtf8(file.name);
    session.nameIsUtf8 =
        std::any_of(stored.begin(), stored.end(), [](unsigned char c) { return c >= 0x80; });
    if (!fciAddFile.get()(fci.get(), &source[0], &stored[0], FALSE, NoNextCabinet, Progress,
                          OpenWithInfo, tcompTYPE_MSZIP)) {
      throw CabinetFailure("FCIAddFile for " + stored, erf, session);
    }
  }
  if (!fciFlushCabinet.get()(fci.get(), FALSE, NoNextCabinet, Progress)) {
    throw CabinetFailure("FCIFlushCabinet for " + ToUtf8(cabinetPath), erf, session);
  }
}

}  // namespace vantrel
