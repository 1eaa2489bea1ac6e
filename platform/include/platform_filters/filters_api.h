// Building blocks for media filters, shared by the platform's built-in
// filters and by filters in other libraries (the decoder under test is one).
//
// The classes live in the platform library (libquorvel-platform.so) and are
// exported from it; a filter library includes these headers as
// <platform_filters/...> and links against the platform. Their state is kept
// out of the headers, behind each class's private implementation, so that a
// filter built against one platform library keeps working with the next.
//
//   media_type.h        AM_MEDIA_TYPE helpers and MediaType, an owning copy
//   base_filter.h       BaseFilter: IBaseFilter, states, pins, graph events
//   base_pin.h          BasePin: IPin, connection and type negotiation
//   input_pin.h         InputPin: IMemInputPin, samples, end of stream,
//                       flushing, segments
//   output_pin.h        OutputPin: allocator choice, delivery, type changes
//   transform_filter.h  TransformFilter: one input, one output
//   renderer_filter.h   RendererFilter: one input that presents samples
//   source_filter.h     SourceFilter and SourcePin: a producing thread and
//                       one output queue, with its own thread, per pin
//
// Threads and locks, for all of them. A filter's state changes (Stop, Pause,
// Run) come from the graph manager's caller under the filter's state lock.
// Samples, end of stream and segments travel on streaming threads, which
// never take a state lock; flushing comes from the thread that seeks. A lock
// of one filter is never held while calling into another filter, except that
// a streaming thread keeps its filter's streaming lock while it delivers
// downstream: streaming locks are taken upstream before downstream, which is
// why the graph manager stops renderers first. Streaming threads talk to the
// graph manager only through IMediaEventSink::Notify.
#pragma once

#define PLATFORM_FILTERS_API __attribute__((visibility("default")))
