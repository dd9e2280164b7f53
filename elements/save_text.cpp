// The save's question and status texts and the clearing of exactly the saved lines.
#include "elements/save_text.h"

#include <algorithm>
#include <vector>

namespace effect {

TCountForm CountFormOf(std::size_t n) {
  const std::size_t lastTwo = n % 100;
  if (lastTwo >= 11 && lastTwo <= 14) return TCountForm::Many;
  const std::size_t last = n % 10;
  if (last == 1) return TCountForm::One;
  return last >= 2 && last <= 4 ? TCountForm::Few : TCountForm::Many;
}

const char* CountWord(std::size_t n, const char* one, const char* few, const char* many) {
  switch (CountFormOf(n)) {
    case TCountForm::One:
      return one;
    case TCountForm::Few:
      return few;
    case TCountForm::Many:
      break;
  }
  return many;
}

std::string NotFramesQuestion(const TBadLines& bad) {
  const std::string first = bad.First.empty() ? std::string("?") : std::to_string(bad.First.front());
  const char* word = CountWord(bad.Count, "строка", "строки", "строк");
  // The verb agrees with the count's word: "21 строка не является", "3 строки не являются".
  std::string text = std::to_string(bad.Count) + " " + word;
  text += CountFormOf(bad.Count) == TCountForm::One ? " не является кадром" : " не являются кадрами";
  text += bad.Count == 1 ? " (строка " + first + ")." : " (первая: строка " + first + ").";
  text += "\r\nСохранить всё равно?";
  return text;
}

std::string FileStatusText(std::string_view fileName, bool unsaved) {
  std::string text = fileName.empty() ? std::string("Новый эффект") : std::string(fileName);
  if (unsaved) text += " • изменён";
  return text;
}

std::string SavedStatusText(std::size_t frames, std::string_view fileName) {
  return "Сохранено: " + std::to_string(frames) + " " + CountWord(frames, "кадр", "кадра", "кадров") + ", " +
         std::string(fileName);
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string TextLeftAfterClearing(std::string_view saved, std::string_view now) {
  const std::vector<TLineSpan> was = MemoLines(saved);
  const std::vector<TLineSpan> is = MemoLines(now);
  const std::size_t shared = std::min(was.size(), is.size());
  std::size_t head = 0;
  while (head < shared && LineOf(saved, was[head]) == LineOf(now, is[head])) ++head;
  std::size_t tail = 0;
  while (tail < shared - head &&
         LineOf(saved, was[was.size() - 1 - tail]) == LineOf(now, is[is.size() - 1 - tail]))
    ++tail;
  const std::size_t end = is.size() - tail;
  if (head >= end) return {};
  // The kept lines as they stand; a break that only led to the cleared end goes with it.
  const std::size_t from = is[head].Start;
  const std::size_t to = tail > 0 ? is[end - 1].Start + is[end - 1].Length : now.size();
  return std::string(now.substr(from, to - from));
}

}  // namespace effect
