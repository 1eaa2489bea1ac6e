// AMGetErrorTextW: a description for each media-graph code, the count of
// characters written, 0 for codes it does not know.
#include <dshow.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "media_test_support.h"

namespace {

// The codes the graph manager and the filter building blocks return.
constexpr HRESULT kEngineCodes[] = {
    VFW_S_NO_MORE_ITEMS,      VFW_S_DUPLICATE_NAME,      VFW_S_STATE_INTERMEDIATE, VFW_S_PARTIAL_RENDER,
    VFW_S_VIDEO_NOT_RENDERED, VFW_S_AUDIO_NOT_RENDERED,  VFW_S_CANT_CUE,           VFW_S_NO_STOP_TIME,
    VFW_E_INVALIDMEDIATYPE,   VFW_E_ENUM_OUT_OF_SYNC,    VFW_E_ALREADY_CONNECTED,  VFW_E_NO_ACCEPTABLE_TYPES,
    VFW_E_INVALID_DIRECTION,  VFW_E_NOT_CONNECTED,       VFW_E_NO_ALLOCATOR,       VFW_E_BUFFER_OVERFLOW,
    VFW_E_BADALIGN,           VFW_E_ALREADY_COMMITTED,   VFW_E_BUFFERS_OUTSTANDING, VFW_E_NOT_COMMITTED,
    VFW_E_SIZENOTSET,         VFW_E_NOT_FOUND,           VFW_E_CANNOT_CONNECT,     VFW_E_CANNOT_RENDER,
    VFW_E_NOT_STOPPED,        VFW_E_WRONG_STATE,         VFW_E_TYPE_NOT_ACCEPTED,  VFW_E_SAMPLE_REJECTED_EOS,
    VFW_E_DUPLICATE_NAME,     VFW_E_TIMEOUT,             VFW_E_UNKNOWN_FILE_TYPE,  VFW_E_CORRUPT_GRAPH_FILE,
    VFW_E_SAMPLE_TIME_NOT_SET, VFW_E_MEDIA_TIME_NOT_SET, VFW_E_NOT_IN_GRAPH,       VFW_E_NO_TRANSPORT,
};

TEST(ErrorText, EveryEngineCodeHasADescriptionThatFits) {
  for (HRESULT hr : kEngineCodes) {
    WCHAR text[MAX_ERROR_TEXT_LEN];
    const DWORD written = AMGetErrorTextW(hr, text, MAX_ERROR_TEXT_LEN);
    EXPECT_GT(written, 10u) << media_testing::Hex(hr);
    EXPECT_EQ(written, std::wcslen(text)) << media_testing::Hex(hr);
  }
}

TEST(ErrorText, CodesItDoesNotDescribeGiveZeroAndLeaveTheBuffer) {
  for (HRESULT hr : {S_OK, E_FAIL, E_NOINTERFACE, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), HRESULT(0x80040299)}) {
    WCHAR text[8] = L"keep";
    EXPECT_EQ(AMGetErrorTextW(hr, text, 8), 0u) << media_testing::Hex(hr);
    EXPECT_STREQ(text, L"keep") << media_testing::Hex(hr);
  }
}

TEST(ErrorText, ASmallBufferGetsTheStartOfTheText) {
  WCHAR whole[MAX_ERROR_TEXT_LEN];
  const DWORD length = AMGetErrorTextW(VFW_E_NOT_CONNECTED, whole, MAX_ERROR_TEXT_LEN);
  WCHAR start[6];
  EXPECT_EQ(AMGetErrorTextW(VFW_E_NOT_CONNECTED, start, 6), 5u);
  EXPECT_EQ(std::wstring(start), std::wstring(whole, 5));
  EXPECT_EQ(AMGetErrorTextW(VFW_E_NOT_CONNECTED, start, 1), 0u);
  EXPECT_STREQ(start, L"");
  EXPECT_GT(length, 5u);
}

TEST(ErrorText, NoBufferGivesZero) {
  EXPECT_EQ(AMGetErrorTextW(VFW_E_NOT_CONNECTED, nullptr, MAX_ERROR_TEXT_LEN), 0u);
  WCHAR text[4] = L"abc";
  EXPECT_EQ(AMGetErrorTextW(VFW_E_NOT_CONNECTED, text, 0), 0u);
  EXPECT_STREQ(text, L"abc");
}

}  // namespace
