// A write of the binding store that fails half-way never loses a binding: the active lists are
// written before the disabled ones.
#include <gtest/gtest.h>

#include "BindingStore.h"
#include "netcfg/ServiceBindings.h"
#include "support/ImportPatch.h"

namespace {
// Refuses the fourth list write: the one after the three lists of one side.
int writes = 0;
ImportPatch* setPatch = nullptr;
LONG WINAPI FourthWriteFails(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                             DWORD size) {
    if (++writes == 4) return ERROR_ACCESS_DENIED;
    return setPatch->Original<decltype(&RegSetValueExA)>()(key, name, reserved, type, data, size);
}

TEST(BindingWriteFailureTest, AMovedBindingStaysDisabledUntilItIsActive) {
    const std::string service = "VlmWriteFailure";
    ServiceLists lists;
    lists.bind = {"\\Device\\Other1"};
    lists.exportList = {"\\Device\\VlmWriteFailure_Other1"};
    lists.route = {"\"Other1\""};
    lists.disabledBind = {"\\Device\\E100B1"};
    lists.disabledExport = {"\\Device\\VlmWriteFailure_E100B1"};
    lists.disabledRoute = {"\"E100B1\""};
    WriteService(service, lists);
    {
        writes = 0;
        ImportPatch patch("advapi32.dll", "RegSetValueExA",
                          reinterpret_cast<void*>(FourthWriteFails));
        ASSERT_TRUE(patch.Active());
        setPatch = &patch;
        EXPECT_FALSE(EnableServiceBindings("E100B1", service));
    }
    // Active already, and still disabled: the network setup tidies the second copy.
    ServiceLists expected = lists;
    expected.bind.push_back("\\Device\\E100B1");
    expected.exportList.push_back("\\Device\\VlmWriteFailure_E100B1");
    expected.route.push_back("\"E100B1\"");
    const ServiceLists after = ReadService(service);
    EXPECT_EQ(expected.bind, after.bind);
    EXPECT_EQ(expected.disabledBind, after.disabledBind);
    EXPECT_TRUE(expected == after);
    DeleteKeys({"System\\CurrentControlSet\\Services\\" + service});
}
}  // namespace
