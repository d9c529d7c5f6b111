#include "render/bulk_drawing.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "render/fuzzy_line_gdi.h"

namespace quil {

namespace {

constexpr int kMostBands = 2;
// Display rows per stripe: a line of handwriting spans a few stripes, so
// that the strokes drawn between two progress events, which mostly lie on
// one line, give every band its share.
constexpr int kStripeDisplayRows = 16;

int DefaultBands() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(int(cores), 1, kMostBands);
}

// Runs one band's part of a job; memory that runs out there ends only that
// part, as the drawing operations end when theirs cannot be had.
void RunPart(const std::function<void(TStrokePainter&)>& draw, TStrokePainter& painter) {
    try {
        draw(painter);
    } catch (const std::bad_alloc&) {}
}

}  // namespace

TBulkDrawing::TBulkDrawing(TFuzzyLineGDI& renderer, int bands) : renderer_(renderer) {
    const int wanted = std::max(bands > 0 ? bands : DefaultBands(), 1);
    const TSampleBox limits = renderer.DrawingLimits();
    for (int i = 0; i < wanted; ++i) {
        auto painter = std::make_unique<TStrokePainter>(renderer);
        painter->SetLimits(limits);
        painter->SetColor(renderer.Color());
        painter->SetOpacity(renderer.Opacity());
        painters_.push_back(std::move(painter));
    }
    for (size_t band = 1; band < painters_.size(); ++band) {
        try {
            threads_.emplace_back(&TBulkDrawing::Work, this, band);
        } catch (const std::system_error&) {
            break;  // the bands that have a thread share the surface
        }
    }
    painters_.resize(threads_.size() + 1);
    const int count = int(painters_.size());
    for (int i = 0; i < count; ++i)
        painters_[size_t(i)]->SetBand(i, count, kStripeDisplayRows * renderer.Geometry().factor);
}

TBulkDrawing::~TBulkDrawing() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void TBulkDrawing::Work(size_t band) {
    unsigned seen = 0;
    for (;;) {
        const std::function<void(TStrokePainter&)>* job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return ending_ || generation_ != seen; });
            if (ending_) return;
            seen = generation_;
            job = job_;
        }
        RunPart(*job, *painters_[band]);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --busy_;
        }
        done_.notify_one();
    }
}

void TBulkDrawing::Run(const std::function<void(TStrokePainter&)>& draw) {
    if (threads_.empty()) {
        RunPart(draw, *painters_[0]);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &draw;
        busy_ = int(threads_.size());
        ++generation_;
    }
    wake_.notify_all();
    RunPart(draw, *painters_[0]);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return busy_ == 0; });
}

void TBulkDrawing::ResolveChanged() {
    TChangedTiles& all = painters_[0]->Changed();
    for (size_t i = 1; i < painters_.size(); ++i)
        all.TakeFrom(painters_[i]->Changed());
    all.Resolve([&](int x0, int y0, int x1, int y1) { renderer_.ResolveRect(x0, y0, x1, y1); });
}

}  // namespace quil
