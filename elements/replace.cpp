// TQxReplace. The text is rebuilt in a local buffer: the part of the changed text from the search
// position on is always an untouched suffix of the original, so searching the original gives the
// same occurrences as searching the text being changed, and Position is translated to the latter.
#include "elements/replace.h"

#include <string>
#include <string_view>

void TQxReplace::inReplace(TData* d, std::uint16_t) {
  Result = PullStr(d, dataText, ByteString());
  const ByteString find = PullStr(d, dataSubStr, SubStr);
  const ByteString repl = PullStr(d, dataDestStr, DestStr);

  if (!Result.empty() && !find.empty()) {
    const ByteString original = Result;  // keeps the bytes alive while dataSkip runs
    const std::string_view text = original.view();
    std::string changed;
    changed.reserve(text.size());
    std::size_t copied = 0;  // original[0, copied) is already in `changed`
    std::size_t from = 0;
    bool any = false;
    for (std::size_t at = text.find(find.view(), from); at != std::string_view::npos;
         at = text.find(find.view(), from)) {
      Position = static_cast<std::int32_t>(changed.size() + (at - copied) + 1);
      // An unconnected skip input always answers 0; not asking it saves a read per occurrence.
      if (!dataSkip.Connected() || PullInt(dataSkip) == 0) {
        changed.append(text.substr(copied, at - copied));
        changed.append(repl.view());
        copied = at + find.size();
        from = copied;
        any = true;
      } else {
        from = at + 1;
      }
    }
    if (any) {
      changed.append(text.substr(copied));
      Result = ByteString(std::string_view(changed));
    }
  }
  ForwardStr(d, &outResult, Result);
}
