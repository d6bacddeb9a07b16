// The store of the receipts: the programs read, write and delete them only
// through it (receipt_store-win32.h on Windows, memory in the unit tests).
#pragma once

#include <string>

#include "record/receipt.h"

namespace vantrel {

// Where receipts are kept. Each call throws PlatformFailure, with the
// system's error, when the system cannot do it.
class ReceiptStore {
 public:
  virtual ~ReceiptStore() = default;

  // The receipt kept for the INF name, its texts only (values it lacks stay
  // empty); false where there is none.
  virtual bool ReadReceipt(const std::wstring& infName, Receipt& receipt) = 0;
  // Replaces whatever the INF name's key held by the receipt. Where that
  // fails, the key is left holding what it held before.
  virtual void WriteReceipt(const std::wstring& infName, const Receipt& receipt) = 0;
  // Deletes the INF name's key; false where there was none.
  virtual bool DeleteReceipt(const std::wstring& infName) = 0;
};

}  // namespace vantrel
