#pragma once
#include <string>

// The all-users Start-menu Programs folder, without a trailing backslash: the registry's
// "Common Programs" folder, or the fixed folder of a French, Spanish, German or Japanese system.
std::string CommonProgramsFolder();
// The current user's Programs folder, without a trailing backslash; on those four localized
// systems, their all-users folder.
std::string UserProgramsFolder();
