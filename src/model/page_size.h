#pragma once

namespace quil {

// The standard page in page units: the size of a recording that names none
// of its own, and the page the grid's missing column and row counts cover.
constexpr int kDefaultPageWidth = 1022;
constexpr int kDefaultPageHeight = 718;

}  // namespace quil
