#pragma once
#include <string>
#include <vector>

// What a pass over the adapter list does with each adapter of its product.
enum class NetworkCardAction {
    // Re-enable the adapter's bindings, then delete its VLMANC and VLMNTC teaming parameters.
    RebindAndStripTeaming,
    // Delete the adapter's VLMANC and VLMNTC teaming parameters.
    StripTeaming,
    // Delete the adapter's service key.
    DeleteAdapterService,
    // Re-enable the bindings, set OperatingMode 0, drop the secondary-adapter values and the
    // teaming parameters.
    ResetSecondaryAdapter,
};

// Subkey names of the entries of "Software\Microsoft\Windows NT\CurrentVersion\NetworkCards"
// whose "ProductName" equals productName, letter case aside, in the registry's order. A name
// stored as anything but a plain string never matches.
std::vector<std::string> FindNetworkCards(const char* productName);
// The key of the adapter-list entry named card.
std::string NetworkCardKey(const std::string& card);

// Applies action to every adapter FindNetworkCards finds for productName. Entries whose
// "ServiceName" is missing, empty or no string are passed over.
void NetworkCardPass(const char* productName, NetworkCardAction action);

// Deletes the adapter-list entries of the VLMNTC and VLMANC virtual adapters, then the
// "Software\Velmora\VLMANCTransport" key: the end of both adapter applets' removal.
void DeleteVirtualAdapterEntries();
