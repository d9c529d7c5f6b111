#include "video/library_messages.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace quil {

namespace {

std::mutex gMutex;
std::string gLastError;

void KeepMessage(void* /*avcl*/, int level, const char* format, va_list args) {
    if (level > AV_LOG_ERROR) return;
    char line[512];
    std::vsnprintf(line, sizeof line, format, args);
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.empty()) return;
    std::lock_guard<std::mutex> lock(gMutex);
    gLastError = std::move(text);
}

}  // namespace

void CaptureLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(KeepMessage); });
}

std::string LastLibraryError() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gLastError;
}

void ClearLibraryError() {
    std::lock_guard<std::mutex> lock(gMutex);
    gLastError.clear();
}

std::string LibraryErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    const std::string logged = LastLibraryError();
    return logged.empty() ? std::string(text) : std::string(text) + " (" + logged + ")";
}

}  // namespace quil
