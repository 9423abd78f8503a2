// The demo product's four sounds: name, format, length and tune.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/wavgen/Wave.h"

struct Jingle {
  std::string fileName;
  WaveFormat format;
  std::uint32_t fileSize;  // whole file, header included
  std::vector<Note> notes;
};

// endgame, free, newnews and wingame, each as long as the sound it stands in for.
std::vector<Jingle> ProductJingles();

// The finished file of one jingle.
std::vector<std::uint8_t> RenderJingle(const Jingle& jingle);
