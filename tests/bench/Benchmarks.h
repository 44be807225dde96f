#pragma once

// Each benchmark prints its figures; false when it could not measure.
bool RunProgramBench();
bool WholeRunBench();
bool ProgramSizeBench();
bool DeleteTreeBench();
