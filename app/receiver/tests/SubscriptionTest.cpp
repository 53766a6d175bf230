// The subscription handle ends its subscription exactly once, even when the
// cancel function destroys the object that holds the handle (a subscriber
// that goes away with its subscription), and when another one is moved in.
#include <gtest/gtest.h>

#include <utility>

#include "receiver/CSubscription.h"

TEST(Subscription, EndsOnceWhenItsOwnerGoesWithIt) {
    struct Owner {
        CSubscription handle;
    };
    int ended = 0;
    auto* owner = new Owner;
    owner->handle = CSubscription([&ended, &owner] {
        ++ended;
        delete std::exchange(owner, nullptr);
    });
    owner->handle.Reset();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(owner, nullptr);
}

TEST(Subscription, MovingInEndsTheOldOneAndMovingOutCarriesIt) {
    int first = 0, second = 0;
    CSubscription a([&] { ++first; });
    CSubscription b(std::move(a));
    EXPECT_FALSE(a);
    a.Reset();
    EXPECT_EQ(first, 0);
    b = CSubscription([&] { ++second; });
    EXPECT_EQ(first, 1);
    b = CSubscription();
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(b);
}
