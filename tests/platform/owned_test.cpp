// The owners: what they close, when, and what they never touch.
#include "platform/owned.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/process_counts.h"

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
    platform::Handle stale(raw);  // already closed elsewhere
    EXPECT_FALSE(stale.Close());
}

TEST(Owned, GdiObjectsGoBackWithTheirSelections) {
    platform::MemoryDc(CreateCompatibleDC(nullptr));  // the first DC makes what GDI keeps for the process
    size_t before = testsupport::GdiObjects();
    {
        platform::MemoryDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
        platform::Gdi<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), 8, 8));
        platform::Gdi<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
        {
            platform::Selection selected(dc.get(), bitmap.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
        EXPECT_GE(testsupport::GdiObjects(), before + 3);
    }
    EXPECT_EQ(testsupport::GdiObjects(), before);
}

// Counts its references, as a COM object does.
struct Counted : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Owned, AComPointerIsAdoptedOrSharedAndReleasedOnce) {
    Counted object;
    {
        platform::Com<IUnknown> shared = platform::AddRefed<IUnknown>(&object);
        EXPECT_EQ(object.refs, 2u);
        platform::Com<IUnknown> moved(std::move(shared));
        EXPECT_EQ(object.refs, 2u);
    }
    EXPECT_EQ(object.refs, 1u);
    {
        platform::Com<IUnknown> adopted(&object);  // takes over the reference it was made with
        *adopted.PutVoid() = nullptr;              // Put releases what was held first
        EXPECT_EQ(object.refs, 0u);
    }
    EXPECT_EQ(object.refs, 0u);
}

}  // namespace
