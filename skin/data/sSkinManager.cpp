#include "skin/data/sSkinManager.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "skin/data/acSkinPack.h"
#include "skin/data/acntUtils.h"

namespace {

std::string_view AsText(const TacMemoryStream& s) {
  return std::string_view(reinterpret_cast<const char*>(s.Memory()), s.Size());
}

// Builds the model from a reader that has read its archive.
void BuildFromReader(TsSkinModel& model, const TacSkinConvertor& reader, const TsBuildParams& params,
                     const std::string& skinPath) {
  if (!reader.Options) throw std::runtime_error("The skin archive holds no options file");
  const TsSkinOptions options = TsSkinOptions::Parse(AsText(*reader.Options));
  TsMemoryFiles files;
  for (const auto& f : reader.Files) files.Add(f.FileName, f.FileStream.Bytes());
  model.Build(options, files, params, skinPath);
}

}  // namespace

void LoadPackedSkin(TsSkinModel& model, std::span<const uint8_t> archive, const TsBuildParams& params,
                    const std::string& skinPath) {
  if (archive.empty()) {
    TsNoFiles none;
    model.Build(TsSkinOptions(), none, params, skinPath);
    return;
  }
  TacMemoryStream source(std::vector<uint8_t>(archive.begin(), archive.end()));
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->SetSourceStream(&source);
  ReadArchive(reader);
  reader->SetSourceStream(nullptr);
  BuildFromReader(model, *reader, params, skinPath);
}

bool LoadPackedSkinFile(TsSkinModel& model, const std::string& path, const TsBuildParams& params,
                        const std::string& skinPath) {
  std::unique_ptr<TacSkinConvertor> reader;
  LoadArchiveFile(reader, path, true);
  if (!reader) return false;
  BuildFromReader(model, *reader, params, skinPath);
  return true;
}

bool LoadFolderSkin(TsSkinModel& model, const std::string& skinPath, const TsBuildParams& params) {
  auto text = ReadSkinFile(skinPath + "Options.dat");
  if (!text) return false;
  const TsSkinOptions options =
      TsSkinOptions::Parse(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
  TsFolderFiles files(skinPath);
  model.Build(options, files, params, skinPath);
  return true;
}

void LoadOptionsTextSkin(TsSkinModel& model, std::string_view optionsText, const std::string& skinPath,
                         const TsBuildParams& params) {
  TsFolderFiles files(skinPath);
  model.Build(TsSkinOptions::Parse(optionsText), files, params, skinPath);
}

TsVersionNotice CheckSkinVersion(double version, bool designOrTest) {
  if (version > 7.99) return TsVersionNotice::Newer;
  if (version < 7) return designOrTest ? TsVersionNotice::Old : TsVersionNotice::None;
  return TsVersionNotice::None;
}

std::string SkinVersionMessage(TsVersionNotice notice, std::string_view skinName) {
  switch (notice) {
    case TsVersionNotice::None:
      return std::string();
    case TsVersionNotice::Newer:
      return "This version of the skin have not complete support by used Varnethic package release.\r\n"
             "Components must be updated up to latest version for using this skin.";
    case TsVersionNotice::Old:
      return "You are using an old version of the \"" + std::string(skinName) +
             "\" skin. Please, update a skins to latest or link with the Varnethic support for upgrading of "
             "existing skin.\r\n\r\nThis notification occurs in design-time only for your information and will "
             "not occur in real-time.";
  }
  return std::string();
}

std::string FormatSkinVersion(double version) {
  if (!std::isfinite(version)) return "0";
  // Shortest text that reads back as the same value, "." as the separator (the program runs
  // in the "C" locale); the library's floating-point to_chars would cost the shipped program
  // 190 KB.
  char buf[64];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, version);
    if (std::strtod(buf, nullptr) == version) break;
  }
  return buf;
}

bool HasSwitch(std::span<const std::string> args, std::string_view option) {
  const std::string wanted = UpperCase(option);
  for (const auto& a : args)
    if (UpperCase(a) == wanted) return true;
  return false;
}

std::string WithTrailingBackslash(std::string_view folder) {
  std::string s(folder);
  if (s.empty()) return s;
  if (s.back() == '/') {
    s.back() = '\\';
  } else if (s.size() == 1) {
    s += ":\\";
  } else if (s.back() != '\\') {
    s += '\\';
  }
  return s;
}

std::string AbsoluteSkinFolder(std::string_view dir, std::string_view appFolder) {
  std::string app = WithTrailingBackslash(appFolder);
  std::string result;
  if (dir.substr(0, 2) == "..") {
    // The parent of the application's folder, ending in its separator.
    std::string parent = app.empty() ? std::string() : app.substr(0, app.size() - 1);
    const auto cut = parent.find_last_of("\\/");
    parent = cut == std::string::npos ? std::string() : parent.substr(0, cut + 1);
    result = parent + std::string(dir.size() > 3 ? dir.substr(3) : std::string_view());
  } else if (dir.substr(0, 2) == ".\\" || dir.substr(0, 2) == "./") {
    result = app + std::string(dir.substr(2));
  } else if (!dir.empty() && !Contains(dir, ":") && !Contains(dir, "\\\\")) {
    result = app + std::string(dir);
  } else {
    result = std::string(dir);
  }
  return WithTrailingBackslash(result);
}
