#include "record/receipt_store-win32.h"

#include <windows.h>

#include "base/registry-win32.h"

namespace vantrel {

namespace {

// On 64-bit Windows the 32-bit program would otherwise write below
// Wow6432Node, where no rule looks; on 32-bit Windows the flag is ignored.
constexpr REGSAM kNativeView = KEY_WOW64_64KEY;

}  // namespace

bool Win32ReceiptStore::ReadReceipt(const std::wstring& infName, Receipt& receipt) {
  RegistryKey key;
  if (!OpenRegistryKey(HKEY_LOCAL_MACHINE, ReceiptSubkey(infName), KEY_QUERY_VALUE | kNativeView,
                       key)) {
    return false;
  }
  receipt = ReceiptOf(OpenKeyValues(key.get()).ReadValues());
  return true;
}

void Win32ReceiptStore::WriteReceipt(const std::wstring& infName, const Receipt& receipt) {
  const std::wstring subkey = ReceiptSubkey(infName);
  RegistryKey key;
  const bool made = CreateRegistryKey(HKEY_LOCAL_MACHINE, subkey,
                                      KEY_QUERY_VALUE | KEY_SET_VALUE | kNativeView, key);
  OpenKeyValues values(key.get());
  // A failed receipt never claims the new version: a key this write made
  // goes again once it is empty.
  ReplaceValues(values, ReceiptValues(receipt), [&] {
    if (!made) return;
    key.reset();
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, subkey, kNativeView);
  });
}

bool Win32ReceiptStore::DeleteReceipt(const std::wstring& infName) {
  // Whatever someone added below it goes too.
  return DeleteRegistryTree(HKEY_LOCAL_MACHINE, ReceiptSubkey(infName), kNativeView);
}

}  // namespace vantrel
