#pragma once

#include <functional>
#include <string>
#include <vector>

#include "video/av_holders.h"

namespace quil {

// A graph of FFmpeg's filters with buffer sources named in0, in1, ... and
// one buffer sink named out, described in the libraries' own filter
// language, e.g. "[in0][in1]paletteuse[out]".
class TFilterGraph {
public:
    // `sources` holds the arguments of each buffer source
    // ("video_size=WxH:pix_fmt=bgr24:time_base=1/30:pixel_aspect=1/1").
    // False with `error` set when the graph cannot be built.
    bool Build(const std::vector<std::string>& sources, const std::string& description,
               std::string& error);

    // Hands a frame to input `input` (the frame stays the caller's);
    // nullptr ends that input.
    bool Push(size_t input, const AVFrame* frame);

    // Passes every frame that is ready at the output to `take`, which may
    // keep a reference of it; false when `take` or the graph fails.
    bool Pull(const std::function<bool(AVFrame*)>& take);

private:
    TFilterGraphPtr graph_;
    std::vector<AVFilterContext*> sources_;
    AVFilterContext* sink_ = nullptr;
    TFramePtr pulled_;
};

}  // namespace quil
