// The About window's pictures as the program carries them: the files of res/, byte
// for byte, and JPEG pictures of the sizes the window lays out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/archive/ProgramResourceIds.h"
#include "s/archive/ProgramResources.h"
#include "s/col/_array/ArrayU08.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/thread/Owned.h"

namespace {

namespace program = s::archive::program;
using s::thread::Owned;

TEST(ProgramPictures, TheProgramCarriesBothBannersAsJpeg) {
  struct Case {
    uint16_t number;
    const char* file;
    int width, height;
  };
  const Case cases[] = {
      {program::kWidePicture, "about-wide.jpg", 700, 230},
      {program::kTallPicture, "about-tall.jpg", 230, 700},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Owned<s::col::_array::ArrayU08> bytes = s::thread::make<s::col::_array::ArrayU08>();
    ASSERT_TRUE(s::archive::ProgramResources::instance().readResource(program::kPictureType, c.number, bytes.get()));
    const std::vector<uint8_t> carried(bytes->data(), bytes->data() + bytes->getCount());
    EXPECT_EQ(carried, testing_streams::readFile(std::string(PICTORVA_SOURCE_DIR "/res/") + c.file));
    testing_streams::MemoryInputStream in(carried);
    Owned<s::image::jpg::win::Jpeg> jpeg(s::image::jpg::win::Jpeg::create());
    ASSERT_TRUE(jpeg->read(in));
    EXPECT_EQ(jpeg->getWidth(), c.width);
    EXPECT_EQ(jpeg->getHeight(), c.height);
  }
}

}  // namespace
