#pragma once
#include <string>

// The README.txt of a restore kit: what is there, how to restore, what cannot come back; with
// a paragraph on the kit's volume when it keeps no security.
std::string KitReadme(bool securedVolume);
