// AMGetErrorTextW: what the media graph's result codes mean, in words a
// tester can act on.
#include <errors.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace platform::media {
namespace {

struct ResultText {
  HRESULT code;
  const wchar_t *text;
};

// Every VFW_S_ and VFW_E_ code the platform's graph and filters give.
constexpr ResultText kResultTexts[] = {
    {VFW_S_NO_MORE_ITEMS, L"The end of the list was reached."},
    {VFW_S_DUPLICATE_NAME, L"The filter was added under a numbered name, as its name was already taken."},
    {VFW_S_STATE_INTERMEDIATE, L"The graph is still changing state."},
    {VFW_S_PARTIAL_RENDER, L"Some of the file's streams could not be played: their formats are not supported."},
    {VFW_S_SOME_DATA_IGNORED, L"Part of the file's data was skipped."},
    {VFW_S_CONNECTIONS_DEFERRED, L"Some connections will be made later."},
    {VFW_S_RESOURCE_NOT_NEEDED, L"The resource is not needed."},
    {VFW_S_MEDIA_TYPE_IGNORED, L"The media type given was not used."},
    {VFW_S_VIDEO_NOT_RENDERED, L"The file's sound can be played, but its video cannot."},
    {VFW_S_AUDIO_NOT_RENDERED, L"The file's video can be played, but its sound cannot."},
    {VFW_S_ESTIMATED, L"The value is an estimate."},
    {VFW_S_STREAM_OFF, L"The stream is turned off."},
    {VFW_S_CANT_CUE, L"The graph is paused, but a filter cannot prepare data while paused."},
    {VFW_S_NO_STOP_TIME, L"The sample has a start time but no stop time."},
    {VFW_E_INVALIDMEDIATYPE, L"The media type is not valid here."},
    {VFW_E_INVALIDSUBTYPE, L"The media subtype is not valid here."},
    {VFW_E_NEED_OWNER, L"The object can only be used as part of another."},
    {VFW_E_ENUM_OUT_OF_SYNC, L"The list changed while it was being read; start reading it again."},
    {VFW_E_ALREADY_CONNECTED, L"A pin is already connected."},
    {VFW_E_FILTER_ACTIVE, L"The filter cannot do this while it is playing or paused."},
    {VFW_E_NO_TYPES, L"A pin offers no media types."},
    {VFW_E_NO_ACCEPTABLE_TYPES, L"The pins have no media type in common."},
    {VFW_E_INVALID_DIRECTION, L"The pins cannot be connected: their directions do not fit."},
    {VFW_E_NOT_CONNECTED, L"The pin is not connected."},
    {VFW_E_NO_ALLOCATOR, L"No buffers are available for the connection."},
    {VFW_E_RUNTIME_ERROR, L"An error happened while the data was streaming."},
    {VFW_E_BUFFER_NOTSET, L"No buffer has been given."},
    {VFW_E_BUFFER_OVERFLOW, L"The data does not fit in the buffer."},
    {VFW_E_BADALIGN, L"The buffer alignment is not valid."},
    {VFW_E_ALREADY_COMMITTED, L"The buffers cannot be changed while they are in use."},
    {VFW_E_BUFFERS_OUTSTANDING, L"Some buffers are still in use."},
    {VFW_E_NOT_COMMITTED, L"No buffers can be had: streaming has stopped."},
    {VFW_E_SIZENOTSET, L"The buffer sizes have not been set."},
    {VFW_E_NO_CLOCK, L"No clock is set for the graph."},
    {VFW_E_NO_SINK, L"There is no sink for the events."},
    {VFW_E_NO_INTERFACE, L"A required interface is missing."},
    {VFW_E_NOT_FOUND, L"The object was not found."},
    {VFW_E_CANNOT_CONNECT, L"No combination of filters could be found to make the connection."},
    {VFW_E_CANNOT_RENDER, L"No combination of filters could be found to play the stream."},
    {VFW_E_CHANGING_FORMAT, L"The format could not be changed."},
    {VFW_E_NOT_SAMPLE_CONNECTION, L"The connection does not carry samples."},
    {VFW_E_STATE_CHANGED, L"The state changed while the operation was going on."},
    {VFW_E_NOT_STOPPED, L"The graph must be stopped first."},
    {VFW_E_NOT_PAUSED, L"The graph must be paused first."},
    {VFW_E_NOT_RUNNING, L"The graph must be running first."},
    {VFW_E_WRONG_STATE, L"The operation is not possible in the graph's current state."},
    {VFW_E_START_TIME_AFTER_END, L"The start time is after the end time."},
    {VFW_E_TYPE_NOT_ACCEPTED, L"The media type was refused."},
    {VFW_E_SAMPLE_REJECTED, L"The sample was refused."},
    {VFW_E_SAMPLE_REJECTED_EOS, L"The sample was refused: the stream has ended."},
    {VFW_E_DUPLICATE_NAME, L"The filter could not be added: no free name was left for it."},
    {VFW_E_TIMEOUT, L"The wait timed out."},
    {VFW_E_INVALID_FILE_FORMAT, L"The file's format is not valid."},
    {VFW_E_ENUM_OUT_OF_RANGE, L"The list has no item at that position."},
    {VFW_E_CIRCULAR_GRAPH, L"The connection would make a loop in the graph."},
    {VFW_E_NOT_ALLOWED_TO_SAVE, L"The graph cannot be saved in this state."},
    {VFW_E_TIME_ALREADY_PASSED, L"The time has already passed."},
    {VFW_E_ALREADY_CANCELLED, L"The request was already cancelled."},
    {VFW_E_CORRUPT_GRAPH_FILE, L"The saved graph is damaged."},
    {VFW_E_ADVISE_ALREADY_SET, L"A notification has already been asked for."},
    {VFW_E_NO_ADVISE_SET, L"No notification was asked for."},
    {VFW_E_UNKNOWN_FILE_TYPE, L"The file's type is not known: no source can read it."},
    {VFW_E_CANNOT_LOAD_SOURCE_FILTER, L"The source filter for the file could not be loaded."},
    {VFW_E_FILE_TOO_SHORT, L"The file is shorter than its contents say."},
    {VFW_E_INVALID_FILE_VERSION, L"The file's version is not supported."},
    {VFW_E_INVALID_CLSID, L"A class identifier is not valid."},
    {VFW_E_INVALID_MEDIA_TYPE, L"A media type is not valid."},
    {VFW_E_SAMPLE_TIME_NOT_SET, L"The sample has no time stamp."},
    {VFW_E_MEDIA_TIME_NOT_SET, L"The sample has no media time."},
    {VFW_E_NO_TIME_FORMAT_SET, L"No time format has been chosen."},
    {VFW_E_NO_DECOMPRESSOR, L"No decoder could be found for the stream."},
    {VFW_E_NO_AUDIO_HARDWARE, L"No sound device can be used."},
    {VFW_E_UNSUPPORTED_AUDIO, L"The sound's format is not supported."},
    {VFW_E_UNSUPPORTED_VIDEO, L"The video's format is not supported."},
    {VFW_E_NOT_IN_GRAPH, L"The filter is not in this graph."},
    {VFW_E_NO_TIME_FORMAT, L"The time format is not supported."},
    {VFW_E_READ_ONLY, L"The object can only be read."},
    {VFW_E_BUFFER_UNDERFLOW, L"There is not enough data in the buffer."},
    {VFW_E_UNSUPPORTED_STREAM, L"The stream's format is not supported."},
    {VFW_E_NO_TRANSPORT, L"The pins cannot be connected: they do not exchange data the same way."},
    {VFW_E_TIME_EXPIRED, L"The time has expired."},
    {VFW_E_FRAME_STEP_UNSUPPORTED, L"Stepping frame by frame is not supported."},
};

}  // namespace
}  // namespace platform::media

// The text is cut short when the buffer is too small.
extern "C" DWORD WINAPI AMGetErrorTextW(HRESULT hr, LPWSTR szBuffer, DWORD dwMaxLength) {
  using platform::media::kResultTexts;
  if (!szBuffer || dwMaxLength == 0) return 0;
  const auto found = std::find_if(std::begin(kResultTexts), std::end(kResultTexts),
                                  [hr](const auto &entry) { return entry.code == hr; });
  if (found == std::end(kResultTexts)) return 0;
  const size_t written = std::min<size_t>(std::wcslen(found->text), dwMaxLength - 1);
  std::wmemcpy(szBuffer, found->text, written);
  szBuffer[written] = L'\0';
  return static_cast<DWORD>(written);
}
