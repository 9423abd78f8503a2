#include "tools/skingen/SkinLayout.h"

#include <cctype>
#include <stdexcept>

namespace skingen {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// A zero-padded decimal field at 1-based character positions [from, to].
int Field(std::string_view v, size_t from, size_t to, const std::string& name) {
  if (v.size() < to) throw std::runtime_error(name + ": descriptor too short: " + std::string(v));
  int n = 0;
  for (size_t i = from - 1; i < to; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(v[i])))
      throw std::runtime_error(name + ": not a number at position " + std::to_string(i + 1) +
                               ": " + std::string(v));
    n = n * 10 + (v[i] - '0');
  }
  return n;
}

ImageDesc ParseDesc(const std::string& section, const std::string& key, std::string_view v) {
  ImageDesc d;
  d.section = section;
  d.key = key;
  d.shape = v[0];
  const std::string name = section + "/" + key;
  if (d.shape == '!') {
    std::vector<std::string> words;
    std::string cur;
    for (char c : v) {
      if (c == '!') {
        if (!cur.empty()) words.push_back(cur);
        cur.clear();
      } else {
        cur += c;
      }
    }
    if (!cur.empty()) words.push_back(cur);
    if (words.empty()) throw std::runtime_error(name + ": file descriptor without a name");
    d.file = words[0];
    auto word = [&](size_t i, int def) { return i < words.size() ? std::stoi(words[i]) : def; };
    d.count = word(1, 0);
    d.maskType = word(2, 0);
    d.wl = word(4, 0);
    d.wt = word(5, 0);
    d.wr = word(6, 0);
    d.wb = word(7, 0);
    d.drawMode = word(8, 1);
    return d;
  }
  d.rect = {Field(v, 2, 5, name), Field(v, 7, 10, name), Field(v, 12, 15, name),
            Field(v, 17, 20, name)};
  if (d.shape == '@') {
    d.count = Field(v, 22, 22, name);
    d.maskType = Field(v, 24, 24, name);
  } else if (d.shape == '^') {
    d.wl = Field(v, 22, 25, name);
    d.wt = Field(v, 27, 30, name);
    d.wr = Field(v, 32, 35, name);
    d.wb = Field(v, 37, 40, name);
    d.count = Field(v, 42, 42, name);
    d.maskType = Field(v, 44, 44, name);
    d.drawMode = Field(v, 46, 46, name);
  } else {  // '~'
    d.drawMode = Field(v, 22, 23, name);
    d.maskType = v.size() >= 25 ? Field(v, 25, 25, name) : 0;
  }
  return d;
}

}  // namespace

const ImageDesc* SkinLayout::Find(std::string_view section, std::string_view key) const {
  for (const ImageDesc& d : images)
    if (d.section == section && d.key == key) return &d;
  return nullptr;
}

std::string SkinLayout::Global(std::string_view key) const {
  for (const auto& [k, v] : globals)
    if (k == key) return v;
  return {};
}

SkinLayout ParseSkinLayout(std::string_view text) {
  SkinLayout layout;
  std::string section;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = std::string(Trim(line.substr(1, line.size() - 2)));
      layout.sections.push_back(section);
      continue;
    }
    size_t eq = line.find('=');
    if (section.empty() || eq == std::string_view::npos) continue;
    std::string key(Trim(line.substr(0, eq)));
    std::string_view value = Trim(line.substr(eq + 1));
    if (section == "GLOBALINFO") layout.globals.emplace_back(key, std::string(value));
    if (!value.empty() && (value[0] == '@' || value[0] == '^' || value[0] == '~' || value[0] == '!'))
      layout.images.push_back(ParseDesc(section, key, value));
  }
  return layout;
}

}  // namespace skingen
