// The print dialog's language file: its encodings, its version, single
// entries, and how the settings choose it.

#include <gtest/gtest.h>

#include "print/dialog_captions.h"
#include "print/file_info_reader.h"
#include "print/text_file.h"
#include "test_folder.h"

namespace quil {
namespace {

using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    WriteText(file, bytes);
}

// UTF-8 text as UTF-16 bytes with a byte-order mark.
std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(FileInfoReader, ReadsEveryEncodingTheFileMayHave) {
    TTestFolder folder;
    const std::u16string file16 = u"[Header]\r\nVersion=2\r\n[Data]\r\n016=列印\r\n";
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16 little-endian", Utf16(file16, false)},
        {"UTF-16 big-endian", Utf16(file16, true)},
        {"UTF-8", "[Header]\nVersion=2\n[Data]\n016=列印\n"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[Header]\nVersion=2\n[Data]\n016=列印\n"},
        // Not UTF-8: read in the code page of $QUIL_CODEPAGE (Big5 here).
        {"Big5", "[Header]\nVersion=2\n[Data]\n016=\xA6\x43\xA6\x4C\n"},
    };
    for (const Case& c : cases) {
        WriteBytes(folder / "PrinterDlg.txt", c.bytes);
        const TFileInfoReader reader(folder / "PrinterDlg.txt");
        EXPECT_EQ(reader.GetVersion(), 2) << c.what;
        EXPECT_EQ(reader.GetEntry(16), "列印") << c.what;
        EXPECT_EQ(reader.GetEntry(15), "") << c.what;
    }
}

TEST(FileInfoReader, ReadsNumbersFromTheirLeadingDigits) {
    TTestFolder folder;
    const struct {
        const char* header;
        int version, subVersion;
    } cases[] = {
        {"[Header]\nVersion=2\nSubVersion=7\n", 2, 7},
        {"[Header]\nVersion= 12abc\nSubVersion=x1\n", 12, 0},
        {"[Header]\nVersion=-3\n", -3, 0},
        {"[Header]\nVersion=99999999999\n", 2147483647, 0},
        {"[Data]\nVersion=2\n", 0, 0},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        WriteBytes(folder / "f.txt", c.header);
        const TFileInfoReader reader(folder / "f.txt");
        EXPECT_EQ(reader.GetVersion(), c.version) << c.header;
        EXPECT_EQ(reader.GetSubVersion(), c.subVersion) << c.header;
    }
}

TEST(FileInfoReader, WithoutAFileThereIsNothingToRead) {
    TTestFolder folder;
    const TFileInfoReader none(std::nullopt);
    EXPECT_EQ(none.GetVersion(), 0);
    EXPECT_EQ(none.GetEntry(0), "");
    const TFileInfoReader missing(folder / "missing.txt");
    EXPECT_EQ(missing.GetVersion(), 0);
    // A folder, and a file beyond the size of any language file.
    const TFileInfoReader directory(folder.Path());
    EXPECT_EQ(directory.GetVersion(), 0);
    WriteBytes(folder / "big.txt", "[Header]\nVersion=2\n" + std::string(kMaxTextFileBytes, ';'));
    EXPECT_EQ(TFileInfoReader(folder / "big.txt").GetVersion(), 0);
}

TEST(FileInfoReader, UsesAtMost1023CharactersOfAnEntry) {
    TTestFolder folder;
    std::string caption;
    for (int i = 0; i < 1500; ++i)
        caption += "印";
    WriteBytes(folder / "f.txt", "[Data]\n000=" + caption + "\n");
    EXPECT_EQ(TFileInfoReader(folder / "f.txt").GetEntry(0), caption.substr(0, 1023 * 3));
}

// A program folder of its own with a settings pair, as LoadCaptions sees it.
class Captions : public ::testing::Test {
protected:
    TTestFolder folder;
    TCaptionPlaces places{
        {folder / "config/Zorvan Quil/Quil3.1.conf", {folder / "xdg/Zorvan Quil/Quil3.1.conf"}},
        (folder / "App/").string()};

    static std::string LanguageFile(int version, const std::string& data) {
        return "[Header]\nVersion=" + std::to_string(version) + "\nSubVersion=0\n[Data]\n" + data;
    }
    std::vector<std::string> Load() {
        TDialogCaptions captions;
        captions.LoadCaptions(places);
        std::vector<std::string> texts;
        for (int slot = 0; slot < kCaptionCount; ++slot)
            texts.push_back(captions.CaptionText(slot));
        return texts;
    }
    static std::vector<std::string> English() {
        std::vector<std::string> texts;
        for (int slot = 0; slot < kCaptionCount; ++slot)
            texts.push_back(EnglishCaption(slot));
        return texts;
    }
};

TEST_F(Captions, TheDefaultSkinFolderIsBesideTheProgramAndTheValuesAreKept) {
    WriteBytes(places.settings.user, "");
    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt",
               LanguageFile(2, "000=Options\n016=Imprimer\n"));
    std::vector<std::string> expected = English();
    expected[0] = "Options";
    expected[16] = "Imprimer";
    EXPECT_EQ(Load(), expected);
    EXPECT_EQ(ReadText(places.settings.user),
              "[General]\nSkin_Path2=" + places.programFolder + "Skin/\nLanguage=English\n");
}

// An installed program has no Skin folder of its own: the default is the
// data folder beside its folder, named relative to it; a Skin folder beside
// the program still comes first.
TEST_F(Captions, WithoutASkinFolderBesideTheProgramTheInstalledOneIsTheDefault) {
    WriteBytes(places.settings.user, "");
    WriteBytes(folder / "share/quil-reader/Skin/English/PrinterDlg.txt",
               LanguageFile(2, "016=Installed\n"));
    EXPECT_EQ(Load()[16], "Installed");
    const std::string installed = (folder / "share/quil-reader/Skin/").string();
    EXPECT_EQ(DefaultSkinPath(places.programFolder), installed);
    EXPECT_EQ(ReadText(places.settings.user),
              "[General]\nSkin_Path2=" + installed + "\nLanguage=English\n");

    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt", LanguageFile(2, "016=Beside\n"));
    EXPECT_EQ(DefaultSkinPath(places.programFolder), places.programFolder + "Skin/");
    // Neither: the folder beside the program, as the settings will keep it.
    EXPECT_EQ(DefaultSkinPath((folder / "other/bin/").string()),
              (folder / "other/bin/Skin/").string());
}

TEST_F(Captions, WithoutAUserSettingsFileTheDefaultsServeAndNothingIsWritten) {
    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt", LanguageFile(2, "016=Imprimer\n"));
    EXPECT_EQ(Load()[16], "Imprimer");
    EXPECT_FALSE(std::filesystem::exists(places.settings.user));
}

TEST_F(Captions, AFileBelowVersion2OrWithoutOneIsIgnored) {
    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt", LanguageFile(1, "016=Imprimer\n"));
    EXPECT_EQ(Load(), English());
    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt", "[Data]\n016=Imprimer\n");
    EXPECT_EQ(Load(), English());
    std::filesystem::remove(folder / "App/Skin/English/PrinterDlg.txt");
    EXPECT_EQ(Load(), English());
}

TEST_F(Captions, AnEmptyEntryFallsBackToEnglishForItsSlotOnly) {
    WriteBytes(folder / "App/Skin/English/PrinterDlg.txt",
               LanguageFile(2, "015=\n016=Imprimer\n017=  \n"));
    std::vector<std::string> expected = English();
    expected[16] = "Imprimer";
    EXPECT_EQ(Load(), expected);
}

TEST_F(Captions, TheSkinPathIsAPrefixUsedAsItStands) {
    WriteBytes(places.settings.machine[0],
               "[General]\nSkin_Path2=" + (folder / "Skins").string() + "\nLanguage=Chinese\n");
    std::filesystem::create_directories(folder / "Skins");
    WriteBytes(folder / "SkinsChinese/PrinterDlg.txt", LanguageFile(2, "016=列印\n"));
    EXPECT_EQ(Load()[16], "列印");
}

TEST_F(Captions, ASkinFolderThatDoesNotExistMeansTheCurrentFolder) {
    WriteBytes(folder / "here/English/PrinterDlg.txt", LanguageFile(2, "016=Here\n"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder / "here");
    const std::vector<std::string> texts = Load();
    std::filesystem::current_path(before);
    EXPECT_EQ(texts[16], "Here");
}

// The build puts the language files beside the programs in the build
// folder, where the default skin path finds them.
TEST(InstalledLanguageFiles, LieInTheSkinFolderBesideTheProgram) {
    TTestFolder folder;
    TCaptionPlaces places{{folder / "none.conf", {folder / "machine.conf"}}, ProgramFolder()};
    TDialogCaptions english;
    english.LoadCaptions(places);
    ASSERT_NE(english.Reader(), nullptr);
    EXPECT_EQ(english.Reader()->GetVersion(), 2);
    for (int slot = 0; slot < kCaptionCount; ++slot)
        EXPECT_EQ(english.Reader()->GetEntry(slot), EnglishCaption(slot)) << slot;

    WriteText(folder / "machine.conf", "[General]\nLanguage=Chinese\n");
    TDialogCaptions chinese;
    chinese.LoadCaptions(places);
    EXPECT_EQ(chinese.CaptionText(0), "列印選項");
    EXPECT_EQ(chinese.CaptionText(16), "列印");
    for (int slot = 0; slot < kCaptionCount; ++slot)
        EXPECT_NE(chinese.CaptionText(slot), EnglishCaption(slot)) << slot;
}

}  // namespace
}  // namespace quil
