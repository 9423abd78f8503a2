#include "framework/Picture.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <stdexcept>

#include "framework/acPNG_win.h"

namespace {

// Registered when the program starts (the table is constant data); the first entry of an
// extension wins.
const TFileFormat kFileFormats[] = {
    {"png", "Portable network graphics (Varnethic)", "TPNGGraphic", &CreatePNGPictureGraphic},
};

std::string LowerExtension(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = fileName.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

const TFileFormat* FindFileFormat(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  const auto it = std::find_if(std::begin(kFileFormats), std::end(kFileFormats),
                               [&](const TFileFormat& f) { return ext == f.Extension; });
  return it == std::end(kFileFormats) ? nullptr : &*it;
}

void TPicture::LoadFromFile(const std::string& fileName) {
  const TFileFormat* format = FindFileFormat(fileName);
  if (!format) throw std::runtime_error("Unknown picture file extension (." + LowerExtension(fileName) + ")");
  std::unique_ptr<TGraphic> graphic = format->Create();
  graphic->LoadFromFile(fileName);
  graphic_ = std::move(graphic);
  if (OnChange) OnChange(this);
}
