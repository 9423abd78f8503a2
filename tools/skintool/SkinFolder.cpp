#include "tools/skintool/SkinFolder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFileBytes(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw ToolError("cannot open " + path.string());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (f.bad()) throw ToolError("cannot read " + path.string());
  return bytes;
}

void WriteFileBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) throw ToolError("cannot create " + path.string());
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  f.close();
  if (!f) throw ToolError("cannot write " + path.string());
}

namespace {

std::vector<std::string> ReadOrderFile(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  std::vector<std::string> names;
  std::string line;
  auto flush = [&] {
    const auto first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      const auto last = line.find_last_not_of(" \t");
      names.push_back(line.substr(first, last - first + 1));
    }
    line.clear();
  };
  for (std::uint8_t c : bytes) {
    if (c == '\r' || c == '\n')
      flush();
    else
      line.push_back(static_cast<char>(c));
  }
  flush();
  return names;
}

bool PlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

std::vector<TacArchiveFile> CollectSkinFolder(const fs::path& folder, std::vector<std::string>* notes) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw ToolError(folder.string() + " is not a folder");

  std::vector<std::string> names;
  bool hasOrder = false;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    const std::string name = e.path().filename().string();
    if (name == kOrderFileName) {
      hasOrder = true;
      continue;
    }
    if (name.front() == '.') continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());

  std::string options;
  for (const std::string& n : names) {
    if (UpperCaseAscii(n) != "OPTIONS.DAT") continue;
    if (!options.empty()) throw ToolError("two options files in " + folder.string() + ": " + options + ", " + n);
    options = n;
  }
  if (options.empty()) throw ToolError("no Options.dat in " + folder.string());

  std::vector<std::string> order{options};
  std::set<std::string> placed{options};
  if (hasOrder) {
    for (const std::string& n : ReadOrderFile(folder / kOrderFileName)) {
      if (n == options) continue;  // the options file always comes first
      if (!std::binary_search(names.begin(), names.end(), n))
        throw ToolError(std::string(kOrderFileName) + " names " + n + ", which is not in " + folder.string());
      if (!placed.insert(n).second) throw ToolError(std::string(kOrderFileName) + " names " + n + " twice");
      order.push_back(n);
    }
  }
  for (const std::string& n : names) {
    if (!placed.insert(n).second) continue;
    if (hasOrder && notes) notes->push_back(n + " is not listed in " + kOrderFileName + ": packed after the listed files");
    order.push_back(n);
  }

  std::vector<TacArchiveFile> files;
  for (const std::string& n : order) files.push_back({n, ReadFileBytes(folder / n)});
  return files;
}

std::vector<std::string> UnpackToFolder(const TacSkinConvertor& reader, const fs::path& folder) {
  // Check every name before writing anything.
  std::vector<std::pair<std::string, const TacMemoryStream*>> out;
  std::map<std::string, std::string> seen;  // upper-cased -> as stored
  auto add = [&](const std::string& name, const TacMemoryStream* data) {
    if (!PlainFileName(name)) throw ToolError("entry name \"" + name + "\" is not a plain file name");
    if (name == kOrderFileName) throw ToolError("an entry is named " + name + ", which the folder needs for the packing order");
    auto [it, fresh] = seen.emplace(UpperCaseAscii(name), name);
    if (!fresh) throw ToolError("entry names " + it->second + " and " + name + " would be the same file");
    out.emplace_back(name, data);
  };
  std::string optionsName;
  for (const TacEntryInfo& e : reader.Entries)
    if (e.IsOptions) optionsName = e.Name;  // the last options entry is the one kept
  if (reader.Options) add(optionsName, reader.Options.get());
  for (const TacImageItem& f : reader.Files) add(f.FileName, &f.FileStream);

  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder)) throw ToolError("cannot create folder " + folder.string());

  std::vector<std::string> written;
  std::string orderText;
  for (const auto& [name, data] : out) {
    WriteFileBytes(folder / name, data->Bytes());
    written.push_back(name);
    if (data != reader.Options.get()) orderText += name + "\r\n";
  }
  WriteFileBytes(folder / kOrderFileName, std::vector<std::uint8_t>(orderText.begin(), orderText.end()));
  return written;
}
