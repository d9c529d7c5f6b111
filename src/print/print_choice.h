#pragma once

#include <string>

#include "platform/geometry.h"

namespace quil {

// What the print dialog hands to the print command when the user presses
// "Print".
struct TPrintChoice {
    std::string printer;  // the chosen printer's name
    bool landscape = false;
    int copies = 1;
    TRect area;    // the part of the page to print, in page units; right and bottom exclusive
    TRect target;  // where it goes on the printer's page, in printer pixels, by its edges
    bool boundary = false;  // "Boundary Line" was checked
};

}  // namespace quil
