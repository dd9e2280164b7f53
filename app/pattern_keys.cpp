#include "app/pattern_keys.h"

namespace pattern_keys {

std::string MarkdownTable() {
  std::string table = "| Tool | Button | Key |\n| --- | --- | --- |\n";
  for (const TKey& key : kKeys) {
    const std::string button = key.Caption != nullptr ? key.Caption : "По кругу: нет / да";
    table += std::string("| ") + key.Doc + " | \"" + button + "\" | " + key.Name + " |\n";
  }
  return table;
}

}  // namespace pattern_keys
