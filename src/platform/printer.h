#pragma once

#include "platform/bitmap.h"
#include "platform/geometry.h"

namespace quil {

// A printer as the print rendering uses it: one job of one page, on which a
// 24-bit picture is stretched onto a rectangle. The shell backs it with the
// toolkit's printing; tests record what it is handed.
class IPrinter {
public:
    virtual ~IPrinter() = default;

    // The page's printable area in printer pixels; (0, 0) is its top-left
    // corner.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    // Starts a job of one page. False when the printer cannot start one; the
    // other operations then do nothing.
    virtual bool BeginDoc() = 0;

    // Stretches the whole of a 24-bit picture onto `destination` (right and
    // bottom are edges, exclusive). A picture of the destination's own size
    // is laid down pixel for pixel. Only between BeginDoc and EndDoc.
    virtual void StretchPicture(const TRect& destination, const TBitmap& picture) = 0;

    // Ends the job and hands it to the system; true when the system
    // accepted it.
    virtual bool EndDoc() = 0;
};

}  // namespace quil
