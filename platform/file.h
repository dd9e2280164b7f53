// File access: the one place of the program that opens, reads, writes, truncates and deletes files
// (kernel32 on Windows, POSIX elsewhere). It never converts bytes or names: both are passed as given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the content of `fileName` with `bytes`: opens or creates the file without sharing, writes
// from its start, cuts it at the end of the bytes and closes it. True only when all of that succeeded.
// A file that did not exist before the call is removed again when the call fails. An empty name, or
// one holding a NUL byte (it would name another file), fails without touching anything.
bool WriteWholeFile(std::string_view fileName, std::string_view bytes);

enum class TReadResult { Ok, CannotOpen, TooLarge, ReadFailed };
// Reads the whole file into `bytes` (replaced). Fails without reading when the file is larger than maxBytes.
// A directory, a missing file, a file locked by another program -> CannotOpen.
// The file is opened so that other readers may share it; on any failure `bytes` is left as it was.
// Only disk files are read: a device or pipe name (CON, a FIFO) is CannotOpen, it could block or never end.
TReadResult ReadWholeFile(std::string_view fileName, std::size_t maxBytes, std::string& bytes);
