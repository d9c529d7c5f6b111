#include "export/svgz_writer.h"

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
// was completed.
class TGzipFile {
public:
    explicit TGzipFile(const std::filesystem::path& path) : file_(gzopen(path.c_str(), "wb9")) {}
    TGzipFile(const TGzipFile&) = delete;
    TGzipFile& operator=(const TGzipFile&) = delete;
    ~TGzipFile() {
        if (file_) gzclose(file_);
    }

    bool IsOpen() const { return file_ != nullptr; }

    // Hands the text to zlib in one call where its length allows.
    bool Write(const char* bytes, size_t length) {
        while (length > 0) {
            const unsigned chunk = length > UINT_MAX / 2 ? UINT_MAX / 2 : unsigned(length);
            if (gzwrite(file_, bytes, chunk) != int(chunk)) return false;
            bytes += chunk;
            length -= chunk;
        }
        return true;
    }

    bool Close() {
        const int status = gzclose(file_);
        file_ = nullptr;
        return status == Z_OK;
    }

private:
    gzFile file_;
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
    file.CloseDescriptor();  // zlib opens the file by its path
    TGzipFile gzip(file.Path());
    if (!gzip.IsOpen() || !gzip.Write(text.Text().data(), text.Text().size()) || !gzip.Close())
        return TExportStatus::CannotWrite;
    return file.Commit() ? TExportStatus::Done : TExportStatus::CannotWrite;
}

int WriteSvgzFile(const TPenReplayWT& document, const std::filesystem::path& target) {
    return WriteSvgz(document, target) == TExportStatus::Done ? kDone : kFailed;
}

}  // namespace quil
