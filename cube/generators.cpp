// The generator table, the reading and checking of values, and the motions. Angles go through a
// sine of our own, so the frames do not hang on a C library's last bit.
#include "cube/generators.h"

#include "cube/glyphs.h"
#include "cube/motions.h"

namespace gen {

namespace {

TParamInfo Integer(const char* id, const char* caption, int min, int max, int def) {
  TParamInfo param{id, caption, TParamKind::Integer, min, max, def, {}, {}};
  return param;
}
TParamInfo Choice(const char* id, const char* caption, std::vector<TOption> options, int def = 0) {
  const int last = static_cast<int>(options.size()) - 1;
  return TParamInfo{id, caption, TParamKind::Choice, 0, last, def, std::move(options), {}};
}

std::vector<TOption> Axes(bool vertical) {
  std::vector<TOption> axes{{"x", "X (столбцы)"}, {"y", "Y (ряды)"}};
  if (vertical) axes.push_back({"z", "Z (слои)"});
  return axes;
}

// The motions that fill the cube or cross it.
void AddVolumes(std::vector<TGeneratorInfo>& table) {
  table.push_back({"sweep",
                   "Плоскость проходит куб",
                   "a plane of 36 LEDs sweeping through the cube",
                   false,
                   false,
                   {Choice("axis", "Ось", Axes(true), 2),
                    Choice("direction", "Направление", {{"up", "к большим"}, {"down", "к меньшим"}}),
                    Choice("back", "Обратно", {{"no", "нет"}, {"yes", "да, туда и обратно"}}),
                    Integer("passes", "Проходов", 1, 100, 2)}});
  table.push_back({"rain",
                   "Дождь",
                   "drops falling from the top layer, one layer a frame",
                   true,
                   false,
                   {Integer("frames", "Кадров", 1, 1000, 30), Integer("drops", "Капель за кадр", 1, 36, 2)}});
  table.push_back({"box",
                   "Растущий куб",
                   "a box growing from a corner or the centre, and shrinking",
                   false,
                   false,
                   {Choice("from", "Откуда", {{"corner", "из угла"}, {"centre", "из центра"}}),
                    Choice("style", "Вид", {{"outline", "рёбра"}, {"solid", "сплошной"}}),
                    Choice("motion", "Движение",
                           {{"grow", "растёт"}, {"shrink", "сжимается"}, {"both", "растёт и сжимается"}}, 2),
                    Integer("cycles", "Повторов", 1, 100, 1)}});
  table.push_back(
      {"fill",
       "Случайное заполнение",
       "LEDs lit in random order until full, then darkened",
       true,
       false,
       {Choice("order", "Порядок", {{"fill", "зажечь, затем погасить"}, {"empty", "погасить, затем зажечь"}}),
        Integer("step", "Светодиодов за кадр", 1, 216, 8)}});
}

// The motions that keep to a surface, the text and the tool.
void AddSurfaces(std::vector<TGeneratorInfo>& table) {
  table.push_back(
      {"wave",
       "Волна",
       "a surface waving along an axis",
       false,
       false,
       {Choice("axis", "Ось бега", Axes(false)), Integer("amplitude", "Размах, слоёв", 1, 3, 2),
        Integer("period", "Период, кадров", 2, 100, 12), Integer("frames", "Кадров", 1, 1000, 24)}});
  table.push_back({"spin",
                   "Вращение плоскости",
                   "a vertical plane turning about the vertical axis",
                   false,
                   false,
                   {Choice("direction", "Направление", {{"cw", "по часовой"}, {"ccw", "против часовой"}}),
                    Integer("turns", "Оборотов", 1, 50, 2), Integer("steps", "Шагов на оборот", 4, 72, 12)}});
  TParamInfo text{"text", "Текст", TParamKind::Text, 0, 0, 0, {}, "КУБ 6x6"};
  table.push_back({"text",
                   "Текст",
                   "text scrolled across the front face or flown front to back",
                   false,
                   false,
                   {text, Choice("mode", "Показ",
                                 {{"scroll", "бегущая строка спереди"}, {"fly", "буквы летят вглубь"}})}});
  table.push_back({"repeat",
                   "Повтор инструмента",
                   "one of the editor's tools applied again and again",
                   false,
                   true,
                   {Choice("tool", "Инструмент",
                           {{"x-", "сдвиг X-"},
                            {"x+", "сдвиг X+"},
                            {"y-", "сдвиг Y-"},
                            {"y+", "сдвиг Y+"},
                            {"z-", "сдвиг Z-"},
                            {"z+", "сдвиг Z+"},
                            {"rotate", "поворот"},
                            {"mirror-x", "зеркало X"},
                            {"mirror-y", "зеркало Y"},
                            {"mirror-z", "зеркало Z"},
                            {"invert", "инверсия"}},
                           1),
                    Integer("times", "Раз", 1, 1000, 6)}});
}

std::vector<TGeneratorInfo> MakeTable() {
  std::vector<TGeneratorInfo> table;
  AddVolumes(table);
  AddSurfaces(table);
  return table;
}

}  // namespace

const std::vector<TGeneratorInfo>& Generators() {
  static const std::vector<TGeneratorInfo> table = MakeTable();
  return table;
}

const TGeneratorInfo* FindGenerator(std::string_view id) {
  for (const TGeneratorInfo& info : Generators())
    if (id == info.Id) return &info;
  return nullptr;
}

TValues Defaults(const TGeneratorInfo& info) {
  TValues values;
  for (const TParamInfo& param : info.Params) values.push_back({param.Default, param.DefaultText});
  return values;
}

int OptionIndex(const TParamInfo& param, std::string_view id) {
  for (std::size_t i = 0; i < param.Options.size(); ++i)
    if (id == param.Options[i].Id) return static_cast<int>(i);
  return -1;
}

}  // namespace gen

namespace gen {

namespace {

TRefusal Refuse(std::string russian, std::string english) { return {std::move(russian), std::move(english)}; }

TRefusal RangeRefusal(const char* caption, const char* id, long long min, long long max, bool number) {
  const std::string range = std::to_string(min) + " до " + std::to_string(max);
  const std::string rangeEnglish = std::to_string(min) + " to " + std::to_string(max);
  if (!number)
    return Refuse(std::string("«") + caption + "»: нужно целое число от " + range,
                  std::string(id) + ": a whole number from " + rangeEnglish + " is expected");
  return Refuse(std::string("«") + caption + "»: число должно быть от " + range,
                std::string(id) + ": the value must be from " + rangeEnglish);
}

// Digits only, at most ten of them; false for anything else.
bool ReadDigits(std::string_view text, long long& value) {
  if (text.empty() || text.size() > 10) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

TRefusal CheckText(const TParamInfo& param, const std::string& text) {
  if (text.empty())
    return Refuse(std::string("«") + param.Caption + "»: текст пуст, введите хотя бы один знак",
                  std::string(param.Id) + ": the text is empty");
  if (text.size() > kMaxTextChars)
    return Refuse(
        std::string("«") + param.Caption + "»: не больше " + std::to_string(kMaxTextChars) + " знаков",
        std::string(param.Id) + ": at most " + std::to_string(kMaxTextChars) + " characters");
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (GlyphOf(static_cast<unsigned char>(text[i])) != nullptr) continue;
    return Refuse(std::string("«") + param.Caption + "»: знака «" + text[i] + "» нет в шрифте куба",
                  std::string(param.Id) + ": character " + std::to_string(i + 1) +
                      " of the text is not in the cube's font");
  }
  return {};
}

}  // namespace

TRefusal ReadNumber(const TParamInfo& param, std::string_view text, int& value) {
  long long number = 0;
  if (!ReadDigits(text, number)) return RangeRefusal(param.Caption, param.Id, param.Min, param.Max, false);
  if (number < param.Min || number > param.Max)
    return RangeRefusal(param.Caption, param.Id, param.Min, param.Max, true);
  value = static_cast<int>(number);
  return {};
}

TRefusal ReadSeed(std::string_view text, std::uint64_t& seed) {
  long long number = 0;
  const long long max = static_cast<long long>(kMaxSeed);
  if (!ReadDigits(text, number)) return RangeRefusal("Зерно", "seed", 0, max, false);
  if (number > max) return RangeRefusal("Зерно", "seed", 0, max, true);
  seed = static_cast<std::uint64_t>(number);
  return {};
}

TRefusal Validate(const TGeneratorInfo& info, const TValues& values) {
  if (values.size() != info.Params.size())
    return Refuse("Неверное число параметров", "wrong number of parameters");
  for (std::size_t i = 0; i < values.size(); ++i) {
    const TParamInfo& param = info.Params[i];
    if (param.Kind == TParamKind::Text) {
      if (TRefusal refusal = CheckText(param, values[i].Text); refusal.Refused()) return refusal;
    } else if (values[i].Number < param.Min || values[i].Number > param.Max) {
      return RangeRefusal(param.Caption, param.Id, param.Min, param.Max, true);
    }
  }
  return {};
}

TGenerated Generate(const TGeneratorInfo& info, const TValues& values, std::uint64_t seed,
                    const cube::TPattern& start) {
  TGenerated result;
  result.Refusal = Validate(info, values);
  if (result.Refusal.Refused()) return result;
  const std::string_view id = info.Id;
  const auto n = [&](std::size_t i) { return values[i].Number; };
  const auto axis = [&](std::size_t i) { return static_cast<cube::TAxis>(n(i)); };
  if (id == "sweep") result.Frames = motion::Sweep(axis(0), n(1) == 1, n(2) == 1, n(3));
  if (id == "rain") result.Frames = motion::Rain(n(0), n(1), seed);
  if (id == "box") result.Frames = motion::Box(n(0) == 1, n(1) == 1, n(2), n(3));
  if (id == "fill") result.Frames = motion::Fill(n(0) == 1, n(1), seed);
  if (id == "wave") result.Frames = motion::Wave(axis(0), n(1), n(2), n(3));
  if (id == "spin") result.Frames = motion::Spin(n(0) == 1, n(1), n(2));
  if (id == "text") result.Frames = motion::Text(values[0].Text, n(1) == 1);
  if (id == "repeat") result.Frames = motion::Repeat(n(0), n(1), start);
  return result;
}

std::string FramesText(const std::vector<cube::TPattern>& frames) {
  std::string text;
  for (const cube::TPattern& frame : frames) {
    text += cube::FormatFrame(frame);
    text += "\r\n";
  }
  return text;
}

}  // namespace gen
