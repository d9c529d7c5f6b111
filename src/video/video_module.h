#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "video/video_options.h"
#include "video/video_writer.h"

namespace quil {

// The file name of the video module.
inline constexpr char kVideoModuleName[] = "quil-video.so";

// The video module, quil-video.so: the replay video writer and FFmpeg's
// libraries behind it, loaded only when a video is to be written, so that
// nothing else a program does pays for them (`quil info` starts without
// loading a hundred libraries; `quil thumbnail` runs in a file manager's
// sandbox where some of them cannot be reached).
//
// A loaded module stays loaded until the program ends: the writers it makes
// run its code, and FFmpeg's libraries are not made to be unloaded. So this
// is a plain value that holds the entry point, and nothing to close.
class TVideoModule {
public:
    // Looks for the module where VideoModuleFolders(program) say, and loads
    // the first one found.
    static TVideoModule Load(const std::filesystem::path& program);

    bool Available() const { return make_ != nullptr; }
    // Why there is no module, in plain words ("this installation has no
    // video support: ..."); empty when it is available.
    const std::string& Problem() const { return problem_; }

    // A new writer, or nullptr when the module is not available.
    std::unique_ptr<IReplayVideoWriter> MakeWriter(const TReplayVideoOptions& options) const;

private:
    TMakeReplayVideoWriter* make_ = nullptr;
    std::string problem_;
};

// Where the module of `program` lies, in the order it is looked for: beside
// the program (the build folder, where the programs and the module are made
// side by side), then the installed folder <prefix>/<libdir>/quil-reader,
// found from the program's own folder <prefix>/<bindir>, so that any prefix
// and a relocated (DESTDIR) installation work. A program reached through a
// symbolic link counts from where it really lies.
std::vector<std::filesystem::path> VideoModuleFolders(const std::filesystem::path& program);

}  // namespace quil
