// The form in which a path is handed to the Windows file operations.
#pragma once

#include <string>

namespace Kvetra::Platform {

// A path shorter than MAX_PATH as it is. A longer one in its extended-length form, which the file
// operations take up to about 32,767 characters: "\\?\" and the absolute path (made from the
// current directory for a relative one, with "/" turned into "\" and "." and ".." resolved), or
// "\\?\UNC\" and the server and share for a network path. A path already in that form, or one
// that cannot be made absolute, stays as it is.
std::wstring ExtendedLengthPath(const std::wstring& path);

}  // namespace Kvetra::Platform
