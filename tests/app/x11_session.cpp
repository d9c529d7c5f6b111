#include "x11_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

#include "run_tool.h"

namespace quil::test {

TBackgroundProgram::TBackgroundProgram(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::vector<std::string>& extraEnv) {
    const TSpawnVectors spawn(program, args, extraEnv);
    // Quiet: the output of a server or a window is not the test's.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, spawn.Argv()[0], &actions, nullptr, spawn.Argv(), spawn.Envp()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

TBackgroundProgram::~TBackgroundProgram() { Stop(); }

void TBackgroundProgram::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    // A program that does not end on its own is ended after a while.
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

TXvfbSession::TXvfbSession(int width, int height) {
    // The toolkit wants a private runtime folder.
    chmod(runtime_.Path().c_str(), 0700);
    // Xvfb picks a free display and writes its number to the pipe, whose
    // writing end it inherits (only the reading end closes on exec).
    int fds[2];
    if (pipe(fds) != 0) return;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<TBackgroundProgram>(
        "Xvfb",
        std::vector<std::string>{"-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                                 "-nolisten", "tcp", "-noreset"},
        std::vector<std::string>{});
    close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c;
    while (poll(&wait, 1, 30000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

TXvfbSession::~TXvfbSession() { server_.reset(); }

std::vector<std::string> TXvfbSession::Environment() const {
    return {"DISPLAY=" + display_, "XDG_RUNTIME_DIR=" + runtime_.Path().string(),
            "QT_QPA_PLATFORM=xcb"};
}

TXvfbSession::TRun TXvfbSession::Run(const std::string& program,
                                     const std::vector<std::string>& args) const {
    const ToolRun run = RunProgram(program, args, Environment());
    return {run.status, run.out};
}

std::string TXvfbSession::FindWindow(const std::string& name) const {
    const TRun run = Run("xdotool", {"search", "--onlyvisible", "--name", name});
    if (run.status != 0) return "";
    return run.out.substr(0, run.out.find('\n'));
}

testing::TRgbaPicture TXvfbSession::Capture(const std::string& window) const {
    testing::TRgbaPicture picture;
    const std::string xwd = (runtime_.Path() / "shot.xwd").string();
    const std::string png = (runtime_.Path() / "shot.png").string();
    if (Run("xwd", {"-id", window, "-silent", "-out", xwd}).status != 0) return picture;
    if (Run("convert", {"xwd:" + xwd, "png:" + png}).status != 0) return picture;
    testing::DecodePng(testing::ReadWholeFile(png), picture);
    return picture;
}

}  // namespace quil::test
