#pragma once

#include "export/picture_export.h"

namespace quil {

// The desktop's clipboard: the page goes on it as an image, replacing what
// it held, for any other program to paste.
class TQtClipboard final : public IClipboard {
public:
    bool SetBitmap(const TBitmap& picture) override;
};

}  // namespace quil
