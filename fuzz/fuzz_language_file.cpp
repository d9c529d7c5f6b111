// Any bytes as a language or settings file: decoded as text, read as INI
// sections and keys, and an entry written back into it.

#include <cstddef>
#include <cstdint>

#include "print/ini_text.h"
#include "print/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const quil::TIniText ini(quil::DecodeText(data, size));
    std::string value;
    ini.Find("Header", "Version", value);
    ini.Find("Data", "016", value);
    // Written back, the entry reads as it was written and the rest stays.
    const quil::TIniText updated(ini.WithValue("General", "Language", " two words "));
    if (!updated.Find("General", "Language", value) || value != " two words ") __builtin_trap();
    return 0;
}
