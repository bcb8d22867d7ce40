// Platform icons from icon images: a DIB entry and a PNG-compressed one.
#include <windows.h>

#include <gtest/gtest.h>

#include "image/ico/win/IconFixtures.h"
#include "s/col/_array/ArrayU08.h"

namespace {

using namespace icon_fixtures;

TEST(IconHandle, PlatformIconsOfTheImagesSize) {
  for (int size : {32, 300}) {
    SCOPED_TRACE(size);
    Owned<BufferedImage> image = picture(size, size, [](int x, int) { return x < 10 ? 0u : 0xFF2040C0u; });
    Owned<IconImage> icon(iconImage(image.get(), 32));
    HICON handle = static_cast<HICON>(icon->createIconHandle());
    ASSERT_NE(handle, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(handle, &info));
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof(colour), &colour));
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(handle);
    // The entry data the icon was made from is kept.
    EXPECT_GT(icon->getEncoded().getCount(), 0u);
  }
}

}  // namespace
