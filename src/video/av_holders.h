#pragma once

// Owners of FFmpeg's objects: each is freed by the library's own function
// when its holder goes away.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace quil {

struct TFrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct TPacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct TCodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
// A muxer whose output is ours (AVFMT_FLAG_CUSTOM_IO): its pb is not freed here.
struct TFormatContextFree {
    void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
struct TFilterGraphFree {
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};
struct TScaleContextFree {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFree>;
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextFree>;
using TFormatContextPtr = std::unique_ptr<AVFormatContext, TFormatContextFree>;
using TFilterGraphPtr = std::unique_ptr<AVFilterGraph, TFilterGraphFree>;
using TScaleContextPtr = std::unique_ptr<SwsContext, TScaleContextFree>;

}  // namespace quil
