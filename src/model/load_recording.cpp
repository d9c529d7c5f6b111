#include "model/load_recording.h"

namespace quil {

int LoadRecording(TPenReplayWT& document, const std::filesystem::path& path) {
    if (TPenReplayWT::FindAppendedRecording(path)) return document.LoadAppended(path);
    return document.LoadFile(path);
}

}  // namespace quil
