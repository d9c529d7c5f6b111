#pragma once

#include <QFont>

namespace quil {

// The window's font: a Ming-style face with the Chinese characters of the
// viewer's messages, 12 pixels high; the toolkit's default face at that
// size when none is installed.
QFont WindowFont();

}  // namespace quil
