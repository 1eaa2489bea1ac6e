// The media file source as the platform library registers it: found for the
// generated clips by their extensions and, renamed, by their first bytes.
#include "media/ffmpeg/media_file_types.h"

#include <vfwmsgs.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "clip_files.h"
#include "ffmpeg_graph_fixture.h"
#include "media/ffmpeg/media_file_source.h"
#include "media/source_lookup.h"
#include "registered_filters.h"

namespace ffmpeg_testing {
namespace {

using platform::media::FindSourceFilter;
using platform::media::SourceChoice;
using platform::media::ffmpeg::kMediaFileSourceClass;
using platform::media::ffmpeg::kMediaFileStreamSubtype;

class MediaFileTypes : public ::testing::Test {
 protected:
  media_testing::RegisteredFilters registered_;
};

struct Found {
  HRESULT result = E_FAIL;
  SourceChoice choice{};
};

Found Lookup(const std::string &path) {
  Found found;
  found.result = FindSourceFilter(Wide(path), found.choice);
  return found;
}

TEST_F(MediaFileTypes, EachClipIsFoundByItsExtension) {
  for (const char *clip : {"clip-h264-aac.mp4", "clip-h264.m4v", "clip-h264-aac.mov", "clip-h264-annexb.ts",
                           "clip-aac-only.m4a", "clip-mpeg4.mp4"}) {
    const Found found = Lookup(ClipPath(clip));
    ASSERT_HR(S_OK, found.result) << clip;
    EXPECT_TRUE(IsEqualCLSID(found.choice.source, kMediaFileSourceClass)) << clip;
    EXPECT_TRUE(IsEqualGUID(found.choice.subtype, GUID_NULL)) << clip;
  }
}

TEST_F(MediaFileTypes, AClipNamedOtherwiseIsFoundByItsBytes) {
  for (const char *clip : {"clip-h264-aac.mp4", "clip-h264-aac.mov", "clip-h264-annexb.ts"}) {
    const std::string renamed = ScratchPath("renamed.unknown-extension");
    std::filesystem::copy_file(ClipPath(clip), renamed, std::filesystem::copy_options::overwrite_existing);
    const Found found = Lookup(renamed);
    ASSERT_HR(S_OK, found.result) << clip;
    EXPECT_TRUE(IsEqualCLSID(found.choice.source, kMediaFileSourceClass)) << clip;
    EXPECT_TRUE(IsEqualGUID(found.choice.subtype, kMediaFileStreamSubtype)) << clip;
    std::filesystem::remove(renamed);
  }
}

TEST_F(MediaFileTypes, TextNamedOtherwiseIsNoMediaFile) {
  const std::string text = ScratchPath("notes.unknown-extension");
  ASSERT_TRUE(WriteSubtitleFile(text));
  EXPECT_HR(VFW_E_UNKNOWN_FILE_TYPE, Lookup(text).result);
  std::filesystem::remove(text);
}

}  // namespace
}  // namespace ffmpeg_testing
