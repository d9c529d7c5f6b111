#include "video_decoder.h"

#include <algorithm>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace quil::test {

namespace {

struct TInputCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct TCodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct TFrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct TPacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct TScaleCloser {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

// The coefficients a player uses for the stream's tagged matrix.
int ScaleColorspace(AVColorSpace space) {
    switch (space) {
    case AVCOL_SPC_BT709: return SWS_CS_ITU709;
    case AVCOL_SPC_BT2020_NCL: return SWS_CS_BT2020;
    default: return SWS_CS_DEFAULT;
    }
}

std::vector<uint8_t> ToRgb(const AVFrame* frame) {
    std::unique_ptr<SwsContext, TScaleCloser> scale(
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                       frame->height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale) return {};
    const int* yuv = sws_getCoefficients(ScaleColorspace(frame->colorspace));
    sws_setColorspaceDetails(scale.get(), yuv, frame->color_range == AVCOL_RANGE_JPEG, yuv, 1, 0,
                             1 << 16, 1 << 16);
    // The converter's vector code may write past the end of a row: it gets
    // padded rows of its own, copied out tightly afterwards.
    const int rowBytes = frame->width * 3;
    const int stride = (rowBytes + 63) / 64 * 64 + 64;
    std::vector<uint8_t> padded(size_t(stride) * (frame->height + 1));
    uint8_t* planes[1] = {padded.data()};
    const int strides[1] = {stride};
    sws_scale(scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    std::vector<uint8_t> rgb(size_t(rowBytes) * frame->height);
    for (int y = 0; y < frame->height; ++y)
        std::copy_n(padded.data() + size_t(y) * stride, rowBytes,
                    rgb.data() + size_t(y) * rowBytes);
    return rgb;
}

bool Fail(TDecodedVideo& video, const std::string& what) {
    video.error = what;
    return false;
}

bool Decode(const std::string& path, TDecodedVideo& video) {
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return Fail(video, "cannot open " + path);
    std::unique_ptr<AVFormatContext, TInputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return Fail(video, "no stream info");
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) return Fail(video, "no video stream");
    AVStream* stream = input->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) return Fail(video, "no decoder");
    std::unique_ptr<AVCodecContext, TCodecCloser> codec(avcodec_alloc_context3(decoder));
    avcodec_parameters_to_context(codec.get(), stream->codecpar);
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return Fail(video, "decoder refused");

    video.container = input->iformat->name;
    video.codec = decoder->name;
    video.width = stream->codecpar->width;
    video.height = stream->codecpar->height;
    video.frameRateNum = stream->avg_frame_rate.num;
    video.frameRateDen = stream->avg_frame_rate.den;
    video.duration = input->duration > 0 ? double(input->duration) / AV_TIME_BASE : 0.0;

    std::unique_ptr<AVPacket, TPacketCloser> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, TFrameCloser> frame(av_frame_alloc());
    auto receive = [&] {
        while (avcodec_receive_frame(codec.get(), frame.get()) >= 0) {
            const char* name = av_get_pix_fmt_name(AVPixelFormat(frame->format));
            video.pixelFormat = name ? name : "";
            video.frames.push_back(ToRgb(frame.get()));
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(codec.get(), packet.get()) >= 0)
            receive();
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(codec.get(), nullptr);
    receive();
    return true;
}

}  // namespace

TDecodedVideo DecodeVideo(const std::string& path) {
    TDecodedVideo video;
    av_log_set_level(AV_LOG_ERROR);
    video.ok = Decode(path, video);
    return video;
}

}  // namespace quil::test
