// The decoder's interface header: identifiers and the slot of each method.
#include <H264DecoderApi.h>

#include <gtest/gtest.h>

#include "vtable_slot.h"

namespace {

TEST(H264DecoderApi, IdentifiersAreDistinctAndUuidofAgrees) {
  EXPECT_FALSE(IsEqualGUID(CLSID_H264Decoder, IID_IDecoderSettings));
  EXPECT_FALSE(IsEqualGUID(CLSID_H264Decoder, IID_IDecoderVersion));
  EXPECT_FALSE(IsEqualGUID(IID_IDecoderSettings, IID_IDecoderVersion));
  EXPECT_TRUE(IsEqualGUID(__uuidof(IDecoderSettings), IID_IDecoderSettings));
  EXPECT_TRUE(IsEqualGUID(__uuidof(IDecoderVersion), IID_IDecoderVersion));
}

TEST(H264DecoderApi, MethodsSitInTheirContractSlots) {
  ExpectSlots({
      {"IDecoderSettings::SetDeblocking", SlotOf(&IDecoderSettings::SetDeblocking), 3},
      {"IDecoderSettings::GetDeblocking", SlotOf(&IDecoderSettings::GetDeblocking), 4},
      {"IDecoderSettings::SetMaintainAspectRatio", SlotOf(&IDecoderSettings::SetMaintainAspectRatio), 5},
      {"IDecoderSettings::GetMaintainAspectRatio", SlotOf(&IDecoderSettings::GetMaintainAspectRatio), 6},
      {"IDecoderSettings::SetPassThroughTimeStamps", SlotOf(&IDecoderSettings::SetPassThroughTimeStamps), 7},
      {"IDecoderSettings::GetPassThroughTimeStamps", SlotOf(&IDecoderSettings::GetPassThroughTimeStamps), 8},
      {"IDecoderSettings::SetForceOriginalChromaFormat", SlotOf(&IDecoderSettings::SetForceOriginalChromaFormat), 9},
      {"IDecoderSettings::GetForceOriginalChromaFormat", SlotOf(&IDecoderSettings::GetForceOriginalChromaFormat), 10},
      {"IDecoderSettings::SetThreads", SlotOf(&IDecoderSettings::SetThreads), 11},
      {"IDecoderSettings::GetThreads", SlotOf(&IDecoderSettings::GetThreads), 12},
      {"IDecoderVersion::GetBuildType", SlotOf(&IDecoderVersion::GetBuildType), 3},
      {"IDecoderVersion::GetPlatform", SlotOf(&IDecoderVersion::GetPlatform), 4},
      {"IDecoderVersion::GetProductName", SlotOf(&IDecoderVersion::GetProductName), 5},
      {"IDecoderVersion::GetVersionNumber", SlotOf(&IDecoderVersion::GetVersionNumber), 6},
      {"IDecoderVersion::GetBuildDateTime", SlotOf(&IDecoderVersion::GetBuildDateTime), 7},
  });
}

TEST(H264DecoderApi, EnumerationsAre32Bits) {
  EXPECT_EQ(sizeof(DECODER_BUILD_TYPE), 4u);
  EXPECT_EQ(sizeof(DECODER_PLATFORM), 4u);
}

}  // namespace
