// The sound effects: one recipe per effect number, synthesised and written as sfx/NNN.wav.
#pragma once

#include <string>

namespace assetgen {

// Writes every effect the game loads into the data folder.
void write_sound_effects(const std::string& data_dir);

}  // namespace assetgen
