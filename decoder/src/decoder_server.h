// The decoder library as an in-process COM server: its class table and the
// server that hands out class objects and registers the filter.
#pragma once

#include <platform_filters/filter_server.h>

namespace h264decoder {

// The name the filter is registered under.
inline constexpr const wchar_t *kDecoderName = L"Pellonex H264 Decoder";

platform::media::FilterServer &DecoderServer();

}  // namespace h264decoder
