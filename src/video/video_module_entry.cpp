// The entry point of the video module, quil-video.so: the one symbol the
// module shows to the programs that load it.

#include <string_view>

#include "video/replay_video_writer.h"
#include "video/video_writer.h"

// Declared through the entry point's type, so that the definition below
// cannot drift from what the loader calls.
extern "C" quil::TMakeReplayVideoWriter QuilMakeReplayVideoWriter;
static_assert(std::string_view(quil::kMakeReplayVideoWriter) == "QuilMakeReplayVideoWriter");

extern "C" __attribute__((visibility("default"))) quil::IReplayVideoWriter*
QuilMakeReplayVideoWriter(int interfaceVersion, const quil::TReplayVideoOptions* options) {
    if (interfaceVersion != quil::kVideoModuleInterface || !options) return nullptr;
    return new quil::TReplayVideoWriter(*options);
}
