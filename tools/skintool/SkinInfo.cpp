#include "tools/skintool/SkinInfo.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/acPNG.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sMaskData.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sSkinModel.h"
#include "skin/data/sSkinOptions.h"
#include "tools/skintool/SkinFolder.h"

namespace fs = std::filesystem;

namespace {

std::string Format(const char* fmt, auto... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

class Report {
 public:
  explicit Report(std::ostream& out) : out_(out) {}
  void Line(const std::string& s) { out_ << s << '\n'; }
  void Problem(const std::string& s) { problems_.push_back(s); }
  void Note(const std::string& s) { notes_.push_back(s); }
  int Finish() {
    for (const std::string& n : notes_) out_ << "note: " << n << '\n';
    for (const std::string& p : problems_) out_ << "problem: " << p << '\n';
    out_ << (problems_.empty() ? std::string("No problems found.")
                               : Format("%zu problem(s) found.", problems_.size()))
         << '\n';
    return static_cast<int>(problems_.size());
  }

 private:
  std::ostream& out_;
  std::vector<std::string> problems_, notes_;
};

bool StartsWith(const std::vector<uint8_t>& b, std::initializer_list<uint8_t> sig) {
  if (b.size() < sig.size()) return false;
  size_t i = 0;
  for (uint8_t c : sig)
    if (b[i++] != c) return false;
  return true;
}

// Why the engine could not use the picture, or "" when it can.
std::string PictureTrouble(const std::vector<uint8_t>& bytes) {
  try {
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G'})) {
      TPNGGraphic png;
      png.LoadFromMemory(bytes.data(), bytes.size());
      return png.ToBitmap32().Width() > 0 ? "" : "the picture has width 0";
    }
    if (StartsWith(bytes, {0xFF, 0xD8})) return "";  // JPEG: decoded by the JPEG library at load
    ReadBmp(bytes.data(), bytes.size());
    return "";
  } catch (const std::exception& e) {
    return e.what();
  }
}

struct FileRef {
  std::string Where;  // "[SECTION] KEY"
  std::string Name;   // as the engine looks it up
};

// Every file an options value names, with the name the engine looks it up by.
std::vector<FileRef> FileReferences(const TsSkinOptions& options, Report& report) {
  std::vector<FileRef> refs;
  for (const TsOptionSection& s : options.Sections()) {
    for (const TsOptionEntry& e : s.Entries) {
      const std::string where = "[" + s.Name + "] " + e.Key;
      const std::string upper = UpperCase(e.Value);
      if (s.Name == "GLOBALINFO" && e.Key == "MASTERBITMAP") {
        if (!e.Value.empty()) refs.push_back({where, upper});
        continue;
      }
      if (Contains(upper, ".JPG") || Contains(upper, ".JPEG")) refs.push_back({where, upper});
      switch (ValueShape(e.Value)) {
        case TsValueShape::File: {
          const TsFileDescriptor d = ParseFileDescriptor(e.Value);
          if (!d.Valid)
            report.Problem(where + ": the file name must contain \".BMP\" or \".PNG\" in upper case; the engine skips \"" +
                           e.Value + "\"");
          else
            refs.push_back({where, d.FileName});
          break;
        }
        case TsValueShape::BitmapFile: refs.push_back({where, upper}); break;
        default: break;
      }
    }
  }
  return refs;
}

void ListEntries(const TacSkinConvertor& reader, size_t archiveSize, const std::string& label, Report& r) {
  r.Line(Format("%s: %zu bytes, %zu entries", label.c_str(), archiveSize, reader.Entries.size()));
  r.Line(Format("  %-24s %10s %11s  %s", "entry", "size", "compressed", "kind"));
  for (const TacEntryInfo& e : reader.Entries)
    r.Line(Format("  %-24s %10u %11zu  %s", e.Name.c_str(), e.Size, e.CompressedSize,
                  e.IsOptions ? "options" : "image"));
}

void CheckSections(const TsSkinOptions& options, Report& r) {
  r.Line(Format("Sections: %zu", options.Sections().size()));
  for (const TsOptionSection& s : options.Sections()) {
    const std::string* parent = s.Find("PARENTCLASS");
    std::string line = Format("  [%s] %zu keys", s.Name.c_str(), s.Entries.size());
    if (parent && !parent->empty() && *parent != "?") {
      line += ", parent " + *parent;
      if (*parent != s.Name && !options.Section(*parent))
        r.Problem("[" + s.Name + "] PARENTCLASS names the missing section " + *parent);
    }
    r.Line(line);
  }
  for (const char* name : kInstallerSections)
    if (!options.Section(name)) r.Problem(std::string("missing section ") + name + ", which the installer's windows use");
  std::string missing;
  for (const char* name : kOtherEngineSections)
    if (!options.Section(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
  if (!missing.empty()) r.Note("sections the engine knows but this skin lacks (their controls stay unskinned): " + missing);
}

void CheckFiles(const TsSkinOptions& options, const TacSkinConvertor& reader, Report& r) {
  std::set<std::string> used;
  for (const FileRef& ref : FileReferences(options, r)) {
    const TacImageItem* f = reader.FindFile(ref.Name);
    if (!f) {
      r.Problem(ref.Where + " names the file " + ref.Name + ", which the skin does not have");
      continue;
    }
    if (!used.insert(UpperCaseAscii(f->FileName)).second) continue;
    const std::string trouble = PictureTrouble(f->FileStream.Bytes());
    if (!trouble.empty()) r.Problem(f->FileName + " (named by " + ref.Where + ") cannot be read: " + trouble);
  }
  std::set<std::string> seen;
  for (const TacImageItem& f : reader.Files) {
    const std::string upper = UpperCaseAscii(f.FileName);
    if (!seen.insert(upper).second)
      r.Note("the name " + f.FileName + " repeats; lookups take the first entry");
    else if (!used.count(upper))
      r.Note(f.FileName + " is named by no option value");
  }
}

const char* ImgTypeName(int t) {
  switch (t) {
    case itBorder: return "border";
    case itTexture: return "texture";
    case itGlyph: return "glyph";
    default: return "file";
  }
}

void CheckImages(const TsSkinModel& model, Report& r) {
  const Bitmap32& master = model.MasterBitmap;
  r.Line(Format("Master bitmap: %s, %d x %d", model.SkinData.MasterBitmap.c_str(), master.Width(), master.Height()));
  r.Line(Format("Images: %zu", model.Images.size()));
  r.Line(Format("  %-36s %-10s %-22s %5s %9s %-7s %4s %4s  %s", "section key", "source", "rectangle", "cells",
                "cell", "type", "mask", "draw", "widths L,T,R,B"));
  int inEmptyMaster = 0;
  for (const TsMaskData& m : model.Images) {
    const std::string name = m.Section + " " + m.PropertyName;
    const bool inMaster = m.Bmp.Empty();
    if (inMaster && master.Empty()) ++inEmptyMaster;
    const int w = inMaster ? master.Width() : m.Bmp.Width();
    const int h = inMaster ? master.Height() : m.Bmp.Height();
    r.Line(Format("  %-36s %-10s (%4d,%4d,%4d,%4d) %5d %4dx%-4d %-7s %4d %4d  %d,%d,%d,%d", name.c_str(),
                  inMaster ? "master" : Format("%dx%d", w, h).c_str(), m.R.Left, m.R.Top, m.R.Right, m.R.Bottom,
                  m.ImageCount, m.CellWidth(), m.CellHeight(), ImgTypeName(m.ImgType), m.MaskType, m.DrawMode,
                  m.WL, m.WT, m.WR, m.WB));

    const std::string rect = Format("(%d, %d, %d, %d)", m.R.Left, m.R.Top, m.R.Right, m.R.Bottom);
    if (inMaster && master.Empty()) {
      continue;  // reported once below
    } else if (m.R.Width() <= 0 || m.R.Height() <= 0) {
      r.Problem(name + ": the rectangle " + rect + " is empty");
    } else if (m.R.Left < 0 || m.R.Top < 0 || m.R.Right > w || m.R.Bottom > h) {
      r.Problem(name + ": the rectangle " + rect + " lies outside the " +
                (inMaster ? "master bitmap" : "picture") + Format(" (%d x %d)", w, h));
    } else if (m.CellWidth() <= 0 || m.CellHeight() <= 0) {
      r.Problem(name + Format(": the state cells are %d x %d pixels and paint nothing", m.CellWidth(), m.CellHeight()));
    } else if (m.WL + m.WR > m.CellWidth() || m.WT + m.WB > m.CellHeight()) {
      r.Problem(name + Format(": the border widths %d,%d,%d,%d do not fit the %d x %d cell", m.WL, m.WT, m.WR, m.WB,
                              m.CellWidth(), m.CellHeight()));
    }
  }
  if (inEmptyMaster)
    r.Problem(Format("the master bitmap is missing or empty: %d images that lie in it paint nothing", inEmptyMaster));
}

}  // namespace

int SkinInfo(const fs::path& input, std::ostream& out) {
  Report r(out);
  std::vector<uint8_t> archive;
  std::string label;
  std::error_code ec;
  if (fs::is_directory(input, ec)) {
    std::vector<std::string> notes;
    archive = WriteSkinArchive(CollectSkinFolder(input, &notes));
    for (const std::string& n : notes) r.Note(n);
    label = "Folder " + input.string() + " packs to";
  } else {
    archive = ReadFileBytes(input);
    label = "Archive " + input.string();
  }

  TacMemoryStream source(archive);
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->SetSourceStream(&source);
  try {
    ReadArchive(reader);
  } catch (const std::exception& e) {
    if (reader) ListEntries(*reader, archive.size(), label + " (entries read before the error)", r);
    r.Problem(std::string("the archive cannot be read: ") + e.what());
    return r.Finish();
  }
  reader->SetSourceStream(nullptr);
  ListEntries(*reader, archive.size(), label, r);

  if (!reader->Options) {
    r.Problem("the archive has no options entry (Options.dat); the engine cannot load it");
    return r.Finish();
  }
  const std::vector<uint8_t>& text = reader->Options->Bytes();
  const TsSkinOptions options =
      TsSkinOptions::Parse(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  CheckSections(options, r);
  CheckFiles(options, *reader, r);

  TsSkinModel model;
  try {
    LoadPackedSkin(model, archive, TsBuildParams{}, "");
  } catch (const std::exception& e) {
    r.Problem(std::string("the skin does not load: ") + e.what());
    return r.Finish();
  }
  r.Line(Format("Version %s%s%s", FormatSkinVersion(model.SkinData.Version).c_str(),
                model.SkinData.Author.empty() ? "" : ", by ", model.SkinData.Author.c_str()));
  if (CheckSkinVersion(model.SkinData.Version, true) != TsVersionNotice::None)
    r.Problem("VERSION " + FormatSkinVersion(model.SkinData.Version) + " is outside the supported 7.x range");
  CheckImages(model, r);
  return r.Finish();
}
