// File access: the one place of the program that opens, reads, writes, truncates and deletes files
// (kernel32 on Windows, POSIX elsewhere). It never converts bytes or names: both are passed as given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the file `fileName` with one holding exactly `bytes` (none makes an empty file), or fails
// leaving it as it was. The bytes go to a new temporary file in the same folder, are flushed to the
// disk, and that file is then renamed over the target in one step, so no failure (a full disk, a
// removed stick, a size limit) can leave old bytes behind new ones. True only when all of that
// succeeded; on failure the old file is byte for byte as before (or there is still none) and the
// temporary file is gone. Fails without touching anything when the target is a directory, read-only,
// or open in another program (Windows), or when the name is empty or holds a NUL byte (it would name
// another file). A replaced file keeps its hidden/system attributes (Windows) or permission bits (POSIX).
bool WriteWholeFile(std::string_view fileName, std::string_view bytes);

enum class TReadResult { Ok, CannotOpen, TooLarge, ReadFailed };
// Reads the whole file into `bytes` (replaced). Fails without reading when the file is larger than maxBytes.
// A directory, a missing file, a file locked by another program -> CannotOpen.
// The file is opened so that other readers may share it; on any failure `bytes` is left as it was.
// Only disk files are read: a device or pipe name (CON, a FIFO) is CannotOpen, it could block or never end.
TReadResult ReadWholeFile(std::string_view fileName, std::size_t maxBytes, std::string& bytes);
