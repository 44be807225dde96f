// The engine takes a status MIF only when it was created after the program started; one written
// over an older one of its name would keep the older one's creation time unless stamped anew.
#include <gtest/gtest.h>

#include "run/StatusMif.h"
#include "run/SystemQueries.h"
#include "support/ImportPatch.h"

// Wine keeps no creation time of a file's own: the stamps are taken at the call.
static FILETIME created = {}, written = {};
static BOOL WINAPI Stamp(HANDLE, const FILETIME* creation, const FILETIME*, const FILETIME* write) {
    if (creation) created = *creation;
    if (write) written = *write;
    return TRUE;
}

TEST(StatusMifTest, AMifIsStampedCreatedAndWrittenWhenItIsWritten) {
    FILETIME start;
    GetSystemTimeAsFileTime(&start);
    ImportPatch patch("kernel32.dll", "SetFileTime", reinterpret_cast<void*>(Stamp));
    ASSERT_TRUE(patch.Active());
    WriteStatusMif("OBERINT.MIF", {true, "stamped"});
    EXPECT_GE(CompareFileTime(&created, &start), 0);
    EXPECT_GE(CompareFileTime(&written, &start), 0);
    DeleteFileA((WindowsDirectory() + "OBERINT.MIF").c_str());
}
