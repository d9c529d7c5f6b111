#pragma once

namespace quil {

// How a print ended, for the print command to tell the user; the player's
// RenderToPrinter itself says only printed (1) or not (0).
enum class TPrintStatus {
    Printed,    // the job went to the printer and the system accepted it
    NoPage,     // no recording is open, or the player is busy drawing
    EmptyArea,  // the area or the destination has no width or height, or the
                // scale is not positive: there is nothing to draw
    TooLarge,   // the work surface and the picture would not fit in memory
    Refused,    // the printer could not start the job, or the system did not
                // accept it
};

}  // namespace quil
