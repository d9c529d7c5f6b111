// The window tests' entry point: one application on Qt's offscreen
// platform for every test, with the viewer's font.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/window_font.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does to register them) needs no
    // application.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The toolkit wants a private runtime folder; a scratch one will do.
    std::string runtime = (std::filesystem::temp_directory_path() / "quil-runtime-XXXXXX").string();
    if (!getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime.data()))
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QApplication application(argc, argv);
    QApplication::setFont(quil::WindowFont());
    // Tests close windows; that must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    const int result = RUN_ALL_TESTS();
    if (runtime.find("XXXXXX") == std::string::npos) std::filesystem::remove_all(runtime);
    return result;
}
