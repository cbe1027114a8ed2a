#pragma once

#include <windows.h>

#include <oleauto.h>

#include <utility>

namespace talvane::win {

// A BSTR freed with SysFreeString when the owner goes. put() hands the
// address to a call that writes a new string (the old one is freed first).
class UniqueBstr {
  public:
    UniqueBstr() = default;
    explicit UniqueBstr(BSTR text) noexcept : text_(text) {}
    ~UniqueBstr() { SysFreeString(text_); }
    UniqueBstr(UniqueBstr&& other) noexcept : text_(other.release()) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR get() const noexcept { return text_; }
    BSTR* put() noexcept {
        reset();
        return &text_;
    }
    // For a by-reference argument: the callee may free the string and
    // write another in its place, which the owner then frees.
    BSTR* addressOf() noexcept { return &text_; }
    BSTR release() noexcept { return std::exchange(text_, nullptr); }
    void reset(BSTR text = nullptr) noexcept { SysFreeString(std::exchange(text_, text)); }

  private:
    BSTR text_ = nullptr;
};

// A VARIANT that starts empty (VariantInit) and is cleared (VariantClear,
// which frees its string or releases its object) when the owner goes.
class UniqueVariant {
  public:
    UniqueVariant() noexcept { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT& get() noexcept { return value_; }
    const VARIANT& get() const noexcept { return value_; }
    VARIANT* put() noexcept {
        reset();
        return &value_;
    }
    void reset() noexcept {
        VariantClear(&value_);
        VariantInit(&value_);
    }

  private:
    VARIANT value_;
};

// The strings a failed IDispatch::Invoke may leave in its EXCEPINFO, freed
// whichever way the caller leaves.
class ExceptionInfo {
  public:
    ExceptionInfo() = default;
    ~ExceptionInfo() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;

    EXCEPINFO& get() noexcept { return info_; }
    EXCEPINFO* put() noexcept { return &info_; }

  private:
    EXCEPINFO info_ = {};
};

}  // namespace talvane::win
