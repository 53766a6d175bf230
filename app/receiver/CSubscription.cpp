#include "receiver/CSubscription.h"

CSubscription& CSubscription::operator=(CSubscription&& other) noexcept {
    if (this != &other) {
        Reset();
        cancel_ = std::move(other.cancel_);
        other.cancel_ = nullptr;
    }
    return *this;
}

void CSubscription::Reset() {
    // Taken out first: the cancel function may destroy whatever owns this
    // handle's callback, and must run only once.
    Cancel cancel = std::move(cancel_);
    cancel_ = nullptr;
    if (cancel) cancel();
}
