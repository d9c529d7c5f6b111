#include "video/filter_graph.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/mem.h>
}

#include "video/library_messages.h"

namespace quil {

bool TFilterGraph::Build(const std::vector<std::string>& sources, const std::string& description,
                         std::string& error) {
    CaptureLibraryMessages();
    graph_.reset(avfilter_graph_alloc());
    pulled_.reset(av_frame_alloc());
    if (!graph_ || !pulled_) {
        error = "out of memory";
        return false;
    }
    // The filters make few frames; one thread is enough and keeps the
    // graph's work in step with the replay.
    graph_->nb_threads = 1;
    AVFilterInOut* outputs = nullptr;  // the sources' pads, open towards the description
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string name = "in" + std::to_string(i);
        AVFilterContext* source = nullptr;
        int code =
            avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), name.c_str(),
                                         sources[i].c_str(), nullptr, graph_.get());
        AVFilterInOut* pad = code >= 0 ? avfilter_inout_alloc() : nullptr;
        if (!pad) {
            avfilter_inout_free(&outputs);
            error = "filter source " + name + ": " + LibraryErrorText(code);
            return false;
        }
        pad->name = av_strdup(name.c_str());
        pad->filter_ctx = source;
        pad->pad_idx = 0;
        pad->next = outputs;
        outputs = pad;
        sources_.push_back(source);
    }
    int code = avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out",
                                            nullptr, nullptr, graph_.get());
    AVFilterInOut* inputs = code >= 0 ? avfilter_inout_alloc() : nullptr;
    if (!inputs) {
        avfilter_inout_free(&outputs);
        error = "filter sink: " + LibraryErrorText(code);
        return false;
    }
    inputs->name = av_strdup("out");
    inputs->filter_ctx = sink_;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    code = avfilter_graph_parse_ptr(graph_.get(), description.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (code >= 0) code = avfilter_graph_config(graph_.get(), nullptr);
    if (code < 0) {
        error = "the filters \"" + description + "\" cannot be set up: " + LibraryErrorText(code);
        return false;
    }
    return true;
}

bool TFilterGraph::Push(size_t input, const AVFrame* frame) {
    if (input >= sources_.size()) return false;
    // KEEP_REF: the source takes a reference of its own.
    return av_buffersrc_add_frame_flags(sources_[input], const_cast<AVFrame*>(frame),
                                        AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
}

bool TFilterGraph::Pull(const std::function<bool(AVFrame*)>& take) {
    for (;;) {
        const int code = av_buffersink_get_frame(sink_, pulled_.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
        if (code < 0) return false;
        const bool taken = take(pulled_.get());
        av_frame_unref(pulled_.get());
        if (!taken) return false;
    }
}

}  // namespace quil
