#include "tools/wavgen/Jingles.h"

#include <cmath>

namespace {

constexpr std::uint32_t kHeaderSize = 44;

// Equal-tempered pitch of a MIDI note number (69 = A4 = 440 Hz).
double Pitch(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

Note N(int midi, double seconds, double volume = 0.8) { return {Pitch(midi), seconds, volume}; }
Note Rest(double seconds) { return {0.0, seconds, 0.0}; }

// A calm eight-bar tune for the "free" sound: the longest one.
std::vector<Note> FreeTune() {
  const int bars[8][4] = {{60, 64, 67, 72}, {65, 69, 72, 69}, {67, 71, 74, 71}, {60, 64, 67, 64},
                          {57, 60, 64, 60}, {65, 69, 72, 77}, {67, 71, 74, 79}, {72, 67, 64, 60}};
  std::vector<Note> notes;
  for (const auto& bar : bars)
    for (int midi : bar) notes.push_back(N(midi, 0.275, 0.7));
  notes.push_back(N(48, 0.3, 0.8));
  return notes;
}

}  // namespace

std::vector<Jingle> ProductJingles() {
  return {
      {"endgame.wav", {11025, 8}, 5616, {N(67, 0.15), N(64, 0.15), N(60, 0.2)}},
      {"free.wav", {22050, 8}, 194356, FreeTune()},
      {"newnews.wav", {11025, 8}, 8430, {N(76, 0.25, 0.7), Rest(0.03), N(72, 0.48, 0.7)}},
      {"wingame.wav", {11025, 16}, 27804, {N(72, 0.12), N(76, 0.12), N(79, 0.12), N(84, 0.9)}},
  };
}

std::vector<std::uint8_t> RenderJingle(const Jingle& jingle) {
  const std::uint32_t bytesPerSample = jingle.format.bitsPerSample / 8;
  const std::uint32_t samples = (jingle.fileSize - kHeaderSize) / bytesPerSample;
  return WaveFile(jingle.format, RenderNotes(jingle.notes, jingle.format.sampleRate, samples));
}
