#include "print/dialog_captions.h"

#include <system_error>

#include "platform/special_folders.h"

namespace quil {

namespace {

constexpr const char* kEnglish[kCaptionCount] = {
    "Print Option",
    "Select print area",
    "Select All",
    "Auto",
    "Next",
    "Cancel",
    "Select a printer",
    "Printer options...",
    "Position",
    "Orientation",
    "Portrait",
    "Landscape",
    "Position",
    "Zoom",
    "Reset",
    "Back",
    "Print",
    "Cancel",
    "Copies",
    "Boundary Line",
};

}  // namespace

const char* EnglishCaption(int slot) {
    return slot >= 0 && slot < kCaptionCount ? kEnglish[slot] : "";
}

std::string ProgramFolder() {
    const std::filesystem::path program = RunningProgram();
    if (!program.has_parent_path()) return "./";
    std::string folder = program.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string DefaultSkinPath(const std::string& programFolder) {
    const std::string beside = programFolder + "Skin/";
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) return beside;
    // QUIL_INSTALLED_SKIN: the installed skin folder relative to the
    // installed program's folder, from the build's install layout.
    const std::filesystem::path installed =
        std::filesystem::path(programFolder + QUIL_INSTALLED_SKIN).lexically_normal();
    if (std::filesystem::is_directory(installed, error)) return installed.string();
    return beside;
}

TCaptionPlaces TCaptionPlaces::FromEnvironment() {
    return {TSettingsFiles::FromEnvironment(), ProgramFolder()};
}

void TDialogCaptions::LoadCaptions(const TCaptionPlaces& places) {
    std::string skinPath =
        ReadSetting(places.settings, "Skin_Path2", DefaultSkinPath(places.programFolder));
    std::error_code error;
    if (!std::filesystem::is_directory(skinPath, error)) skinPath = "./";
    const std::string language = ReadSetting(places.settings, "Language", "English");
    const std::filesystem::path file = skinPath + language + "/PrinterDlg.txt";
    reader_.reset();
    if (std::filesystem::exists(file, error)) reader_ = std::make_unique<TFileInfoReader>(file);
}

std::string TDialogCaptions::CaptionText(int slot) const {
    if (reader_ && reader_->GetVersion() >= kLanguageFileVersion) {
        std::string text = reader_->GetEntry(slot);
        if (!text.empty()) return text;
    }
    return EnglishCaption(slot);
}

}  // namespace quil
