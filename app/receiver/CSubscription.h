#pragma once
// The handle of one subscription of a receiver. Destroying it (or Reset())
// ends the subscription; it can be moved, not copied. An empty handle stands
// for a subscription that was not made.
#include <functional>

class CSubscription {
  public:
    using Cancel = std::function<void()>;

    CSubscription() = default;
    /// A live subscription that `cancel` ends (called at most once).
    explicit CSubscription(Cancel cancel) : cancel_(std::move(cancel)) {}
    ~CSubscription() { Reset(); }

    CSubscription(CSubscription&& other) noexcept : cancel_(std::move(other.cancel_)) {
        other.cancel_ = nullptr;
    }
    CSubscription& operator=(CSubscription&& other) noexcept;
    CSubscription(const CSubscription&) = delete;
    CSubscription& operator=(const CSubscription&) = delete;

    /// True while the subscription runs.
    explicit operator bool() const { return static_cast<bool>(cancel_); }
    /// Ends the subscription now; the handle is empty afterwards.
    void Reset();

  private:
    Cancel cancel_;
};
