// The engine's answer to which files a section copies: setupapi queues the
// section's copies, and each target is compared with its source as it
// stands now.
#include "inf/inf_engine-win32.h"

#include <windows.h>
#include <setupapi.h>
#include <winver.h>

#include <algorithm>
#include <vector>

#include "inf/inf_file-win32.h"
#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(openFileQueue, L"setupapi.dll", SetupOpenFileQueue);
VANTREL_SYSTEM_ENTRY(closeFileQueue, L"setupapi.dll", SetupCloseFileQueue);
VANTREL_SYSTEM_ENTRY(installFilesFromInfSection, L"setupapi.dll", SetupInstallFilesFromInfSectionW);
VANTREL_SYSTEM_ENTRY(scanFileQueue, L"setupapi.dll", SetupScanFileQueueW);
VANTREL_SYSTEM_ENTRY(getFileVersionInfoSize, L"version.dll", GetFileVersionInfoSizeW);
VANTREL_SYSTEM_ENTRY(getFileVersionInfo, L"version.dll", GetFileVersionInfoW);
VANTREL_SYSTEM_ENTRY(verQueryValue, L"version.dll", VerQueryValueW);

using FileQueue = UniqueBoundHandle<HSPFILEQ, closeFileQueue>;

UINT CALLBACK CollectCopy(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  if (notification == SPFILENOTIFY_QUEUESCAN_EX) {
    const FILEPATHS_W* paths = reinterpret_cast<const FILEPATHS_W*>(param1);
    CopiedFile file;
    file.target = paths->Target ? paths->Target : L"";
    file.source = paths->Source ? paths->Source : L"";
    static_cast<std::vector<CopiedFile>*>(context)->push_back(file);
  }
  return NO_ERROR;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

UniqueKernelHandle OpenForReading(const std::wstring& path) {
  // Whoever else has it open may go on using it.
  return UniqueKernelHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                        nullptr));
}

bool SameBytes(HANDLE a, HANDLE b) {
  LARGE_INTEGER sizeA = {}, sizeB = {};
  if (!GetFileSizeEx(a, &sizeA) || !GetFileSizeEx(b, &sizeB)) throw SystemFailure("GetFileSizeEx");
  if (sizeA.QuadPart != sizeB.QuadPart) return false;
  std::vector<char> bufferA(64 * 1024), bufferB(bufferA.size());
  for (;;) {
    DWORD readA = 0, readB = 0;
    if (!ReadFile(a, bufferA.data(), static_cast<DWORD>(bufferA.size()), &readA, nullptr) ||
        !ReadFile(b, bufferB.data(), static_cast<DWORD>(bufferB.size()), &readB, nullptr)) {
      throw SystemFailure("ReadFile");
    }
    if (readA != readB || !std::equal(bufferA.begin(), bufferA.begin() + readA, bufferB.begin())) {
      return false;
    }
    if (readA == 0) return true;
  }
}

TargetContent ContentOf(const std::wstring& target, const std::wstring& source) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return TargetContent::kMissing;
  }
  const UniqueKernelHandle sourceFile = OpenForReading(source);
  if (!sourceFile) return TargetContent::kNotComparable;
  // A target nobody may read is one the engine could not have written
  // either.
  const UniqueKernelHandle targetFile = OpenForReading(target);
  if (!targetFile) return TargetContent::kOtherBytes;
  return SameBytes(sourceFile.get(), targetFile.get()) ? TargetContent::kSourceBytes
                                                       : TargetContent::kOtherBytes;
}

// The file version of its version resource, 0 where it has none.
ULONGLONG FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = getFileVersionInfoSize.get()(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!getFileVersionInfo.get()(path.c_str(), 0, size, data.data()) ||
      !verQueryValue.get()(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof *info) {
    return 0;
  }
  return (static_cast<ULONGLONG>(info->dwFileVersionMS) << 32) | info->dwFileVersionLS;
}

VersionOrder TargetVersion(const std::wstring& target, const std::wstring& source) {
  const ULONGLONG installed = FileVersion(target);
  const ULONGLONG packaged = FileVersion(source);
  if (installed == 0 || packaged == 0) return VersionOrder::kNone;
  if (installed == packaged) return VersionOrder::kSame;
  return installed > packaged ? VersionOrder::kNewer : VersionOrder::kOlder;
}

}  // namespace

// The section's copies in a queue of its own that is never carried out.
std::vector<CopiedFile> Win32InfEngine::FilesOfSection(const std::wstring& infPath,
                                                       const std::wstring& section) {
  const InfFile inf(infPath);
  const FileQueue queue(openFileQueue.get()());
  if (!queue) throw SystemFailure("SetupOpenFileQueue");
  // The sources are the package's, beside the INF.
  if (!installFilesFromInfSection.get()(inf.Handle(), nullptr, queue.get(), section.c_str(),
                                        FolderOf(infPath).c_str(), 0)) {
    throw SystemFailure("SetupInstallFilesFromInfSectionW");
  }
  std::vector<CopiedFile> files;
  DWORD result = 0;
  if (!scanFileQueue.get()(queue.get(), SPQ_SCAN_USE_CALLBACKEX, nullptr, CollectCopy, &files,
                           &result)) {
    throw SystemFailure("SetupScanFileQueueW");
  }
  // Compared once the scan is over: a failure is never thrown through setupapi.
  for (CopiedFile& file : files) {
    file.content = ContentOf(file.target, file.source);
    if (file.content == TargetContent::kOtherBytes) {
      file.targetVersion = TargetVersion(file.target, file.source);
    }
  }
  return files;
}

}  // namespace vantrel
