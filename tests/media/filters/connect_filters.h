// Test filters for intelligent connect and file rendering, in the test
// filter library beside those of test_filters.h:
//
//   TypeConverter     a decoder stand-in: takes one subtype of a major type
//                     and gives a fixed output type, each sample's data
//                     copied (the test video and audio decoders)
//   StreamListSource  a file source (IFileSourceFilter) of a small text
//                     file that lists its streams, one line each:
//                         video TV01 5      kind, subtype, frame count
//                         audio PCM 5       subtypes: a FOURCC, RGB32, PCM
//                         ~video TV01 5     a pin whose name begins with '~'
//                     A first line "QUORVEL TEST STREAMS" is its signature;
//                     lines beginning with '#' are comments. Each stream
//                     pushes its numbered frames, then end of stream
//   AbortingRenderer  a video renderer that aborts the graph's build when
//                     the graph adds it
//   SplittingTee      a splitter stand-in: one input of RGB32 video, outputs
//                     "video 0" and "video 1" that deliver copies of it,
//                     "text" that gives only segments and end of stream (no
//                     filter renders text) and "~preview", a copy that
//                     rendering leaves alone
#pragma once

#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

#include "test_filters.h"

namespace test_filters {

// Subtypes of compressed test media, FOURCC 'TV01' and 'TA01'.
constexpr GUID kTestVideoSubtype = {0x31305654, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kTestAudioSubtype = {0x31304154, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// The stream subtype of stream list files, under which their signature is
// registered as a byte pattern.
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6B00}
constexpr GUID kStreamListSubtype = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6B, 0x00}};
constexpr char kStreamListSignature[] = "QUORVEL TEST STREAMS";
// The signature as the byte pattern the source is registered with.
constexpr wchar_t kStreamListPattern[] = L"0,20,,51554F5256454C20544553542053545245414D53";
constexpr wchar_t kStreamListExtension[] = L".qts";

// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A05}
constexpr CLSID kTestVideoDecoderClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x05}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A06}
constexpr CLSID kOtherVideoDecoderClass = {
    0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x06}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A07}
constexpr CLSID kTestAudioDecoderClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x07}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A08}
constexpr CLSID kStreamListSourceClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x08}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A09}
constexpr CLSID kAbortingRendererClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x09}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A0A}
constexpr CLSID kSplittingTeeClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x0A}};

// 8x8 video in 'TV01' and 48 kHz stereo audio in 'TA01': what the test
// decoders take.
MediaType TestVideoType();
MediaType TestAudioType();
// Numbers as text: a stream no test filter renders.
MediaType TextType();

class TypeConverter final : public platform::media::TransformFilter {
 public:
  // kTestVideoDecoderClass and kOtherVideoDecoderClass: 'TV01' video to
  // RGB32; kTestAudioDecoderClass: 'TA01' audio to PCM. Null for another class.
  static TypeConverter *Create(const CLSID &clsid);

 private:
  platform::media::ServerObject m_serverObject{Server()};
  TypeConverter(const CLSID &clsid, const GUID &inputSubtype, MediaType output);
  HRESULT CheckInputType(const AM_MEDIA_TYPE &input) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) override;
  HRESULT GetOutputType(ULONG position, MediaType *output) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  HRESULT Transform(IMediaSample *input, IMediaSample *output) override;

  const GUID m_inputSubtype;
  const MediaType m_output;
};

class StreamListSource final : public platform::media::SourceFilter, public IFileSourceFilter {
 public:
  static StreamListSource *Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IFileSourceFilter. Load fails with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
  // for a file it cannot open, VFW_E_INVALID_FILE_FORMAT for a line it
  // cannot read, and VFW_E_WRONG_STATE when a file is already loaded.
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) override;

 private:
  struct ListedStream {
    platform::media::SourcePin *pin;
    DWORD frames;
    DWORD next;  // the producing thread's own
  };

  platform::media::ServerObject m_serverObject{Server()};
  StreamListSource();
  HRESULT QueryFilterInterface(REFIID riid, void **ppv) override;
  HRESULT ProduceNext() override;
  HRESULT PushFrame(ListedStream &stream);

  std::wstring m_file;
  MediaType m_fileType;
  std::vector<ListedStream> m_streams;
  size_t m_turn = 0;  // the producing thread's own
};

class AbortingRenderer final : public platform::media::RendererFilter {
 public:
  static AbortingRenderer *Create();
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph *pGraph, LPCWSTR pName) override;

 private:
  platform::media::ServerObject m_serverObject{Server()};
  AbortingRenderer();
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;
};

class SplittingTee final : public platform::media::BaseFilter {
 public:
  static SplittingTee *Create();
  IPin *Input() const;
  IPin *Output(const wchar_t *name) const;

 private:
  class TeeInput;
  class TeeOutput;

  platform::media::ServerObject m_serverObject{Server()};
  SplittingTee();
  ~SplittingTee() override;
  // The connected outputs that copy the input.
  std::vector<TeeOutput *> CopyingOutputs() const;
  std::vector<TeeOutput *> ConnectedOutputs() const;

  std::unique_ptr<TeeInput> m_input;
  std::vector<std::unique_ptr<TeeOutput>> m_outputs;
};

}  // namespace test_filters
