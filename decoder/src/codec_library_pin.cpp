// libavcodec, and with it every library it pulls in, stays loaded for the
// life of the process once the decoder has brought it in, even when the
// decoder library itself is unloaded (DllCanUnloadNow). Several of those
// libraries (GLib-based ones, pixman) keep state from their loading until
// the process ends and do not survive being unloaded and loaded again, which
// a program that frees unused servers and creates the decoder anew would do.
// When the program has libavcodec loaded already, this changes nothing.
#include <dlfcn.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace h264decoder {
namespace {

bool PinCodecLibrary() {
  Dl_info codec{};
  if (!dladdr(reinterpret_cast<const void *>(&avcodec_version), &codec) || !codec.dli_fname) return false;
  return dlopen(codec.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

const bool kCodecLibraryPinned = PinCodecLibrary();

}  // namespace
}  // namespace h264decoder
