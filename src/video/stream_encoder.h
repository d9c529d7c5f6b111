#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "video/av_holders.h"
#include "video/memory_output.h"
#include "video/video_size.h"

namespace quil {

// One video stream encoded and muxed into memory: H.264 in MP4 (the index
// moved to the front at the end, so that the file plays while it
// downloads), VP9 in WebM, or GIF. Frames are numbered by their pts, one
// per frame at the given rate.
class TStreamEncoder {
public:
    TStreamEncoder() = default;
    ~TStreamEncoder();
    TStreamEncoder(const TStreamEncoder&) = delete;
    TStreamEncoder& operator=(const TStreamEncoder&) = delete;

    // Opens the encoder and the muxer; false with Error() set when the
    // library lacks the encoder or refuses the settings.
    bool Open(TVideoType type, TFrameSize size, int fps);

    // Encodes one frame (its pts set by the caller) and muxes what comes out.
    bool Encode(const AVFrame* frame);

    // Flushes the encoder and writes the muxer's trailer.
    bool Finish();

    // The finished file's bytes.
    std::vector<uint8_t> TakeBytes() { return output_.TakeBytes(); }

    const std::string& Error() const { return error_; }

private:
    bool OpenMuxer();
    bool OpenEncoder(TFrameSize size, int fps);
    bool StartStream();
    bool Fail(const std::string& what, int code);
    bool WritePackets();

    TVideoType type_ = TVideoType::Mp4;
    // Declared before the muxer, which writes into it until it goes.
    TMemoryOutput output_;
    TFormatContextPtr format_;
    TCodecContextPtr codec_;
    TPacketPtr packet_;
    AVStream* stream_ = nullptr;
    bool started_ = false;  // the muxer's header is written
    bool finished_ = false;
    std::string error_;
};

}  // namespace quil
