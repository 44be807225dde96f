#pragma once

// What a pass over the adapter list does with each adapter of its product.
enum class NetworkCardAction {
    // Re-enable the adapter's bindings, then delete its VLMANC and VLMNTC teaming parameters.
    RebindAndStripTeaming,
    // Delete the adapter's VLMANC and VLMNTC teaming parameters.
    StripTeaming,
    // Delete the adapter's service key.
    DeleteAdapterService,
    // Delete the adapter's entry in the adapter list.
    DeleteAdapterEntry,
    // Re-enable the bindings, set OperatingMode 0, drop the secondary-adapter values and the
    // teaming parameters.
    ResetSecondaryAdapter,
};

// Walks "Software\Microsoft\Windows NT\CurrentVersion\NetworkCards" and applies action to
// every entry whose "ProductName" equals productName, letter case aside. Entries whose
// "ServiceName" is missing, empty or no string are passed over by actions that need it.
void NetworkCardPass(const char* productName, NetworkCardAction action);

// Deletes the adapter-list entries of the VLMNTC and VLMANC virtual adapters, then the
// "Software\Velmora\VLMANCTransport" key: the end of both adapter applets' removal.
void DeleteVirtualAdapterEntries();
