// glyphgen <folder>: writes the default glyph strips SF.png, SR.png, SD.png, SE.png and
// SC.png (48 x 16 each) into the folder.
#include <cstdio>
#include <exception>

#include "image/PngWrite.h"
#include "tools/glyphgen/Glyphs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen <folder>\n");
    return 2;
  }
  try {
    for (const char* name : {"SF", "SR", "SD", "SE", "SC"}) {
      const std::string path = std::string(argv[1]) + "/" + name + ".png";
      if (!SavePng(glyphgen::RenderGlyphStrip(name), path)) {
        std::fprintf(stderr, "glyphgen: cannot write %s\n", path.c_str());
        return 1;
      }
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphgen: %s\n", e.what());
    return 1;
  }
}
