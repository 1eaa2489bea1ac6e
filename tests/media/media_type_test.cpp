// Media types: copies own their format block and hold pUnk; matching a
// partly given type; the MediaType value.
#include <platform_filters/media_type.h>

#include <dshow.h>
#include <dvdmedia.h>

#include <gtest/gtest.h>

#include "com_test_objects.h"

namespace {

using platform::media::MediaType;

MediaType VideoInfoType(LONG width) {
  VIDEOINFOHEADER format{};
  format.bmiHeader.biWidth = width;
  return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_VideoInfo, &format, sizeof format);
}

TEST(MediaType, CopyOwnsItsFormatBlockAndHoldsPUnk) {
  testing_support::CountedObject unknown;
  MediaType source = VideoInfoType(640);
  AM_MEDIA_TYPE original = source.Get();
  original.pUnk = &unknown;

  AM_MEDIA_TYPE copy;
  ASSERT_EQ(platform::media::CopyMediaType(&copy, original), S_OK);
  EXPECT_NE(copy.pbFormat, original.pbFormat);
  EXPECT_TRUE(platform::media::IsSameMediaType(copy, original));
  EXPECT_EQ(unknown.references, 2u);

  platform::media::FreeMediaType(copy);
  EXPECT_EQ(copy.pbFormat, nullptr);
  EXPECT_EQ(copy.cbFormat, 0u);
  EXPECT_EQ(copy.pUnk, nullptr);
  EXPECT_EQ(unknown.references, 1u);
}

TEST(MediaType, CreatedCopyIsDeletedWithItsBlock) {
  AM_MEDIA_TYPE *created = platform::media::CreateMediaType(VideoInfoType(320).Get());
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER *>(created->pbFormat)->bmiHeader.biWidth, 320);
  platform::media::DeleteMediaType(created);  // the sanitizer build checks nothing is left
  platform::media::DeleteMediaType(nullptr);
}

TEST(MediaType, PatternsMatchOnWhatTheyGive) {
  const MediaType nv12 = VideoInfoType(640);
  struct Case {
    const char *name;
    MediaType pattern;
    bool matches;
  };
  const Case cases[] = {
      {"nothing given", MediaType(), true},
      {"major type", MediaType(MEDIATYPE_Video, GUID{}, GUID{}, nullptr, 0), true},
      {"other major type", MediaType(MEDIATYPE_Audio, GUID{}, GUID{}, nullptr, 0), false},
      {"subtype only", MediaType(GUID{}, MEDIASUBTYPE_NV12, GUID{}, nullptr, 0), true},
      {"other subtype", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_YV12, GUID{}, nullptr, 0), false},
      {"format type without block", MediaType(MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_VideoInfo, nullptr, 0), true},
      {"same block", VideoInfoType(640), true},
      {"other block", VideoInfoType(641), false},
  };
  for (const Case &c : cases) EXPECT_EQ(platform::media::MatchesPattern(nv12.Get(), c.pattern.Get()), c.matches) << c.name;
}

TEST(MediaType, CompleteTypesGiveMajorSubAndFormatType) {
  EXPECT_TRUE(platform::media::IsCompleteMediaType(VideoInfoType(1).Get()));
  EXPECT_FALSE(platform::media::IsCompleteMediaType(MediaType(MEDIATYPE_Video, MEDIASUBTYPE_NV12, GUID{}, nullptr, 0).Get()));
  EXPECT_FALSE(platform::media::IsCompleteMediaType(MediaType().Get()));
}

TEST(MediaType, ValueCopiesAreIndependentAndMovesLeaveEmptyTypes) {
  MediaType first = VideoInfoType(640);
  MediaType second = first;
  EXPECT_TRUE(first == second);
  EXPECT_NE(first->pbFormat, second->pbFormat);

  VIDEOINFOHEADER wider{};
  wider.bmiHeader.biWidth = 800;
  second.SetFormat(&wider, sizeof wider);
  EXPECT_EQ(first.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo)->bmiHeader.biWidth, 640);
  EXPECT_EQ(second.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo)->bmiHeader.biWidth, 800);
  EXPECT_EQ(second.FormatAs<VIDEOINFOHEADER2>(FORMAT_VideoInfo), nullptr) << "a block shorter than the structure";
  EXPECT_EQ(second.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo2), nullptr) << "another format type";

  MediaType moved = std::move(first);
  EXPECT_TRUE(first.IsEmpty());
  EXPECT_EQ(moved.FormatAs<VIDEOINFOHEADER>(FORMAT_VideoInfo)->bmiHeader.biWidth, 640);
}

TEST(MediaType, FixedSampleSizeSetsFixedSizeSamples) {
  const MediaType fixed(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_None, nullptr, 0, 4);
  EXPECT_TRUE(fixed->bFixedSizeSamples);
  EXPECT_EQ(fixed->lSampleSize, 4u);
  const MediaType variable(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_None, nullptr, 0);
  EXPECT_FALSE(variable->bFixedSizeSamples);
}

}  // namespace
