// The restore kit where its own logic decides, made in process and brought back by RestoreRun:
// whatever the order in which a run changes values and deletes or makes their keys, what was
// there before the run comes back, and a file with its contents and attributes; a file is taken
// into the kit only when nothing else holds it and it can have the kit's security.
#include <gtest/gtest.h>

#include "restore/RestoreKit.h"
#include "run/RestoreRun.h"
#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/MachinePaths.h"
#include "support/RegistryEdit.h"

namespace {
const std::string kKey = "K\\Kit";

// The value as "data" or "missing", the key's presence as "key" or "no key".
std::string State(const std::string& key, const char* name) {
    DWORD type = 0;
    std::string data;
    if (!KeyPresent(HKEY_CURRENT_USER, key)) return "no key";
    return ReadValue(HKEY_CURRENT_USER, key, name, &type, &data) ? data.c_str() : "missing";
}

TEST(RestoreKitTest, WhatWasThereBeforeTheRunComesBackWhateverTheOrderOfItsChanges) {
    RemoveKey(HKEY_CURRENT_USER, kKey);
    const std::string tree = kKey + "\\Tree", again = kKey + "\\Again", made = kKey + "\\Made";
    WriteString(HKEY_CURRENT_USER, tree, "Set", "before");
    WriteString(HKEY_CURRENT_USER, tree + "\\Sub", "Kept", "below");
    WriteString(HKEY_CURRENT_USER, again, "Old", "before");
    const std::string kits = FreshFolder("C:\\kits"), file = FreshFolder("C:\\kept") + "\\a.dat";
    WriteWholeFile(file, "contents");
    const DWORD attributes = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN;
    SetFileAttributesA(file.c_str(), attributes);
    {
        RestoreKit kit(kits);
        bool taken = false;
        const auto save = [&](ChangeAction action, const std::string& key, const char* value,
                              bool present) {
            EXPECT_EQ(
                0u, kit.Save(RegistryChange(action, HKEY_CURRENT_USER, key, value, present), taken))
                << key << " " << value;
        };
        // A value set, then its key deleted.
        save(ChangeAction::SetValue, tree, "Set", true);
        WriteString(HKEY_CURRENT_USER, tree, "Set", "run");
        save(ChangeAction::DeleteKey, tree, "", true);
        RemoveKey(HKEY_CURRENT_USER, tree);
        // ... made again by another program, and a value it held set.
        MakeKey(HKEY_CURRENT_USER, tree + "\\Sub");
        save(ChangeAction::SetValue, tree + "\\Sub", "Kept", false);
        WriteString(HKEY_CURRENT_USER, tree + "\\Sub", "Kept", "run");
        // A key deleted, then made again with a value of its old name and a new one.
        save(ChangeAction::DeleteKey, again, "", true);
        RemoveKey(HKEY_CURRENT_USER, again);
        for (const char* name : {"Old", "New"}) {
            save(ChangeAction::SetValue, again, name, false);
            WriteString(HKEY_CURRENT_USER, again, name, "run");
        }
        // A key made to set values in.
        for (const char* name : {"Mode", "Other"}) {
            save(ChangeAction::SetValue, made, name, false);
            WriteString(HKEY_CURRENT_USER, made, name, "run");
        }
        // The file goes into the kit, which deletes it.
        EXPECT_EQ(0u, kit.Save(Change(ChangeAction::DeleteFile, file), taken));
        EXPECT_TRUE(taken);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    }
    EXPECT_EQ(0, RestoreRun().Run(NewestKit(kits))) << ReadWholeFile("oberin-restore.txt");
    // Every item is as saved now: a preview of the kit would change nothing.
    EXPECT_EQ(0, RestoreRun().Run(NewestKit(kits), true))
        << ReadWholeFile("oberin-restore-preview.txt");
    EXPECT_EQ("before", State(tree, "Set"));
    EXPECT_EQ("below", State(tree + "\\Sub", "Kept"));
    EXPECT_EQ("before", State(again, "Old"));
    EXPECT_EQ("missing", State(again, "New"));
    EXPECT_EQ("no key", State(made, "Mode"));
    EXPECT_EQ("contents", ReadWholeFile(file));
    EXPECT_EQ(attributes, GetFileAttributesA(file.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE);
}

// A kit with nothing but a value is found and brought back too.
TEST(RestoreKitTest, AKitOfOneValueComesBack) {
    WriteString(HKEY_CURRENT_USER, kKey, "One", "before");
    const std::string kits = FreshFolder("C:\\kits");
    {
        RestoreKit kit(kits);
        bool taken = false;
        EXPECT_EQ(0u, kit.Save(RegistryChange(ChangeAction::DeleteValue, HKEY_CURRENT_USER, kKey,
                                              "One", true),
                               taken));
    }
    RemoveKey(HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(0, RestoreRun().Run(NewestKit(kits))) << ReadWholeFile("oberin-restore.txt");
    EXPECT_EQ("before", State(kKey, "One"));
}
BOOL WINAPI RefuseSecurity(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// A file another program holds, even sharing everything, and one open to everyone whose security
// cannot be replaced are copied and left to their deletion; the kit comes back whole.
TEST(RestoreKitTest, AFileHeldOrWithoutTheKitsSecurityIsCopiedAndTheKitRestores) {
    const std::string kits = FreshFolder("C:\\kits"), folder = FreshFolder("C:\\kept");
    const std::string held = folder + "\\held.dat", open = folder + "\\open.dat";
    WriteWholeFile(held, "held");
    WriteWholeFile(open, "open");
    SECURITY_DESCRIPTOR everyone;
    InitializeSecurityDescriptor(&everyone, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&everyone, TRUE, nullptr, FALSE);
    ASSERT_TRUE(SetFileSecurityA(open.c_str(), DACL_SECURITY_INFORMATION, &everyone));
    const HANDLE holder =
        CreateFileA(held.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr);
    {
        RestoreKit kit(kits);
        bool taken = true;
        EXPECT_EQ(0u, kit.Save(Change(ChangeAction::DeleteFile, held), taken));
        EXPECT_FALSE(taken);
        ImportPatch patch("advapi32.dll", "SetFileSecurityA",
                          reinterpret_cast<void*>(RefuseSecurity));
        ASSERT_TRUE(patch.Active());
        EXPECT_EQ(0u, kit.Save(Change(ChangeAction::DeleteFile, open), taken));
        EXPECT_FALSE(taken);
    }
    CloseHandle(holder);
    for (const std::string& file : {held, open}) EXPECT_TRUE(DeleteFileA(file.c_str())) << file;
    EXPECT_EQ(0, RestoreRun().Run(NewestKit(kits))) << ReadWholeFile("oberin-restore.txt");
    EXPECT_EQ("held", ReadWholeFile(held));
    EXPECT_EQ("open", ReadWholeFile(open));
}
}  // namespace
