#include "skin/data/sSkinOptions.h"

#include "skin/data/acntUtils.h"

const std::string* TsOptionSection::Find(std::string_view key) const {
  for (const auto& e : Entries)
    if (e.Key == key) return &e.Value;
  return nullptr;
}

void TsSkinOptions::AddLine(std::string_view raw, int& current) {
  std::string_view line = TrimView(raw);
  if (line.empty() || line[0] == ';') return;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    std::string_view name = TrimView(line.substr(1, line.size() - 2));
    current = SectionIndexOf(name);
    if (current < 0) {
      current = static_cast<int>(sections_.size());
      sections_.push_back(TsOptionSection{std::string(name), {}});
      index_.emplace(sections_.back().Name, current);
    }
    return;
  }
  if (current < 0) return;
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return;
  sections_[static_cast<std::size_t>(current)].Entries.push_back(
      TsOptionEntry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
}

TsSkinOptions TsSkinOptions::Parse(std::string_view text) {
  TsSkinOptions o;
  int current = -1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      o.AddLine(text.substr(start, i - start), current);
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) o.AddLine(text.substr(start), current);
  return o;
}

TsSkinOptions TsSkinOptions::ParseLines(const std::vector<std::string>& lines) {
  TsSkinOptions o;
  int current = -1;
  for (const auto& l : lines) o.AddLine(l, current);
  return o;
}

int TsSkinOptions::SectionIndexOf(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  return it == index_.end() ? -1 : it->second;
}

const TsOptionSection* TsSkinOptions::Section(std::string_view name) const {
  int i = SectionIndexOf(name);
  return i < 0 ? nullptr : &sections_[static_cast<std::size_t>(i)];
}

const std::string* TsSkinOptions::Value(std::string_view section, std::string_view key) const {
  const TsOptionSection* s = Section(section);
  return s ? s->Find(key) : nullptr;
}

std::string TsSkinOptions::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const std::string* v = Value(section, key);
  return v ? *v : std::string(def);
}

int32_t TsSkinOptions::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const std::string* v = Value(section, key);
  return v ? StrToIntDef(*v, def) : def;
}

bool OptionBool(std::string_view value) {
  std::string u = UpperCase(value);
  return u == "1" || u == "TRUE";
}

bool TsSkinOptions::ReadBool(std::string_view section, std::string_view key, bool def) const {
  const std::string* v = Value(section, key);
  return v ? OptionBool(*v) : def;
}

namespace {

// Walks the PARENTCLASS chain from `section`, calling `take` on each section until it
// returns true. Returns false when the chain ends without a value. The chain stops at a
// missing section, an empty or "?" parent, a parent naming its own section, and at the
// first section seen twice (cycles through several sections). A chain longer than the
// number of sections has met some section twice, and a section seen again has nothing new
// to give, so counting steps stops cycles with the same result as remembering sections.
template <class Take>
bool WalkChain(const TsSkinOptions& o, std::string_view section, Take take) {
  const TsOptionSection* s = o.Section(section);
  for (std::size_t steps = 0; s && steps < o.Sections().size(); ++steps) {
    if (take(*s)) return true;
    const std::string* parent = s->Find("PARENTCLASS");
    if (!parent || parent->empty() || *parent == "?" || *parent == s->Name) return false;
    s = o.Section(*parent);
  }
  return false;
}

}  // namespace

int32_t TsSkinOptions::ReadIntInherited(std::string_view section, std::string_view key, int32_t def) const {
  int32_t result = def;
  WalkChain(*this, section, [&](const TsOptionSection& s) {
    const std::string* v = s.Find(key);
    if (!v) return false;
    auto n = ParseInt(*v);
    if (!n || *n == -1) return false;
    result = *n;
    return true;
  });
  return result;
}

std::string TsSkinOptions::ReadStrInherited(std::string_view section, std::string_view key,
                                            std::string_view def) const {
  std::string result(def);
  WalkChain(*this, section, [&](const TsOptionSection& s) {
    const std::string* v = s.Find(key);
    if (!v || *v == "?") return false;
    result = *v;
    return true;
  });
  return result;
}
