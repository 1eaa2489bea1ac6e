// The platform's memory allocator and its samples.
#include "media/mem_allocator.h"

#include <platform_filters/media_type.h>

#include <dshow.h>

#include <gtest/gtest.h>

#include <future>

#include "media_test_support.h"

namespace {

using media_testing::CComPtr;

class MemAllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(platform::media::MemAllocator::Create(&allocator_), S_OK); }

  // cBuffers buffers of 64 bytes, 16-byte aligned.
  void Commit(LONG cBuffers) {
    ALLOCATOR_PROPERTIES request{cBuffers, 64, 16, 0}, actual{};
    ASSERT_HR(S_OK, allocator_->SetProperties(&request, &actual));
    ASSERT_HR(S_OK, allocator_->Commit());
  }

  CComPtr<IMediaSample> Buffer(DWORD flags = 0) {
    CComPtr<IMediaSample> sample;
    EXPECT_HR(S_OK, allocator_->GetBuffer(&sample, nullptr, nullptr, flags));
    return sample;
  }

  CComPtr<IMemAllocator> allocator_;
};

TEST_F(MemAllocatorTest, PropertiesAreCheckedAndFixedWhileCommitted) {
  ALLOCATOR_PROPERTIES actual{};
  ALLOCATOR_PROPERTIES badAlign{2, 64, 3, 0};
  EXPECT_HR(VFW_E_BADALIGN, allocator_->SetProperties(&badAlign, &actual));
  EXPECT_HR(VFW_E_SIZENOTSET, allocator_->Commit());
  Commit(2);
  ALLOCATOR_PROPERTIES request{4, 128, 1, 0};
  EXPECT_HR(VFW_E_ALREADY_COMMITTED, allocator_->SetProperties(&request, &actual));
  ALLOCATOR_PROPERTIES now{};
  allocator_->GetProperties(&now);
  EXPECT_EQ(now.cBuffers, 2);
  EXPECT_EQ(now.cbBuffer, 64);
}

TEST_F(MemAllocatorTest, BuffersAreAlignedAndHandedOutUntilNoneIsLeft) {
  Commit(2);
  CComPtr<IMediaSample> first = Buffer();
  CComPtr<IMediaSample> second = Buffer();
  BYTE *data = nullptr;
  first->GetPointer(&data);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 16, 0u);
  EXPECT_EQ(first->GetSize(), 64);
  CComPtr<IMediaSample> none;
  EXPECT_HR(VFW_E_TIMEOUT, allocator_->GetBuffer(&none, nullptr, nullptr, AM_GBF_NOWAIT));
  first.Release();
  EXPECT_TRUE(Buffer(AM_GBF_NOWAIT)) << "a released sample is free again";
}

TEST_F(MemAllocatorTest, AWaitingRequestGetsTheNextReturnedBufferOrFailsOnDecommit) {
  Commit(1);
  CComPtr<IMediaSample> held = Buffer();
  auto waiting = std::async(std::launch::async, [this] {
    IMediaSample *sample = nullptr;
    const HRESULT hr = allocator_->GetBuffer(&sample, nullptr, nullptr, 0);
    if (sample) sample->Release();
    return hr;
  });
  held.Release();
  EXPECT_HR(S_OK, waiting.get());

  held = Buffer();
  auto stopped = std::async(std::launch::async, [this] {
    IMediaSample *sample = nullptr;
    return allocator_->GetBuffer(&sample, nullptr, nullptr, 0);
  });
  allocator_->Decommit();
  EXPECT_HR(VFW_E_NOT_COMMITTED, stopped.get());
}

TEST_F(MemAllocatorTest, BuffersCannotChangeWhileSomeAreOut) {
  Commit(2);
  CComPtr<IMediaSample> held = Buffer();
  allocator_->Decommit();
  ALLOCATOR_PROPERTIES request{2, 256, 1, 0}, actual{};
  EXPECT_HR(VFW_E_BUFFERS_OUTSTANDING, allocator_->SetProperties(&request, &actual));
  held.Release();
  EXPECT_HR(S_OK, allocator_->SetProperties(&request, &actual));
}

TEST_F(MemAllocatorTest, AnAllocatorLivesUntilItsLastSampleIsBack) {
  Commit(1);
  CComPtr<IMediaSample> held = Buffer();
  allocator_->Decommit();
  allocator_.Release();
  held.Release();  // the sanitizer build checks the allocator is freed then, not before
}

TEST_F(MemAllocatorTest, SampleTimesAndTheirAbsence) {
  Commit(1);
  CComPtr<IMediaSample> sample = Buffer();
  REFERENCE_TIME start = 0, stop = 0;
  EXPECT_HR(VFW_E_SAMPLE_TIME_NOT_SET, sample->GetTime(&start, &stop));
  REFERENCE_TIME givenStart = 400000, givenStop = 800000;
  sample->SetTime(&givenStart, &givenStop);
  EXPECT_HR(S_OK, sample->GetTime(&start, &stop));
  EXPECT_EQ(stop, 800000);
  sample->SetTime(&givenStart, nullptr);
  EXPECT_HR(VFW_S_NO_STOP_TIME, sample->GetTime(&start, &stop));
  EXPECT_EQ(stop, 400001) << "without a stop time the stop reads as the start plus one";
  sample->SetTime(nullptr, nullptr);
  EXPECT_HR(VFW_E_SAMPLE_TIME_NOT_SET, sample->GetTime(&start, &stop));

  LONGLONG mediaStart = 0, mediaStop = 0;
  EXPECT_HR(VFW_E_MEDIA_TIME_NOT_SET, sample->GetMediaTime(&mediaStart, &mediaStop));
  LONGLONG frame = 7, next = 8;
  sample->SetMediaTime(&frame, &next);
  EXPECT_HR(S_OK, sample->GetMediaTime(&mediaStart, &mediaStop));
  EXPECT_EQ(mediaStart, 7);
}

TEST_F(MemAllocatorTest, SampleFlagsLengthAndTypeStartClearedEachTimeItIsHandedOut) {
  Commit(1);
  CComPtr<IMediaSample> sample = Buffer();
  EXPECT_EQ(sample->GetActualDataLength(), 64);
  EXPECT_HR(VFW_E_BUFFER_OVERFLOW, sample->SetActualDataLength(65));
  sample->SetActualDataLength(10);
  sample->SetSyncPoint(TRUE);
  sample->SetPreroll(TRUE);
  sample->SetDiscontinuity(TRUE);
  const platform::media::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_None, nullptr, 0);
  sample->SetMediaType(const_cast<AM_MEDIA_TYPE *>(&type.Get()));
  AM_MEDIA_TYPE *carried = nullptr;
  ASSERT_HR(S_OK, sample->GetMediaType(&carried));
  EXPECT_TRUE(platform::media::IsSameMediaType(*carried, type.Get()));
  platform::media::DeleteMediaType(carried);
  EXPECT_HR(S_OK, sample->IsSyncPoint());
  EXPECT_HR(S_OK, sample->IsPreroll());
  EXPECT_HR(S_OK, sample->IsDiscontinuity());

  sample.Release();
  sample = Buffer();
  EXPECT_EQ(sample->GetActualDataLength(), 64);
  EXPECT_HR(S_FALSE, sample->IsSyncPoint());
  EXPECT_HR(S_FALSE, sample->IsPreroll());
  EXPECT_HR(S_FALSE, sample->IsDiscontinuity());
  EXPECT_HR(S_FALSE, sample->GetMediaType(&carried));
  EXPECT_EQ(carried, nullptr);
}

TEST_F(MemAllocatorTest, Sample2PropertiesReadAndWriteThePartGiven) {
  Commit(1);
  CComPtr<IMediaSample> sample = Buffer();
  CComQIPtr<IMediaSample2> sample2(sample);
  ASSERT_TRUE(sample2);
  AM_SAMPLE2_PROPERTIES properties{};
  properties.cbData = sizeof properties;
  properties.dwSampleFlags = AM_SAMPLE_SPLICEPOINT | AM_SAMPLE_TIMEVALID | AM_SAMPLE_STOPVALID;
  properties.lActual = 12;
  properties.tStart = 100;
  properties.tStop = 200;
  ASSERT_HR(S_OK, sample2->SetProperties(sizeof properties, reinterpret_cast<const BYTE *>(&properties)));
  EXPECT_HR(S_OK, sample->IsSyncPoint());
  EXPECT_EQ(sample->GetActualDataLength(), 12);

  AM_SAMPLE2_PROPERTIES read{};
  ASSERT_HR(S_OK, sample2->GetProperties(sizeof read, reinterpret_cast<BYTE *>(&read)));
  EXPECT_EQ(read.tStop, 200);
  EXPECT_EQ(read.cbBuffer, 64);
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  EXPECT_EQ(read.pbBuffer, data);
  EXPECT_HR(E_INVALIDARG, sample2->GetProperties(sizeof read + 1, reinterpret_cast<BYTE *>(&read)));
}

}  // namespace
