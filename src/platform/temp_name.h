#pragma once

#include <filesystem>
#include <string>

namespace quil {

// A file name not yet taken: `folder` / pattern formatted with the first
// number i from 0 up to 999999998 for which neither that name nor that name
// followed by ".aud" exists. `pattern` holds exactly one "%05d" (other
// characters are taken literally, "%%" gives "%"). When every number is
// taken, gives folder / pattern unformatted. A name whose status cannot be
// read at all ends the search: it is given as it is, and creating it fails
// with the reason. Creates nothing.
std::filesystem::path MakeTempName(const std::string& pattern, const std::filesystem::path& folder);

// The same in the user's templates folder (relative to the current folder
// when there is none).
std::filesystem::path MakeTempName(const std::string& pattern);

}  // namespace quil
