#pragma once
#include <string>

// A conversation with Program Manager's DDE command interface (service and topic "PROGMAN"),
// the shell of Windows NT 3.51. One caller at a time: connect, send, disconnect. Without a
// Program Manager every command fails quietly. A deletion tells the change gate whether its
// group or item is there, as Program Manager answers when asked.

// Opens the conversation; true once the DDE instance and service name exist.
bool ProgmanConnect();
// Sends one command text; true when Program Manager accepted it.
bool ProgmanExecute(const std::string& command);
// Creates or activates a group; common asks for a common group, else a personal one.
bool ProgmanCreateGroup(const std::string& group, bool common);
// Activates the group, then deletes the item from it.
void ProgmanDeleteItem(const std::string& group, const std::string& item, bool common);
// Activates the group as a personal one, then deletes it.
void ProgmanDeleteGroup(const std::string& group);
void ProgmanDisconnect();
