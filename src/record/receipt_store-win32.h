// Receipts in the registry of the machine, native view, each key written so
// that it holds either the old receipt or the new one, never a mix.
#pragma once

#include "record/receipt_store.h"

namespace vantrel {

class Win32ReceiptStore : public ReceiptStore {
 public:
  bool ReadReceipt(const std::wstring& infName, Receipt& receipt) override;
  void WriteReceipt(const std::wstring& infName, const Receipt& receipt) override;
  bool DeleteReceipt(const std::wstring& infName) override;
};

}  // namespace vantrel
