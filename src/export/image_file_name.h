#pragma once

#include <filesystem>
#include <string>

namespace quil {

// The file types of the "Image file..." command, in the order of its
// filter list (filter index 1 to 4).
enum class TImageType { Bitmap, Jpeg, Png, Svgz };

// The save dialog's filter string.
inline constexpr const char* kImageFileFilter =
    "Bitmap Image (*.bmp)|*.bmp|JPEG Image (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
    "PNG Image (*.png)|*.png|SVGZ Image (*.svgz)|*.svgz";

// The type of a 1-based filter index; any index other than 1 to 4 is Bitmap.
TImageType ImageTypeForFilter(int filterIndex);

// ".bmp", ".jpg", ".png" or ".svgz".
const char* ImageTypeExtension(TImageType type);

// The name a save command writes for the type it was given: the extension
// of the last path component (from its last "." to its end; a dot in a
// folder name is no extension) is removed and the type's `extension`
// appended. So the type is always the one chosen, never the one typed.
std::filesystem::path ChosenTypeFileName(const std::filesystem::path& chosen,
                                         const char* extension);

// The name "Image file..." writes (ChosenTypeFileName): scan.png saved as a
// bitmap becomes scan.bmp, page.jpeg saved as JPEG becomes page.jpg.
std::filesystem::path ImageFileName(const std::filesystem::path& chosen, int filterIndex);

}  // namespace quil
