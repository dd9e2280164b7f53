// File access: the one place of the program that opens, reads, writes, renames and deletes files
// (kernel32 on Windows, POSIX elsewhere). It never converts bytes. Names are passed as given on POSIX;
// on Windows they go in UTF-16, as the real names the graph's CP1251 forms stand for (platform/wide_path.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the file `fileName` with one holding exactly `bytes` (none makes an empty file), or fails
// and leaves it as it was. The bytes go to a new temporary file in the same folder, are flushed to
// the disk, and that file is then renamed over the target in one step, so no failure (a full disk, a
// removed stick, a size limit) can leave new bytes followed by old ones. True only when all of that
// succeeded; on failure the old file is byte for byte as before (or there is still none) and the
// temporary file is removed. The target is refused before anything is written when it is a directory,
// a device or FIFO, read-only, or when the name is empty or holds a NUL byte (it would name another
// file); a target open in another program (Windows) refuses the final rename. A replaced file keeps
// its hidden and system attributes (Windows) or its permission bits (POSIX); not its creation time.
bool WriteWholeFile(std::string_view fileName, std::string_view bytes);

enum class TReadResult { Ok, CannotOpen, TooLarge, ReadFailed };
// Reads the whole file into `bytes` (replaced). Fails without reading when the file is larger than maxBytes.
// A directory, a missing file, a file locked by another program -> CannotOpen.
// The file is opened so that other readers may share it; on any failure `bytes` is left as it was.
// Only disk files are read: a device or pipe name (CON, a FIFO) is CannotOpen, it could block or never end.
TReadResult ReadWholeFile(std::string_view fileName, std::size_t maxBytes, std::string& bytes);
