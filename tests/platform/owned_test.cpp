// The owners: what they close, when, and what they never touch.
#include "platform/owned.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(Owned, AHandleIsClosedOnceByItsLastOwnerAndNoneIsNeverClosed) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        platform::Handle first(raw);
        platform::Handle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(second);
        platform::Handle third;
        third = std::move(second);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    // CreateFile's "none" and CreateEvent's are both none.
    platform::Handle missing(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.Close());
    EXPECT_FALSE(platform::Handle(nullptr));
}

TEST(Owned, CloseReportsWhetherTheReleaseWorked) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    platform::Handle owner(raw);
    EXPECT_TRUE(owner.Close());
    EXPECT_FALSE(owner);
    EXPECT_FALSE(IsOpen(raw));
    // A handle that may not be closed: the failure reaches the caller.
    raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetHandleInformation(raw, HANDLE_FLAG_PROTECT_FROM_CLOSE, HANDLE_FLAG_PROTECT_FROM_CLOSE);
    platform::Handle guarded(raw);
    EXPECT_FALSE(guarded.Close());
    EXPECT_TRUE(IsOpen(raw));
    SetHandleInformation(raw, HANDLE_FLAG_PROTECT_FROM_CLOSE, 0);
    EXPECT_TRUE(platform::Handle(raw).Close());
}

}  // namespace
