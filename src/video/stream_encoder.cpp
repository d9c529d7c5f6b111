#include "video/stream_encoder.h"

extern "C" {
#include <libavutil/opt.h>
}

#include "video/library_messages.h"

namespace quil {

namespace {

// What each type is made with. Handwriting is thin dark lines on a still,
// light page: the encoders keep it sharp at these settings, and the still
// parts between the frames cost next to nothing.
struct TCodecChoice {
    const char* muxer;
    const char* encoder;
    AVPixelFormat format;
    // Encoder options by FFmpeg's own names, then the muxer's ("" ends).
    const char* encoderOptions[6][2];
    const char* muxerOptions[2][2];
};

const TCodecChoice& ChoiceFor(TVideoType type) {
    static const TCodecChoice kMp4 = {"mp4",
                                      "libx264",
                                      AV_PIX_FMT_YUV420P,
                                      {{"preset", "veryfast"}, {"crf", "18"}},
                                      {{"movflags", "+faststart"}}};
    static const TCodecChoice kWebm = {
        "webm",
        "libvpx-vp9",
        AV_PIX_FMT_YUV420P,
        {{"crf", "28"}, {"b", "0"}, {"deadline", "realtime"}, {"cpu-used", "8"}, {"row-mt", "1"}},
        {}};
    static const TCodecChoice kGif = {"gif", "gif", AV_PIX_FMT_PAL8, {}, {}};
    switch (type) {
    case TVideoType::Mp4: return kMp4;
    case TVideoType::Webm: return kWebm;
    case TVideoType::Gif: break;
    }
    return kGif;
}

// A key frame every ten seconds, so that a player can seek.
constexpr int kKeyFrameSeconds = 10;

}  // namespace

TStreamEncoder::~TStreamEncoder() {
    // A muxer left without its trailer (a failure, a cancel) keeps frames it
    // has not written yet, and some muxers free them only there. The bytes
    // it writes go nowhere.
    if (started_ && !finished_) av_write_trailer(format_.get());
}

bool TStreamEncoder::Fail(const std::string& what, int code) {
    error_ = code == 0 ? what : what + ": " + LibraryErrorText(code);
    return false;
}

bool TStreamEncoder::Open(TVideoType type, TFrameSize size, int fps) {
    CaptureLibraryMessages();
    ClearLibraryError();
    type_ = type;
    return OpenMuxer() && OpenEncoder(size, fps) && StartStream();
}

bool TStreamEncoder::OpenMuxer() {
    const char* muxer = ChoiceFor(type_).muxer;
    AVFormatContext* format = nullptr;
    const int code = avformat_alloc_output_context2(&format, nullptr, muxer, nullptr);
    format_.reset(format);
    if (code < 0 || !format) return Fail(std::string("no ") + muxer + " muxer", code);
    if (!output_.Attach(format)) return Fail("out of memory", AVERROR(ENOMEM));
    return true;
}

bool TStreamEncoder::OpenEncoder(TFrameSize size, int fps) {
    const TCodecChoice& choice = ChoiceFor(type_);
    const AVCodec* encoder = avcodec_find_encoder_by_name(choice.encoder);
    if (!encoder)
        return Fail(std::string("FFmpeg's libraries have no ") + choice.encoder + " encoder", 0);
    codec_.reset(avcodec_alloc_context3(encoder));
    packet_.reset(av_packet_alloc());
    if (!codec_ || !packet_) return Fail("out of memory", AVERROR(ENOMEM));
    AVCodecContext* c = codec_.get();
    c->width = size.width;
    c->height = size.height;
    c->pix_fmt = choice.format;
    c->time_base = AVRational{1, fps};
    c->framerate = AVRational{fps, 1};
    c->sample_aspect_ratio = AVRational{1, 1};
    c->thread_count = 0;  // as many as the machine has
    if (type_ != TVideoType::Gif) {
        c->gop_size = kKeyFrameSeconds * fps;
        // The frames are made by TYuvConverter with these coefficients.
        c->color_range = AVCOL_RANGE_MPEG;
        c->colorspace = AVCOL_SPC_BT709;
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_BT709;
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    for (const auto& option : choice.encoderOptions) {
        if (!option[0]) break;
        const int code = av_opt_set(c, option[0], option[1], AV_OPT_SEARCH_CHILDREN);
        if (code < 0) return Fail(std::string("the encoder takes no option ") + option[0], code);
    }
    const int code = avcodec_open2(c, encoder, nullptr);
    if (code < 0) return Fail(std::string("the ") + choice.encoder + " encoder refused", code);
    return true;
}

bool TStreamEncoder::StartStream() {
    stream_ = avformat_new_stream(format_.get(), nullptr);
    if (!stream_) return Fail("out of memory", AVERROR(ENOMEM));
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    int code = avcodec_parameters_from_context(stream_->codecpar, codec_.get());
    if (code < 0) return Fail("the stream cannot be set up", code);
    const TCodecChoice& choice = ChoiceFor(type_);
    AVDictionary* options = nullptr;
    for (const auto& option : choice.muxerOptions)
        if (option[0]) av_dict_set(&options, option[0], option[1], 0);
    code = avformat_write_header(format_.get(), &options);
    av_dict_free(&options);
    if (code < 0) return Fail(std::string("the ") + choice.muxer + " muxer refused", code);
    started_ = true;
    return true;
}

bool TStreamEncoder::Encode(const AVFrame* frame) {
    if (!codec_) return Fail("the encoder is not open", 0);
    const int code = avcodec_send_frame(codec_.get(), frame);
    if (code < 0) return Fail("encoding failed", code);
    return WritePackets();
}

bool TStreamEncoder::WritePackets() {
    for (;;) {
        int code = avcodec_receive_packet(codec_.get(), packet_.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
        if (code < 0) return Fail("encoding failed", code);
        av_packet_rescale_ts(packet_.get(), codec_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        code = av_interleaved_write_frame(format_.get(), packet_.get());
        if (code < 0) return Fail("muxing failed", code);
    }
}

bool TStreamEncoder::Finish() {
    if (!Encode(nullptr)) return false;
    finished_ = true;
    const int code = av_write_trailer(format_.get());
    if (code < 0) return Fail("the file's end cannot be written", code);
    return true;
}

}  // namespace quil
