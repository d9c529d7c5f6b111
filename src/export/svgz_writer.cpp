#include "export/svgz_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <new>

#include <zlib.h>

#include "export/atomic_file.h"
#include "export/svg_document.h"

namespace quil {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// Closes the gzip writer on every path; Close reports whether the stream
// was completed. It writes through a duplicate of the output's descriptor,
// which gzclose closes; Error gives the errno value of a failed write.
class TGzipFile {
public:
    explicit TGzipFile(int fd) {
        const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        file_ = own >= 0 ? gzdopen(own, "wb9") : nullptr;
        if (own >= 0 && !file_) ::close(own);
        if (!file_) error_ = own >= 0 ? ENOMEM : errno;
    }
    TGzipFile(const TGzipFile&) = delete;
    TGzipFile& operator=(const TGzipFile&) = delete;
    ~TGzipFile() {
        if (file_) gzclose(file_);
    }

    bool IsOpen() const { return file_ != nullptr; }
    int Error() const { return error_; }

    // Hands the text to zlib in one call where its length allows.
    bool Write(const char* bytes, size_t length) {
        while (length > 0) {
            const unsigned chunk = length > UINT_MAX / 2 ? UINT_MAX / 2 : unsigned(length);
            if (gzwrite(file_, bytes, chunk) != int(chunk)) return Failed();
            bytes += chunk;
            length -= chunk;
        }
        return true;
    }

    bool Close() {
        const int status = gzclose(file_);
        file_ = nullptr;
        return status == Z_OK || Failed();
    }

private:
    // zlib leaves errno as the failed write set it.
    bool Failed() {
        error_ = errno != 0 ? errno : EIO;
        return false;
    }

    gzFile file_ = nullptr;
    int error_ = 0;
};

bool BuildText(const TPenReplayWT& document, TSvgStream& text) {
    try {
        WriteSvgDocument(document, text);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return !text.Failed();
}

}  // namespace

TExportStatus WriteSvgz(const TPenReplayWT& document, const std::filesystem::path& target) {
    TSvgStream text;
    if (!BuildText(document, text)) return TExportStatus::CannotEncode;

    TReplacementFile file;
    if (!file.Create(target)) return TExportStatus::CannotWrite;
    {
        TQuietWrites quiet;
        TGzipFile gzip(file.Descriptor());
        errno = 0;
        if (!gzip.IsOpen() || !gzip.Write(text.Text().data(), text.Text().size()) ||
            !gzip.Close()) {
            file.Fail(gzip.Error());
            return TExportStatus::CannotWrite;
        }
    }
    return file.Commit() ? TExportStatus::Done : TExportStatus::CannotWrite;
}

int WriteSvgzFile(const TPenReplayWT& document, const std::filesystem::path& target) {
    return WriteSvgz(document, target) == TExportStatus::Done ? kDone : kFailed;
}

}  // namespace quil
