#pragma once

// What this program is, as the status files and restore kits name it; the version is kept equal
// to the version resource in res/oberin.rc.
constexpr char kProgramMaker[] = "Velmora";
constexpr char kProgramName[] = "Oberin";
constexpr char kProgramVersion[] = "1.5";
