// The media-graph headers against what Windows documents: identifiers,
// vtable slots, structure layouts and the values of constants.
#include <dshow.h>
#include <dvdmedia.h>
#include <mmreg.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

#include "platform/vtable_slot.h"

namespace {

std::string Text(REFGUID guid) {
  std::ostringstream text;
  text << std::hex << std::uppercase << std::setfill('0') << std::setw(8) << guid.Data1 << '-' << std::setw(4)
       << guid.Data2 << '-' << std::setw(4) << guid.Data3 << '-';
  for (int i = 0; i < 8; ++i) text << std::setw(2) << int{guid.Data4[i]} << (i == 1 ? "-" : "");
  return text.str();
}

struct KnownId {
  const char *name;
  const GUID &defined;
  const char *documented;
};

TEST(MediaHeaders, InterfaceIdentifiersHaveTheirDocumentedValues) {
  const KnownId ids[] = {
      {"IPin", __uuidof(IPin), "56A86891-0AD4-11CE-B03A-0020AF0BA770"},
      {"IEnumPins", __uuidof(IEnumPins), "56A86892-0AD4-11CE-B03A-0020AF0BA770"},
      {"IEnumMediaTypes", __uuidof(IEnumMediaTypes), "89C31040-846B-11CE-97D3-00AA0055595A"},
      {"IMediaFilter", __uuidof(IMediaFilter), "56A86899-0AD4-11CE-B03A-0020AF0BA770"},
      {"IReferenceClock", __uuidof(IReferenceClock), "56A86897-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMediaSample", __uuidof(IMediaSample), "56A8689A-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMediaSample2", __uuidof(IMediaSample2), "36B73884-C2C8-11CF-8B46-00805F6CEF60"},
      {"IMemAllocator", __uuidof(IMemAllocator), "56A8689C-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMemInputPin", __uuidof(IMemInputPin), "56A8689D-0AD4-11CE-B03A-0020AF0BA770"},
      {"IFileSourceFilter", __uuidof(IFileSourceFilter), "56A868A6-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMediaSeeking", __uuidof(IMediaSeeking), "36B73880-C2C8-11CF-8B46-00805F6CEF60"},
      {"IMediaEventSink", __uuidof(IMediaEventSink), "56A868A2-0AD4-11CE-B03A-0020AF0BA770"},
      {"IAMFilterMiscFlags", __uuidof(IAMFilterMiscFlags), "2DD74950-A890-11D1-ABE8-00A0C905F375"},
      {"IQualProp", __uuidof(IQualProp), "1BD0ECB0-F8E2-11CE-AAC6-0020AF0B99A3"},
      {"IMediaControl", __uuidof(IMediaControl), "56A868B1-0AD4-11CE-B03A-0020AF0BA770"},
      {"IVideoWindow", __uuidof(IVideoWindow), "56A868B4-0AD4-11CE-B03A-0020AF0BA770"},
      {"IID_IMediaControl", IID_IMediaControl, "56A868B1-0AD4-11CE-B03A-0020AF0BA770"},
      {"IID_IVideoWindow", IID_IVideoWindow, "56A868B4-0AD4-11CE-B03A-0020AF0BA770"},
      {"IID_IMediaSeeking", IID_IMediaSeeking, "36B73880-C2C8-11CF-8B46-00805F6CEF60"},
      {"IFilterMapper2", __uuidof(IFilterMapper2), "B79BB0B0-33C1-11D1-ABE1-00A0C905F375"},
  };
  for (const KnownId &id : ids) EXPECT_EQ(Text(id.defined), id.documented) << id.name;
}

TEST(MediaHeaders, TypeAndFormatIdentifiersHaveTheirDocumentedValues) {
  const KnownId ids[] = {
      {"CLSID_SystemClock", CLSID_SystemClock, "E436EBB1-524F-11CE-9F53-0020AF0BA770"},
      {"CLSID_FilterMapper2", CLSID_FilterMapper2, "CDA42200-BD88-11D0-BD4E-00A0C911CE86"},
      {"CLSID_LegacyAmFilterCategory", CLSID_LegacyAmFilterCategory, "083863F1-70DE-11D0-BD40-00A0C911CE86"},
      {"MEDIATYPE_Video", MEDIATYPE_Video, "73646976-0000-0010-8000-00AA00389B71"},
      {"MEDIATYPE_Audio", MEDIATYPE_Audio, "73647561-0000-0010-8000-00AA00389B71"},
      {"MEDIATYPE_Stream", MEDIATYPE_Stream, "E436EB83-524F-11CE-9F53-0020AF0BA770"},
      {"MEDIASUBTYPE_H264", MEDIASUBTYPE_H264, "34363248-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_AVC1", MEDIASUBTYPE_AVC1, "31435641-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_avc1", MEDIASUBTYPE_avc1, "31637661-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_NV12", MEDIASUBTYPE_NV12, "3231564E-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_YV12", MEDIASUBTYPE_YV12, "32315659-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_I420", MEDIASUBTYPE_I420, "30323449-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_YUY2", MEDIASUBTYPE_YUY2, "32595559-0000-0010-8000-00AA00389B71"},
      {"MEDIASUBTYPE_RGB32", MEDIASUBTYPE_RGB32, "E436EB7E-524F-11CE-9F53-0020AF0BA770"},
      {"MEDIASUBTYPE_PCM", MEDIASUBTYPE_PCM, "00000001-0000-0010-8000-00AA00389B71"},
      {"FORMAT_VideoInfo", FORMAT_VideoInfo, "05589F80-C356-11CE-BF01-00AA0055595A"},
      {"FORMAT_VideoInfo2", FORMAT_VideoInfo2, "F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA"},
      {"FORMAT_MPEG2Video", FORMAT_MPEG2Video, "E06D80E3-DB46-11CF-B4D1-00805F6CBBEA"},
      {"FORMAT_WaveFormatEx", FORMAT_WaveFormatEx, "05589F81-C356-11CE-BF01-00AA0055595A"},
      {"TIME_FORMAT_MEDIA_TIME", TIME_FORMAT_MEDIA_TIME, "7B785574-8C82-11CF-BC0C-00AA00AC74F6"},
  };
  for (const KnownId &id : ids) EXPECT_EQ(Text(id.defined), id.documented) << id.name;
}

TEST(MediaHeaders, FilterAndPinMethodsSitInTheirWindowsVtableSlots) {
  ExpectSlots({
      {"IPin::Connect", SlotOf(&IPin::Connect), 3},
      {"IPin::QueryAccept", SlotOf(&IPin::QueryAccept), 11},
      {"IPin::QueryInternalConnections", SlotOf(&IPin::QueryInternalConnections), 13},
      {"IPin::NewSegment", SlotOf(&IPin::NewSegment), 17},
      {"IEnumPins::Clone", SlotOf(&IEnumPins::Clone), 6},
      {"IEnumMediaTypes::Next", SlotOf(&IEnumMediaTypes::Next), 3},
      {"IEnumFilters::Skip", SlotOf(&IEnumFilters::Skip), 4},
      {"IMediaFilter::Stop", SlotOf(&IMediaFilter::Stop), 4},
      {"IMediaFilter::GetSyncSource", SlotOf(&IMediaFilter::GetSyncSource), 9},
      {"IBaseFilter::EnumPins", SlotOf(&IBaseFilter::EnumPins), 10},
      {"IBaseFilter::QueryVendorInfo", SlotOf(&IBaseFilter::QueryVendorInfo), 14},
      {"IReferenceClock::Unadvise", SlotOf(&IReferenceClock::Unadvise), 6},
      {"IMediaSample::GetMediaType", SlotOf(&IMediaSample::GetMediaType), 13},
      {"IMediaSample::SetMediaTime", SlotOf(&IMediaSample::SetMediaTime), 18},
      {"IMediaSample2::SetProperties", SlotOf(&IMediaSample2::SetProperties), 20},
      {"IMemAllocator::ReleaseBuffer", SlotOf(&IMemAllocator::ReleaseBuffer), 8},
      {"IMemInputPin::Receive", SlotOf(&IMemInputPin::Receive), 6},
      {"IMemInputPin::ReceiveCanBlock", SlotOf(&IMemInputPin::ReceiveCanBlock), 8},
      {"IFileSourceFilter::GetCurFile", SlotOf(&IFileSourceFilter::GetCurFile), 4},
      {"IMediaEventSink::Notify", SlotOf(&IMediaEventSink::Notify), 3},
      {"IAMFilterMiscFlags::GetMiscFlags", SlotOf(&IAMFilterMiscFlags::GetMiscFlags), 3},
      {"IQualProp::get_FramesDrawn", SlotOf(&IQualProp::get_FramesDrawn), 4},
      {"IQualProp::get_DevSyncOffset", SlotOf(&IQualProp::get_DevSyncOffset), 8},
  });
}

TEST(MediaHeaders, GraphMethodsSitInTheirWindowsVtableSlots) {
  ExpectSlots({
      {"IMediaSeeking::GetDuration", SlotOf(&IMediaSeeking::GetDuration), 10},
      {"IMediaSeeking::GetCurrentPosition", SlotOf(&IMediaSeeking::GetCurrentPosition), 12},
      {"IMediaSeeking::SetPositions", SlotOf(&IMediaSeeking::SetPositions), 14},
      {"IMediaSeeking::GetAvailable", SlotOf(&IMediaSeeking::GetAvailable), 16},
      {"IMediaSeeking::GetPreroll", SlotOf(&IMediaSeeking::GetPreroll), 19},
      {"IMediaControl::Run", SlotOf(&IMediaControl::Run), 7},
      {"IMediaControl::GetState", SlotOf(&IMediaControl::GetState), 10},
      {"IMediaControl::StopWhenReady", SlotOf(&IMediaControl::StopWhenReady), 15},
      {"IVideoWindow::put_Caption", SlotOf(&IVideoWindow::put_Caption), 7},
      {"IVideoWindow::put_Visible", SlotOf(&IVideoWindow::put_Visible), 19},
      {"IVideoWindow::put_Left", SlotOf(&IVideoWindow::put_Left), 21},
      {"IVideoWindow::get_Width", SlotOf(&IVideoWindow::get_Width), 24},
      {"IVideoWindow::put_Top", SlotOf(&IVideoWindow::put_Top), 25},
      {"IVideoWindow::get_Height", SlotOf(&IVideoWindow::get_Height), 28},
      {"IVideoWindow::IsCursorHidden", SlotOf(&IVideoWindow::IsCursorHidden), 45},
  });
}

// Layouts of the structures that travel in format blocks and samples; the
// sizes are those of 64-bit Windows.
TEST(MediaHeaders, StructuresHaveTheWindowsLayout) {
  struct Layout {
    const char *what;
    size_t actual;
    size_t documented;
  };
  const Layout layouts[] = {
      {"sizeof(AM_MEDIA_TYPE)", sizeof(AM_MEDIA_TYPE), 88},
      {"AM_MEDIA_TYPE.pbFormat", offsetof(AM_MEDIA_TYPE, pbFormat), 80},
      {"sizeof(VIDEOINFOHEADER)", sizeof(VIDEOINFOHEADER), 88},
      {"VIDEOINFOHEADER.bmiHeader", offsetof(VIDEOINFOHEADER, bmiHeader), 48},
      {"sizeof(VIDEOINFOHEADER2)", sizeof(VIDEOINFOHEADER2), 112},
      {"VIDEOINFOHEADER2.bmiHeader", offsetof(VIDEOINFOHEADER2, bmiHeader), 72},
      {"sizeof(MPEG2VIDEOINFO)", sizeof(MPEG2VIDEOINFO), 136},
      {"MPEG2VIDEOINFO.dwSequenceHeader", offsetof(MPEG2VIDEOINFO, dwSequenceHeader), 132},
      {"sizeof(WAVEFORMATEX)", sizeof(WAVEFORMATEX), 18},
      {"sizeof(REGFILTER2)", sizeof(REGFILTER2), 24},
      {"sizeof(REGFILTERPINS2)", sizeof(REGFILTERPINS2), 48},
      {"sizeof(BITMAPINFOHEADER)", sizeof(BITMAPINFOHEADER), 40},
      {"sizeof(ALLOCATOR_PROPERTIES)", sizeof(ALLOCATOR_PROPERTIES), 16},
      {"sizeof(AM_SAMPLE2_PROPERTIES)", sizeof(AM_SAMPLE2_PROPERTIES), 64},
      {"AM_SAMPLE2_PROPERTIES.pMediaType", offsetof(AM_SAMPLE2_PROPERTIES, pMediaType), 40},
  };
  for (const Layout &layout : layouts) EXPECT_EQ(layout.actual, layout.documented) << layout.what;
}

TEST(MediaHeaders, CodesHaveTheirDocumentedValues) {
  struct Code {
    const char *name;
    uint32_t actual;
    uint32_t documented;
  };
  const Code codes[] = {
      {"VFW_S_DUPLICATE_NAME", VFW_S_DUPLICATE_NAME, 0x0004022D},
      {"VFW_S_STATE_INTERMEDIATE", VFW_S_STATE_INTERMEDIATE, 0x00040237},
      {"VFW_S_PARTIAL_RENDER", VFW_S_PARTIAL_RENDER, 0x00040242},
      {"VFW_S_AUDIO_NOT_RENDERED", VFW_S_AUDIO_NOT_RENDERED, 0x00040258},
      {"VFW_E_NOT_CONNECTED", static_cast<uint32_t>(VFW_E_NOT_CONNECTED), 0x80040209},
      {"VFW_E_CANNOT_RENDER", static_cast<uint32_t>(VFW_E_CANNOT_RENDER), 0x80040218},
      {"VFW_E_NOT_STOPPED", static_cast<uint32_t>(VFW_E_NOT_STOPPED), 0x80040224},
      {"VFW_E_UNKNOWN_FILE_TYPE", static_cast<uint32_t>(VFW_E_UNKNOWN_FILE_TYPE), 0x80040240},
      {"EC_COMPLETE", EC_COMPLETE, 0x01},
      {"EC_ERRORABORT", EC_ERRORABORT, 0x03},
      {"EC_PAUSED", EC_PAUSED, 0x0E},
      {"EC_USER", EC_USER, 0x8000},
      {"MAX_ERROR_TEXT_LEN", MAX_ERROR_TEXT_LEN, 160},
      {"AM_SEEKING_AbsolutePositioning", AM_SEEKING_AbsolutePositioning, 1},
      {"AM_GBF_NOWAIT", AM_GBF_NOWAIT, 4},
  };
  for (const Code &code : codes) EXPECT_EQ(code.actual, code.documented) << code.name;
}

}  // namespace
