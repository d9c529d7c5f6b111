#include "app/window_font.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace quil {

QFont WindowFont() {
    QFont font;
    for (const char* family : {"AR PL UMing TW", "AR PL UMing HK", "AR PL UMing CN"}) {
        if (QFontDatabase::hasFamily(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPixelSize(12);
    return font;
}

}  // namespace quil
