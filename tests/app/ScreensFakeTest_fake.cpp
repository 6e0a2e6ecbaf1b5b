// Placement on screens only the in-memory machine can have: a 4K primary
// screen with a second monitor to its left.
#include "app/start/WindowGeometry.h"

#include "platform/FileIo.h"
#include "platform/fake/FakeScreens.h"
#include "settings/MappedData.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace s::app::win {
namespace {

TEST(ScreensFake, AStoredPlaceOnTheLeftMonitorIsKeptAndOneOffEveryMonitorIsCentred)
{
    s::platform::fakeScreens().set({0, 0, 3840, 2160}, {0, 0, 3840, 2120}, {-1920, 0, 5760, 2160});
    testing_platform::ScratchFolder scratch;
    scratch.putFile(u"SaveData.xml", R"(<savedata><MainWindow><View4K X="-1500" Y="100"/>)"
                                     R"(<View X="-5000" Y="100"/></MainWindow></savedata>)");
    auto store = s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo());
    ASSERT_TRUE(store);
    const FrameGeometry atFourK(u"MainWindow", 2, 1260, 1000);
    EXPECT_EQ(atFourK.placement(*store).rect, (Rect{-1500, 100, 1260, 1000}));
    const FrameGeometry atOne(u"MainWindow", 1, 630, 500);
    EXPECT_EQ(atOne.placement(*store).rect, (Rect{1605, 810, 630, 500}));
    s::platform::fakeScreens().reset();
}

}  // namespace
}  // namespace s::app::win
