// The subscription handle ends its subscription exactly once: when it goes,
// when it is reset, or when another subscription is moved into it.
#include <gtest/gtest.h>

#include "receiver/CSubscription.h"

TEST(Subscription, EndsOnceWhateverEndsIt) {
    int ended = 0;
    {
        CSubscription s([&] { ++ended; });
        EXPECT_TRUE(s);
        s.Reset();
        EXPECT_FALSE(s);
        s.Reset();
    }
    EXPECT_EQ(ended, 1);
}

TEST(Subscription, MovesCarryTheSubscriptionAndReplaceEndsTheOldOne) {
    int first = 0, second = 0;
    CSubscription a([&] { ++first; });
    CSubscription b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(first, 0);
    b = CSubscription([&] { ++second; });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    b = CSubscription();
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(CSubscription());
}

// The cancel function may destroy the object that holds the handle (a
// subscriber that goes away with its subscription); it runs once even so.
TEST(Subscription, CancelMayDestroyTheHandleOwner) {
    struct Owner {
        CSubscription handle;
    };
    int ended = 0;
    auto* owner = new Owner;
    owner->handle = CSubscription([&ended, &owner] {
        ++ended;
        Owner* o = owner;
        owner = nullptr;
        delete o;
    });
    owner->handle.Reset();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(owner, nullptr);
}
