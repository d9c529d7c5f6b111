// The two settings files: the user's value first, then the machine-wide
// one, then the default, and the value found copied into the user's file.

#include "print/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "test_folder.h"

namespace quil {
namespace {

using testing::ReadText;
using testing::TTestFolder;
using testing::WriteText;

class Settings : public ::testing::Test {
protected:
    TTestFolder folder;
    TSettingsFiles files{
        folder / "user/Zorvan Quil/Quil3.1.conf",
        {folder / "etc1/Zorvan Quil/Quil3.1.conf", folder / "etc2/Zorvan Quil/Quil3.1.conf"}};

    void Write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        WriteText(file, text);
    }
};

TEST_F(Settings, TheUserWinsThenTheMachineThenTheDefault) {
    struct Case {
        const char* what;
        std::optional<std::string> user, machine1, machine2;
        std::string expected;
    };
    const std::string tooLong(512, 'x');
    const Case cases[] = {
        {"user over machine", "[General]\nLanguage=French\n", "[General]\nLanguage=German\n",
         std::nullopt, "French"},
        {"machine over default", "[General]\n", "[General]\nLanguage=German\n", std::nullopt,
         "German"},
        {"first machine file with the value", "", "[Other]\nLanguage=Dutch\n",
         "[General]\nLanguage=Italian\n", "Italian"},
        {"default", "[General]\nSkin_Path2=/skins/\n", std::nullopt, std::nullopt, "English"},
        {"no user file", std::nullopt, "[General]\nLanguage=German\n", std::nullopt, "German"},
        {"a user value of 512 characters counts as missing",
         "[General]\nLanguage=" + tooLong + "\n", "[General]\nLanguage=German\n", std::nullopt,
         "German"},
        {"names without regard to case, blanks and quotes dropped",
         "[general]\n  language =  \"Chinese\" \n", std::nullopt, std::nullopt, "Chinese"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder.Path());
        std::filesystem::create_directories(folder.Path());
        if (c.user) Write(files.user, *c.user);
        if (c.machine1) Write(files.machine[0], *c.machine1);
        if (c.machine2) Write(files.machine[1], *c.machine2);
        EXPECT_EQ(ReadSetting(files, "Language", "English"), c.expected) << c.what;
    }
}

TEST_F(Settings, AValueFromElsewhereIsCopiedIntoTheUserFileKeepingItsOtherLines) {
    Write(files.user, "; mine\n[General]\nSkin_Path2=/skins/\n\n[Window]\nLanguage=kept\n");
    Write(files.machine[0], "[General]\nLanguage=German\n");
    EXPECT_EQ(ReadSetting(files, "Language", "English"), "German");
    EXPECT_EQ(
        ReadText(files.user),
        "; mine\n[General]\nSkin_Path2=/skins/\nLanguage=German\n\n[Window]\nLanguage=kept\n");
    // From now on the user's copy answers, even when the machine's changes.
    Write(files.machine[0], "[General]\nLanguage=Dutch\n");
    EXPECT_EQ(ReadSetting(files, "Language", "English"), "German");
}

TEST_F(Settings, TheDefaultIsCopiedIntoAnEmptyUserFileAndReadsBackTheSame) {
    Write(files.user, "");
    EXPECT_EQ(ReadSetting(files, "Skin_Path2", " /opt/app/Skin/ "), " /opt/app/Skin/ ");
    EXPECT_EQ(ReadSetting(files, "Language", "English"), "English");
    EXPECT_EQ(ReadText(files.user),
              "[General]\nSkin_Path2=\" /opt/app/Skin/ \"\nLanguage=English\n");
    EXPECT_EQ(ReadSetting(files, "Skin_Path2", "other"), " /opt/app/Skin/ ");
}

TEST_F(Settings, ATooLongUserValueIsReplacedAndAUserValueIsNotRewritten) {
    Write(files.user, "[General]\r\nLanguage=" + std::string(600, 'y') + "\r\nSkin_Path2=/s/\r\n");
    EXPECT_EQ(ReadSetting(files, "Language", "English"), "English");
    EXPECT_EQ(ReadText(files.user), "[General]\r\nLanguage=English\r\nSkin_Path2=/s/\r\n");
    const auto before = std::filesystem::last_write_time(files.user);
    EXPECT_EQ(ReadSetting(files, "Skin_Path2", "/default/"), "/s/");
    EXPECT_EQ(std::filesystem::last_write_time(files.user), before);
}

TEST_F(Settings, WithoutAUserFileNothingIsWritten) {
    EXPECT_EQ(ReadSetting(files, "Language", "English"), "English");
    EXPECT_FALSE(std::filesystem::exists(files.user.parent_path()));
}

TEST_F(Settings, ADefaultIsCutTo1023Characters) {
    const std::string chinese = "列";  // one character, three bytes
    std::string long_default;
    for (int i = 0; i < 1100; ++i)
        long_default += chinese;
    const std::string value = ReadSetting(files, "Language", long_default);
    EXPECT_EQ(value.size(), 1023u * chinese.size());
}

// Sets an environment variable for one scope, restoring it afterwards.
class TScopedVariable {
public:
    TScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~TScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsFiles, ComeFromTheConfigurationFoldersOfTheEnvironment) {
    {
        TScopedVariable home("HOME", "/home/someone");
        TScopedVariable user("XDG_CONFIG_HOME", nullptr);
        TScopedVariable machine("XDG_CONFIG_DIRS", nullptr);
        const TSettingsFiles files = TSettingsFiles::FromEnvironment();
        EXPECT_EQ(files.user, "/home/someone/.config/Zorvan Quil/Quil3.1.conf");
        ASSERT_EQ(files.machine.size(), 1u);
        EXPECT_EQ(files.machine[0], "/etc/xdg/Zorvan Quil/Quil3.1.conf");
    }
    {
        TScopedVariable user("XDG_CONFIG_HOME", "/cfg");
        TScopedVariable machine("XDG_CONFIG_DIRS", "/a:relative::/b/");
        const TSettingsFiles files = TSettingsFiles::FromEnvironment();
        EXPECT_EQ(files.user, "/cfg/Zorvan Quil/Quil3.1.conf");
        ASSERT_EQ(files.machine.size(), 2u);
        EXPECT_EQ(files.machine[0], "/a/Zorvan Quil/Quil3.1.conf");
        EXPECT_EQ(files.machine[1], "/b/Zorvan Quil/Quil3.1.conf");
    }
}

}  // namespace
}  // namespace quil
