// The full path of the running program, the base of every shipped-data path.
// Read once from the kernel's link to the executable; empty when it cannot be read.
#pragma once

#include <string>

std::string executable_path();
