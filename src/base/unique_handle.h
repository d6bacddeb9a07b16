// The one owner template for every handle the programs hold: each handle is
// given back exactly once, by the object that owns it, whichever way the
// code leaves. What differs between kinds is the closer: the call that
// gives the handle back (a Win32 call, or a method of the interface that
// handed it out) and which values are no handle at all.
#pragma once

#include <utility>

namespace vantrel {

template <typename Handle, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  // For a closer that carries state (the interface it gives handles back to).
  explicit UniqueHandle(Closer closer, Handle handle = Handle())
      : closer_(std::move(closer)), handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  // Ownership passes on whole: the handle and the closer it goes back to.
  UniqueHandle(UniqueHandle&& other) noexcept
      : closer_(std::move(other.closer_)), handle_(other.release()) {}

  Handle get() const { return handle_; }
  // For the calls that return the handle through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }
  explicit operator bool() const { return Closer::Valid(handle_); }
  Handle release() {
    Handle handle = handle_;
    handle_ = Handle();
    return handle;
  }
  void reset(Handle handle = Handle()) {
    const Handle old = handle_;
    handle_ = handle;
    if (Closer::Valid(old)) closer_(old);
  }

 private:
  Closer closer_;
  Handle handle_ = Handle();
};

// Gives a handle back through a method of the interface that handed it
// out: a process to the platform, the lock to the lock.
template <typename Owner, typename Handle, void (Owner::*Give)(Handle)>
struct GiveBackTo {
  Owner* owner = nullptr;
  static bool Valid(Handle handle) { return handle != Handle(); }
  void operator()(Handle handle) const { (owner->*Give)(handle); }
};

}  // namespace vantrel
