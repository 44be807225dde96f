// A run whose only save into its restore kit failed keeps nothing a restore could bring back: it
// leaves no kit, and its change report names none.
#include <gtest/gtest.h>

#include "run/ChangeReport.h"
#include "support/Machine.h"
#include "support/MachinePaths.h"

TEST(ChangeReportTest, AKitThatHoldsNothingIsNeitherLeftNorNamed) {
    const std::string folder = FreshFolder("C:\\report");
    const Change change(ChangeAction::DeleteFile, folder + "\\gone\\file.dat");
    {
        ChangeReport report(folder + "\\oberin.log");
        report.BeginEntry(1, "", "");
        EXPECT_EQ(Admission::Make, report.Admit(change));
        report.Report(change, ChangeOutcome::Done, ERROR_SUCCESS);
        EXPECT_TRUE(report.Close());
    }
    EXPECT_EQ("", NewestKit(folder + "\\oberin-restore"));
    EXPECT_EQ("1\tdelete file\t" + change.target +
                  "\tdone\tnot saved\r\n0\trestore kit\t\tchanges not saved for a restore: 1\r\n",
              ReadWholeFile(folder + "\\oberin-changes.txt"));
}
