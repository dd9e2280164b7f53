// File and folder names between the element graph, which carries them as CP1251 text, and Windows,
// which takes UTF-16. A name chosen in a dialog may hold characters CP1251 lacks ("效果"); the graph
// then carries it with '?' in their place -- a character no Windows file name holds, so that form
// names no other file -- and the real name is kept here, so that every open or save by that form,
// or by a file name inside that folder, reaches it. Window-free; must never go through CP_ACP.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_codec.h"

// The CP1251 form of a real path; a lossy form is remembered with its path (the latest few).
std::string GraphNameOfPath(TWideView path);
// The real path of a name the graph carries: its remembered path (or the remembered folder it lies
// in) when the name holds a '?', else the name converted from CP1251.
TWideString PathOfGraphName(std::string_view name);
// The form the file functions take for a path of any length: slashes as backslashes and, for an
// absolute path too long for MAX_PATH, the "\\?\" prefix that lifts the limit.
TWideString LongPathForm(TWideView path);
