#include "video/video_module.h"

#include <dlfcn.h>

#include <system_error>

namespace quil {

namespace {

// A build with QUIL_VIDEO off makes no module: there is nothing to look for.
#if QUIL_VIDEO_MODULE_BUILT
constexpr bool kModuleBuilt = true;
#else
constexpr bool kModuleBuilt = false;
#endif

std::string FolderList(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) list += i + 1 == folders.size() ? " nor " : ", ";
        list += folders[i].string();
    }
    return list;
}

}  // namespace

std::vector<std::filesystem::path> VideoModuleFolders(const std::filesystem::path& program) {
    if (program.empty()) return {};
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(program, error);
    if (error) real = program;
    const std::filesystem::path folder = real.parent_path();
    return {folder, (folder / QUIL_VIDEO_MODULE_FOLDER).lexically_normal()};
}

TVideoModule TVideoModule::Load(const std::filesystem::path& program) {
    TVideoModule module;
    if (!kModuleBuilt) {
        module.problem_ = "this build has no video support (it was built with QUIL_VIDEO off)";
        return module;
    }
    const std::vector<std::filesystem::path> folders = VideoModuleFolders(program);
    std::string failure;
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path file = folder / kVideoModuleName;
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) continue;
        // RTLD_LOCAL: FFmpeg's symbols stay the module's own business.
        void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            if (failure.empty())
                failure = file.string() + " cannot be loaded: " + (why ? why : "unknown error");
            continue;
        }
        auto* make =
            reinterpret_cast<TMakeReplayVideoWriter*>(dlsym(handle, kMakeReplayVideoWriter));
        // A module of another version of the program refuses to make writers.
        const TReplayVideoOptions probe;
        if (!make || !std::unique_ptr<IReplayVideoWriter>(make(kVideoModuleInterface, &probe))) {
            if (failure.empty())
                failure = file.string() + " is not the video module of this version of the program";
            dlclose(handle);
            continue;
        }
        module.make_ = make;
        return module;
    }
    if (failure.empty())
        failure = folders.empty()
                      ? std::string("the program's own file cannot be found")
                      : std::string(kVideoModuleName) + " is in neither " + FolderList(folders);
    module.problem_ = "this installation has no video support: " + failure;
    return module;
}

std::unique_ptr<IReplayVideoWriter> TVideoModule::MakeWriter(
    const TReplayVideoOptions& options) const {
    if (!make_) return nullptr;
    return std::unique_ptr<IReplayVideoWriter>(make_(kVideoModuleInterface, &options));
}

}  // namespace quil
