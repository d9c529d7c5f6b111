// Special folders, temporary names, the text codec and the file reader.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "platform/file_reader.h"
#include "platform/special_folders.h"
#include "platform/temp_name.h"
#include "platform/text_codec.h"
#include "test_folder.h"

namespace quil {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and puts them back afterwards.
class Environment {
public:
    ~Environment() {
        for (auto& [name, value] : saved_) {
            if (value.second)
                setenv(name.c_str(), value.first.c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = {old ? old : "", old != nullptr};
        }
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::pair<std::string, bool>> saved_;
};

using testing::TTestFolder;

TEST(SpecialFolders, EnvironmentThenUserDirsThenTheUsualFolders) {
    TTestFolder home;
    Environment env;
    env.Set("HOME", home.Path().c_str());
    env.Set("XDG_CONFIG_HOME", nullptr);
    env.Set("XDG_DOCUMENTS_DIR", nullptr);
    env.Set("XDG_TEMPLATES_DIR", nullptr);

    // Nothing configured and no Documents folder: the home folder.
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), home.Path());
    fs::create_directories(home.Path() / "Documents");
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), home.Path() / "Documents");

    fs::create_directories(home.Path() / ".config");
    std::ofstream(home.Path() / ".config" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\n"
        << "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
        << "XDG_TEMPLATES_DIR=\"/srv/vorlagen\"\n";
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), home.Path() / "Dokumente");
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Templates), fs::path("/srv/vorlagen"));

    env.Set("XDG_TEMPLATES_DIR", "/tmp/from-env");
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Templates), fs::path("/tmp/from-env"));

    env.Set("HOME", nullptr);
    env.Set("XDG_DOCUMENTS_DIR", nullptr);
    EXPECT_EQ(GetSpecialFolder(SpecialFolder::Documents), fs::path());
}

TEST(TempName, SkipsNamesTakenDirectlyOrWithTheSoundSuffix) {
    TTestFolder folder;
    EXPECT_EQ(MakeTempName("Tmp%05d.tmp", folder.Path()), folder.Path() / "Tmp00000.tmp");
    testing::WriteText(folder / "Tmp00000.tmp", "x");
    testing::WriteText(folder / "Tmp00001.tmp.aud", "x");
    EXPECT_EQ(MakeTempName("Tmp%05d.tmp", folder.Path()), folder.Path() / "Tmp00002.tmp");
    EXPECT_EQ(MakeTempName("Quil%%%05d", folder.Path()), folder.Path() / "Quil%00000");
    // Nothing was created.
    EXPECT_FALSE(fs::exists(folder.Path() / "Tmp00002.tmp"));

    Environment env;
    env.Set("XDG_TEMPLATES_DIR", folder.Path().c_str());
    EXPECT_EQ(MakeTempName("Tmp%05d.tmp"), folder.Path() / "Tmp00002.tmp");
}

// A folder that cannot hold files fails alike for every number: the first
// name is given at once, for the caller's create to fail on.
TEST(TempName, FolderThatCannotBeSearchedEndsTheSearchAtOnce) {
    TTestFolder folder;
    testing::WriteText(folder / "afile", "");
    fs::create_directory_symlink("loop", folder / "loop");
    for (const fs::path& where :
         {folder / "afile", folder / "loop", folder / std::string(300, 'n')})
        EXPECT_EQ(MakeTempName("Tmp%05d.tmp", where), where / "Tmp00000.tmp") << where;
}

TEST(TextCodec, AnsiTextsDecodeByTheCodePageAndReplaceWhatCannotBeDecoded) {
    // CP1252 (the default): 0x80 is the euro sign, 0x81 has no character.
    const uint8_t bytes[8] = {'A', 0x80, 0xE9, 0x81, 0, 'z', 0, 0};
    char16_t out[6];
    std::fill(std::begin(out), std::end(out), char16_t(0x7777));
    DecodeAnsiText(bytes, 8, out, 6);
    EXPECT_EQ(out[0], u'A');
    EXPECT_EQ(out[1], u'\u20ac');
    EXPECT_EQ(out[2], u'\u00e9');
    EXPECT_EQ(out[3], u'\ufffd');
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[5], u'z');  // the bytes after the NUL are carried too
}

TEST(TextCodec, Utf16ToUtf8WithSurrogates) {
    const char16_t text[] = {u'a', 0x00E9, 0x4E2D, 0xD83D, 0xDE00, 0xD800, u'b', 0, u'c'};
    EXPECT_EQ(Utf16ToUtf8(text, 9), "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80\xef\xbf\xbd"
                                    "b");
    EXPECT_EQ(Utf16Length(text, 9), 7u);
    EXPECT_EQ(Utf16ToUtf8(text, 2), "a\xc3\xa9");  // no NUL within the count
}

TEST(FileReader, ReadsAcrossItsBufferAndStopsAtTheEnd) {
    TTestFolder folder;
    std::string content;
    for (int i = 0; i < 200000; ++i)
        content += char('a' + i % 26);
    std::ofstream(folder.Path() / "f") << content;
    TFileReader reader;
    ASSERT_TRUE(reader.Open(folder.Path() / "f"));
    EXPECT_EQ(reader.Length(), content.size());
    std::string got(100000, '\0');
    ASSERT_TRUE(reader.Seek(65530));
    EXPECT_EQ(reader.Read(got.data(), got.size()), got.size());
    EXPECT_EQ(got, content.substr(65530, 100000));
    ASSERT_TRUE(reader.Seek(10));
    char four[4];
    ASSERT_TRUE(reader.ReadExact(four, 4));
    EXPECT_EQ(std::string(four, 4), content.substr(10, 4));
    ASSERT_TRUE(reader.Seek(content.size() - 2));
    EXPECT_EQ(reader.Read(four, 4), 2u);
    EXPECT_FALSE(reader.ReadExact(four, 1));
    EXPECT_FALSE(reader.Seek(content.size() + 1));

    EXPECT_FALSE(reader.Open(folder.Path() / "missing"));
    EXPECT_FALSE(reader.Open(folder.Path()));  // a folder is not a file
    // Nor is a pipe: it has no length, and reading it could wait forever.
    ASSERT_EQ(mkfifo((folder.Path() / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(reader.Open(folder.Path() / "pipe"));
    EXPECT_FALSE(reader.IsOpen());
}

}  // namespace
}  // namespace quil
