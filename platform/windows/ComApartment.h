#pragma once

#include <objbase.h>
#include <windows.h>

namespace talvane {

// The calling thread's membership of a single-threaded COM apartment (popup
// components draw windows), for the object's lifetime. Memberships nest: each
// one ends its own. The program joins only where COM is first needed (the
// panel's first pictures, the first popup component), so that start-up pays
// nothing for COM.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return SUCCEEDED(result_); }

  private:
    HRESULT result_;
};

}  // namespace talvane
