#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "print/ini_text.h"

namespace quil {

// A language file of the print dialog: an INI text with the format's
// version in [Header] "Version" and "SubVersion", and the captions in [Data]
// under the slot numbers "000", "001", ... The file is read once, when the
// reader is made; a file that cannot be read reads as one without entries.
class TFileInfoReader {
public:
    // Without a path: no entries, version 0.
    explicit TFileInfoReader(const std::optional<std::filesystem::path>& path);

    int GetVersion() const { return version_; }
    int GetSubVersion() const { return subVersion_; }

    // The [Data] entry of the slot (at most kMaxEntryLength characters), or
    // empty when there is none.
    std::string GetEntry(int slot) const;

private:
    int HeaderNumber(const char* key) const;

    TIniText text_;
    int version_ = 0;
    int subVersion_ = 0;
};

constexpr size_t kMaxEntryLength = 1023;

// The leading decimal number of a text (blanks and a sign allowed before
// it); 0 when it does not start with one. Saturates at the int range.
int LeadingNumber(const std::string& text);

}  // namespace quil
