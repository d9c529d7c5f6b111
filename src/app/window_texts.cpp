#include "app/window_texts.h"

// The versions of the libraries the About box credits, as built.
#include <png.h>
#include <zlib.h>

#include <jpeglib.h>

namespace quil {

namespace {

#define QUIL_TEXT_OF(x) #x
#define QUIL_TEXT(x) QUIL_TEXT_OF(x)
#ifdef LIBJPEG_TURBO_VERSION
constexpr const char* kJpegVersion = "libjpeg-turbo " QUIL_TEXT(LIBJPEG_TURBO_VERSION);
#else
constexpr const char* kJpegVersion = "libjpeg " QUIL_TEXT(JPEG_LIB_VERSION);
#endif

}  // namespace

const char* LoadErrorMessage(int code) {
    switch (code) {
    case 1: return "無法開啟檔案";
    case 2: return "檔案大小錯誤, 可能已經毀損";
    case 3: return "檔案格式不符";
    case 4: return "解壓縮失敗";
    case 5: return "主版本格式不合";
    case 6: return "不支援的新版本";
    default: return nullptr;
    }
}

std::string AboutText(const std::string& toolkitVersion) {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\n"; };
    line(kApplicationTitle);
    line(std::string("  Version : ") + kReaderVersion);
    line("  Published : 2008/2/22");
    line("  Author  : The Zorvan Quil developers");
    line("  https://example.org/zorvan-quil");
    line("");
    line("== Supports ==");
    line("");
    line("- Qt " + toolkitVersion);
    line("  The Qt Company and the Qt Project contributors");
    line("  https://www.qt.io");
    line("");
    line("- ZLIB " ZLIB_VERSION);
    line("  Jean-loup Gailly and Mark Adler");
    line("  https://zlib.net");
    line("");
    line("- libpng " PNG_LIBPNG_VER_STRING);
    line("  The PNG Reference Library authors");
    line("  http://www.libpng.org/pub/png/libpng.html");
    line("");
    line(std::string("- ") + kJpegVersion);
    line("  The Independent JPEG Group and the libjpeg-turbo authors");
    text += "  https://libjpeg-turbo.org";
    return text;
}

}  // namespace quil
