// Mono PCM sound building: notes rendered into samples, samples written as a
// RIFF WAVE file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct WaveFormat {
  std::uint32_t sampleRate = 11025;
  std::uint16_t bitsPerSample = 8;  // 8 (unsigned) or 16 (signed little-endian)
};

// One tone of a jingle. A frequency of 0 is a rest.
struct Note {
  double frequency = 0;  // Hz
  double seconds = 0;
  double volume = 0.8;   // 0..1 of full scale
};

// Renders the notes one after another as a bell-like tone (fundamental plus a
// soft octave, quick attack, exponential decay), then pads with silence or cuts
// so that exactly sampleCount samples result. Values are -1..1.
std::vector<double> RenderNotes(const std::vector<Note>& notes, std::uint32_t sampleRate,
                                std::size_t sampleCount);

// The complete file: 44-byte canonical header ("RIFF", "WAVE", "fmt ", "data")
// and the samples quantised to the format's bit depth.
std::vector<std::uint8_t> WaveFile(const WaveFormat& format, const std::vector<double>& samples);
