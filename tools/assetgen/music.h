// The two tunes: the in-game loop and the level-start sting, composed note by note here and
// encoded as Ogg Vorbis.
#pragma once

#include <string>

namespace assetgen {

void write_music(const std::string& data_dir);

}  // namespace assetgen
