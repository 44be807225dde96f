// The engine takes a status MIF only when it was created after the program started; one written
// over an older one of its name would keep the older one's creation time unless stamped anew.
#include <gtest/gtest.h>

#include "base/SystemQueries.h"
#include "run/StatusMif.h"
#include "support/ImportPatch.h"

// Wine keeps no creation time of a file's own: the stamp is taken at the call.
static FILETIME created = {};
static BOOL WINAPI Stamp(HANDLE, const FILETIME* creation, const FILETIME*, const FILETIME*) {
    if (creation) created = *creation;
    return TRUE;
}

TEST(StatusMifTest, AMifIsStampedCreatedWhenItIsWritten) {
    FILETIME start;
    GetSystemTimeAsFileTime(&start);
    ImportPatch patch("kernel32.dll", "SetFileTime", reinterpret_cast<void*>(Stamp));
    ASSERT_TRUE(patch.Active());
    WriteStatusMif("OBERINT.MIF", {true, "stamped"});
    EXPECT_GE(CompareFileTime(&created, &start), 0);
    DeleteFileA((WindowsDirectory() + "OBERINT.MIF").c_str());
}
