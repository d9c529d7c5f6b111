#include "export/image_file_name.h"

namespace quil {

TImageType ImageTypeForFilter(int filterIndex) {
    switch (filterIndex) {
    case 2: return TImageType::Jpeg;
    case 3: return TImageType::Png;
    case 4: return TImageType::Svgz;
    default: return TImageType::Bitmap;
    }
}

const char* ImageTypeExtension(TImageType type) {
    switch (type) {
    case TImageType::Jpeg: return ".jpg";
    case TImageType::Png: return ".png";
    case TImageType::Svgz: return ".svgz";
    case TImageType::Bitmap: break;
    }
    return ".bmp";
}

std::filesystem::path ChosenTypeFileName(const std::filesystem::path& chosen,
                                         const char* extension) {
    std::string name = chosen.native();
    const size_t componentStart = name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot >= componentStart) name.erase(dot);
    name += extension;
    return std::filesystem::path(name);
}

std::filesystem::path ImageFileName(const std::filesystem::path& chosen, int filterIndex) {
    return ChosenTypeFileName(chosen, ImageTypeExtension(ImageTypeForFilter(filterIndex)));
}

}  // namespace quil
