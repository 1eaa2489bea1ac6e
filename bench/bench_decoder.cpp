// Decoding speed of the decoder under test against the FFmpeg tool
// (decode_bench.h says how it is measured). The decoder library is loaded
// from the build and its class object asked for the filter, as COM would,
// without a registry:
//   BENCH decoder-720p-t<N> <fps> fps ratio=<ours/ffmpeg>
//   bench_decoder [clip] [runs]
#include <uuids.h>

#include <H264DecoderApi.h>

#include "com/server_library.h"
#include "decode_bench.h"

namespace {

using platform::com::ComPtr;

const platform::com::ServerLibrary &DecoderLibrary() {
  static const platform::com::ServerLibrary library(QUORVEL_DECODER_LIBRARY);
  return library;
}

ComPtr<IBaseFilter> MakeDecoderUnderTest(int threads) {
  using GetClassObject = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, LPVOID *);
  const auto getClassObject = DecoderLibrary().Export<GetClassObject>("DllGetClassObject");
  IClassFactory *factory = nullptr;
  if (!getClassObject || FAILED(getClassObject(CLSID_H264Decoder, IID_IClassFactory, (void **)&factory))) return {};
  IBaseFilter *created = nullptr;
  factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void **>(&created));
  factory->Release();
  ComPtr<IBaseFilter> decoder(created);
  if (!created) return decoder;
  created->Release();
  IDecoderSettings *settings = nullptr;
  if (FAILED(created->QueryInterface(IID_IDecoderSettings, reinterpret_cast<void **>(&settings)))) return {};
  const HRESULT hr = settings->SetThreads(threads);
  settings->Release();
  return SUCCEEDED(hr) ? decoder : ComPtr<IBaseFilter>();
}

}  // namespace

int main(int argc, char **argv) {
  return bench::RunDecodeBench({"decoder-720p", MEDIASUBTYPE_NV12, &MakeDecoderUnderTest}, argc, argv);
}
