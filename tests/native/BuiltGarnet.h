// The product's skin as the build packs it (resources/Garnet.asz), loaded once.
#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "skin/data/sSkinManager.h"

// Null when the build has not made the archive.
inline const TsSkinModel* Garnet() {
  static const std::unique_ptr<TsSkinModel> model = []() -> std::unique_ptr<TsSkinModel> {
    std::ifstream f(KESTAMOR_BINARY_DIR "/resources/Garnet.asz", std::ios::binary);
    if (!f) return nullptr;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    auto m = std::make_unique<TsSkinModel>();
    LoadPackedSkin(*m, bytes, {}, "");
    return m;
  }();
  return model.get();
}
