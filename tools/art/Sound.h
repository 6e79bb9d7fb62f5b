// The background sound: a slow, soft pad that loops without a seam.
#pragma once

#include <cstdint>
#include <vector>

namespace slumra::art {

// Stereo samples (left, right interleaved), `seconds` long at `sampleRate`, peaking at -12 dBFS.
// Every partial completes a whole number of cycles in the loop and every envelope is periodic, so
// the last sample runs on into the first.
std::vector<std::int16_t> AmbientPad(int sampleRate, int seconds);

}  // namespace slumra::art
