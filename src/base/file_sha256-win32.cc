#include "base/file_sha256-win32.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

#include "base/system_entry-win32.h"
#include "base/system_error-win32.h"
#include "base/unique_handle-win32.h"

namespace vantrel {

namespace {

VANTREL_SYSTEM_ENTRY(openAlgorithmProvider, L"bcrypt.dll", BCryptOpenAlgorithmProvider);
VANTREL_SYSTEM_ENTRY(closeAlgorithmProvider, L"bcrypt.dll", BCryptCloseAlgorithmProvider);
VANTREL_SYSTEM_ENTRY(createHash, L"bcrypt.dll", BCryptCreateHash);
VANTREL_SYSTEM_ENTRY(hashData, L"bcrypt.dll", BCryptHashData);
VANTREL_SYSTEM_ENTRY(finishHash, L"bcrypt.dll", BCryptFinishHash);
VANTREL_SYSTEM_ENTRY(destroyHash, L"bcrypt.dll", BCryptDestroyHash);
SystemEntry<ULONG(WINAPI*)(NTSTATUS)> ntStatusToDosError(L"ntdll.dll", "RtlNtStatusToDosError");

struct ProviderCloser : Win32Closer {
  void operator()(BCRYPT_ALG_HANDLE provider) const { closeAlgorithmProvider.get()(provider, 0); }
};
using Provider = UniqueHandle<BCRYPT_ALG_HANDLE, ProviderCloser>;
using Hash = UniqueBoundHandle<BCRYPT_HASH_HANDLE, destroyHash>;

constexpr DWORD kSha256Bytes = 32;
constexpr DWORD kPieceBytes = 1 << 16;

// CNG answers with an NTSTATUS, which the system's error texts know once
// turned into a Win32 code.
void Check(const char* call, NTSTATUS status) {
  if (status < 0) throw SystemFailure(call, ntStatusToDosError.get()(status));
}

}  // namespace

std::wstring Win32FileHasher::FileSha256(const std::wstring& path) {
  const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) throw SystemFailure("CreateFileW");
  Provider provider;
  Check("BCryptOpenAlgorithmProvider",
        openAlgorithmProvider.get()(provider.put(), BCRYPT_SHA256_ALGORITHM, nullptr, 0));
  Hash hash;
  Check("BCryptCreateHash",
        createHash.get()(provider.get(), hash.put(), nullptr, 0, nullptr, 0, 0));
  std::vector<UCHAR> piece(kPieceBytes);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), piece.data(), kPieceBytes, &read, nullptr))
      throw SystemFailure("ReadFile");
    if (read == 0) break;
    Check("BCryptHashData", hashData.get()(hash.get(), piece.data(), read, 0));
  }
  UCHAR digest[kSha256Bytes];
  Check("BCryptFinishHash", finishHash.get()(hash.get(), digest, kSha256Bytes, 0));
  static const wchar_t kHex[] = L"0123456789abcdef";
  std::wstring text;
  for (const UCHAR byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace vantrel
