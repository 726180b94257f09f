// Image and sound loading on behalf of a host: the host resolves and opens the file, the
// decoders read it. The desktop host and the game's headless test host share these.
#pragma once

#include "host/game.h"

unsigned char* load_image_data(KvGame& host, String path, int* width, int* height, int* depth);
unsigned char* load_audio_data(KvGame& host, String path, int* length, int* channels, int* format, int* hertz);
