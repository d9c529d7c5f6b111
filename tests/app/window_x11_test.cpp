// quil-reader-demo on a real X server (Xvfb): what a person sees after
// start-up, Play, Stop and Reverse given as real mouse clicks and keys, and
// the page pasted from the clipboard by another program, each compared with
// what quil draws for the same recording.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "run_tool.h"
#include "x11_session.h"

namespace quil::test {
namespace {

using testing::TRgbaPicture;

constexpr int kPageWidth = 1022;
constexpr int kPageHeight = 718;
constexpr int kWaitMs = 120000;  // generous: a sanitizer build on a loaded machine

bool SameAt(const TRgbaPicture& shot, int left, int top, const TRgbaPicture& page) {
    if (left + page.width > shot.width || top + page.height > shot.height) return false;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const uint8_t* a = shot.At(left + x, top + y);
            const uint8_t* b = page.At(x, y);
            if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) return false;
        }
    return true;
}

bool Eventually(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return true;
}

// Green, blue or grey, by the strongest channel of a strip pixel.
char Hue(const uint8_t* rgb) {
    if (rgb[1] > rgb[0] + 30 && rgb[1] > rgb[2] + 30) return 'G';
    if (rgb[2] > rgb[0] + 30) return 'b';
    return 'g';
}

class DemoOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Ready()) << "Xvfb did not start";
        demo = std::make_unique<TBackgroundProgram>(QUIL_READER_DEMO, std::vector<std::string>{},
                                                    server.Environment());
        ASSERT_TRUE(Eventually([&] {
            return !(window = server.FindWindow("Zorvan Quil Reader")).empty();
        })) << "no window";
        complete = Render({});
        ASSERT_EQ(complete.width, kPageWidth);
    }

    TRgbaPicture Render(std::vector<std::string> options) {
        const std::string out = (folder / "render.png").string();
        options.insert(options.begin(), {"render", QUIL_READER_DEMO, "-o", out});
        TRgbaPicture picture;
        if (RunQuil(options).status == 0) testing::DecodePng(testing::ReadWholeFile(out), picture);
        return picture;
    }

    // Whether the window shows `page` in its display panel; finds the panel
    // below the menu bar the first time.
    bool Shows(const TRgbaPicture& page) {
        shot = server.Capture(window);
        if (top >= 0) return SameAt(shot, 0, top, page);
        for (int y = 0; y < 80; ++y)
            if (SameAt(shot, 0, y, page)) {
                top = y;
                return true;
            }
        return false;
    }

    // The replay strip's colour at column x, on the status bar below the page.
    char Strip(int x) { return Hue(shot.At(302 + x, top + kPageHeight + 2 + (19 - 4) / 2)); }

    void Click(int x, int y) {
        server.Run("xdotool", {"mousemove", "--window", window, std::to_string(x),
                               std::to_string(y), "click", "1"});
    }

    // Opens a menu by keys from the first one: click "File", then Right
    // `right` times, then Down `down` times and Return.
    void MenuItem(int right, int down) {
        Click(8, top / 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::vector<std::string> keys = {"key", "--delay", "100"};
        for (int i = 0; i < right; ++i)
            keys.push_back("Right");
        for (int i = 0; i < down; ++i)
            keys.push_back("Down");
        keys.push_back("Return");
        server.Run("xdotool", keys);
    }

    testing::TTestFolder folder;
    TXvfbSession server{1280, 1024};
    std::unique_ptr<TBackgroundProgram> demo;
    std::string window;
    TRgbaPicture complete;
    TRgbaPicture shot;
    int top = -1;
};

TEST_F(DemoOnX11, ShowsThePagePlaysStopsReversesAndCopies) {
    // Start-up: the page at zoom 1.0, exactly as quil render draws it, and
    // the strip green (the page complete).
    ASSERT_TRUE(Eventually([&] { return Shows(complete); })) << "the page never showed";
    EXPECT_EQ(Strip(5), 'G');
    EXPECT_EQ(Strip(245), 'G');

    // Play, by a click on the page: the replay starts again from the empty
    // page and the strip fills with blue from the left.
    Click(500, top + 300);
    ASSERT_TRUE(Eventually([&] { return !Shows(complete) && Strip(5) == 'b'; }));
    EXPECT_EQ(Strip(245), 'g');

    // Stop, from the Action menu: the complete page again, strip green.
    MenuItem(1, 2);
    ASSERT_TRUE(Eventually([&] { return Shows(complete) && Strip(245) == 'G'; }));

    // Reverse, from the Option menu: the page in inverted colours.
    const TRgbaPicture reversed = Render({"--reverse"});
    MenuItem(2, 3);
    ASSERT_TRUE(Eventually([&] { return Shows(reversed); }));

    // Clipboard (Ctrl+C): another program pastes the page as the export
    // draws it, not inverted.
    server.Run("xdotool", {"key", "ctrl+c"});
    const std::string exported = (folder / "export.png").string();
    ASSERT_EQ(RunQuil({"export", QUIL_READER_DEMO, "-o", exported}).status, 0);
    TRgbaPicture page, pasted;
    ASSERT_TRUE(testing::DecodePng(testing::ReadWholeFile(exported), page));
    ASSERT_TRUE(Eventually([&] {
        const auto run = server.Run("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
        const std::vector<uint8_t> bytes(run.out.begin(), run.out.end());
        return run.status == 0 && testing::DecodePng(bytes, pasted) && pasted.width == page.width &&
               pasted.height == page.height && SameAt(pasted, 0, 0, page);
    }));
}

}  // namespace
}  // namespace quil::test
