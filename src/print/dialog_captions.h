#pragma once

#include <memory>
#include <string>

#include "print/file_info_reader.h"
#include "print/settings.h"

namespace quil {

// The print dialog's captions come in 20 slots, each with an English text
// of its own; a language file of version 2 or later may name others.
constexpr int kCaptionCount = 20;
constexpr int kLanguageFileVersion = 2;

// The English caption of a slot; empty for a slot out of range.
const char* EnglishCaption(int slot);

// Where the captions are looked for.
struct TCaptionPlaces {
    TSettingsFiles settings;
    std::string programFolder;  // the running program's folder, ending with '/'

    static TCaptionPlaces FromEnvironment();
};

// The folder of the running program, ending with '/'; "./" when it cannot
// be found.
std::string ProgramFolder();

// The skin folder a program finds without settings, ending with '/': the
// folder "Skin/" beside the program (the build tree keeps the language
// files there), else the installed one in the data folder next to the
// program's, "<program folder>/../share/quil-reader/Skin/" for the usual
// layout. The installed one is named relative to the program, so an
// installation works under any prefix and wherever it is unpacked. When
// neither exists, the one beside the program.
std::string DefaultSkinPath(const std::string& programFolder);

// The captions of one print dialog. LoadCaptions chooses the language file
// once: "Skin_Path2" (default: DefaultSkinPath) names the
// folder of the language folders, "Language" (default "English") the one to
// use, and the file is skin path + language + "/PrinterDlg.txt". The skin
// path is a prefix, used as it stands; a skin folder that does not exist
// gives "./". Without a usable file every slot shows its English text.
class TDialogCaptions {
public:
    void LoadCaptions(const TCaptionPlaces& places);
    void LoadCaptions() { LoadCaptions(TCaptionPlaces::FromEnvironment()); }

    // The slot's text from the language file, or its English text when
    // there is no file, the file's version is below 2 or the entry is empty.
    std::string CaptionText(int slot) const;

    // The language file in use, or none.
    const TFileInfoReader* Reader() const { return reader_.get(); }

private:
    std::unique_ptr<TFileInfoReader> reader_;
};

}  // namespace quil
