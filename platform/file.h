// File access: the one place of the program that opens, writes, truncates and deletes files
// (kernel32 on Windows, POSIX elsewhere). It never converts bytes or names: both are passed as given.
#pragma once

#include <string_view>

// Replaces the content of `fileName` with `bytes`: opens or creates the file without sharing, writes
// from its start, cuts it at the end of the bytes and closes it. True only when all of that succeeded.
// A file that did not exist before the call is removed again when the call fails. An empty name, or
// one holding a NUL byte (it would name another file), fails without touching anything.
bool WriteWholeFile(std::string_view fileName, std::string_view bytes);
