// The remembered real names of lossy CP1251 forms, and the long-path form.
#include "platform/wide_path.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

struct TRemembered {
  std::string Form;
  TWideString Path;
};

// Newest first; a handful covers the dialogs of a session.
std::vector<TRemembered>& Remembered() {
  static std::vector<TRemembered> list;
  return list;
}
constexpr std::size_t kRememberedLimit = 32;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The UTF-16 length of the first `bytes` characters of the form's path (a surrogate pair is one).
std::size_t WideLengthOf(const TRemembered& entry, std::size_t bytes) {
  std::size_t units = 0;
  for (std::size_t byte = 0; byte < bytes && units < entry.Path.size(); ++byte) {
    const auto unit = static_cast<char16_t>(entry.Path[units]);
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && units + 1 < entry.Path.size();
    units += pair ? 2u : 1u;
  }
  return units;
}

// The longest start of `name` that is the entry's form up to one of its separators (or all of it)
// and ends at a separator or the end of the name; 0 when none.
std::size_t SharedFolderLength(const TRemembered& entry, std::string_view name) {
  const std::string& form = entry.Form;
  for (std::size_t cut = std::min(form.size(), name.size()); cut > 0; --cut) {
    const bool formCut = cut == form.size() || IsSeparator(form[cut]);
    const bool nameCut = cut == name.size() || IsSeparator(name[cut]);
    if (formCut && nameCut && form.compare(0, cut, name.substr(0, cut)) == 0) return cut;
  }
  return 0;
}

}  // namespace

std::string GraphNameOfPath(TWideView path) {
  std::size_t unmappable = 0;
  std::string form = Cp1251FromWide(path, &unmappable);
  if (unmappable == 0) return form;
  auto& list = Remembered();
  std::erase_if(list, [&](const TRemembered& e) { return e.Form == form; });
  list.insert(list.begin(), TRemembered{form, TWideString(path)});
  if (list.size() > kRememberedLimit) list.pop_back();
  return form;
}

TWideString PathOfGraphName(std::string_view name) {
  if (name.find(kUnmappableByte) == std::string_view::npos) return WideFromCp1251(name);
  const TRemembered* best = nullptr;
  std::size_t bestLength = 0;
  for (const TRemembered& entry : Remembered()) {
    const std::size_t length = SharedFolderLength(entry, name);
    if (length > bestLength) {
      best = &entry;
      bestLength = length;
    }
  }
  if (best == nullptr) return WideFromCp1251(name);
  return best->Path.substr(0, WideLengthOf(*best, bestLength)) + WideFromCp1251(name.substr(bestLength));
}

TWideString LongPathForm(TWideView path) {
  TWideString form(path);
  std::replace(form.begin(), form.end(), TWideChar{'/'}, TWideChar{'\\'});
  constexpr std::size_t kShortLimit = 248;  // CreateDirectory's limit; MAX_PATH (260) for files
  const bool drive = form.size() >= 3 && form[1] == ':' && form[2] == '\\';
  const bool share =
      form.size() >= 2 && form[0] == '\\' && form[1] == '\\' && (form.size() < 3 || form[2] != '?');
  if (form.size() < kShortLimit || (!drive && !share)) return form;
  static constexpr TWideChar kPrefix[] = {'\\', '\\', '?', '\\', 0};
  static constexpr TWideChar kUncPrefix[] = {'\\', '\\', '?', '\\', 'U', 'N', 'C', 0};
  return drive ? kPrefix + form : kUncPrefix + form.substr(1);
}
