// What a save of the effect says and what the clearing after it takes away, window-free: the
// question about lines that are not frames, the status line's texts, the Russian plural of a
// count, and the text left once the saved lines are cleared. Must never drop a line that changed
// or was added after the save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cube/effect_text.h"

namespace effect {

// The Russian form of a noun after a count, by the last digits of n: "1 строка", "21 строка" (one),
// "3 строки" (few), "5 строк", "11 строк" (many).
enum class TCountForm : std::uint8_t { One, Few, Many };
TCountForm CountFormOf(std::size_t n);
const char* CountWord(std::size_t n, const char* one, const char* few, const char* many);

// The question before saving lines that are not frames (CP1251), for bad.Count > 0.
std::string NotFramesQuestion(const TBadLines& bad);
// The status line: the file's name (or "Новый эффект"), marked when changed since opened or saved.
std::string FileStatusText(std::string_view fileName, bool unsaved);
// The status line right after a save: "Сохранено: 12 кадров, ZOZIVU.TXT".
std::string SavedStatusText(std::size_t frames, std::string_view fileName);
// The last part of a path, after its last backslash or slash.
std::string_view FileNameOf(std::string_view path);

// The text that stays when the lines of `saved` are cleared from `now`: the lines both share at
// their start and at their end go, the lines between them (added or changed since) stay as they
// stand. Empty when nothing but saved lines is left.
std::string TextLeftAfterClearing(std::string_view saved, std::string_view now);

}  // namespace effect
