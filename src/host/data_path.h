// Names of shipped data: a plain relative name means a file in the data folder, while a name
// that already says where it lives (a scheme, a drive, "./" or "/") is kept.
#pragma once

#include "runtime/string.h"

String kv_data_FixDataPath(String path);
