#pragma once
#include <string>

#include "base/ScopedHandle.h"
#include "sysaccess/ChangeGate.h"

// A conversation with Program Manager's DDE command interface (service and topic "PROGMAN"),
// the shell of Windows NT 3.51, open for the object's life. Without a Program Manager every
// command fails quietly. A deletion tells the change gate whether its group or item is there, as
// Program Manager answers when asked.
class ProgmanConversation {
  public:
    ProgmanConversation();
    ProgmanConversation(const ProgmanConversation&) = delete;
    ProgmanConversation& operator=(const ProgmanConversation&) = delete;

    // True once the DDE instance and service name exist.
    bool Connected() const { return connected_; }
    // Sends one command text; true when Program Manager accepted it.
    bool Execute(const std::string& command);
    // Creates or activates a group; common asks for a common group, else a personal one.
    bool CreateGroup(const std::string& group, bool common);
    // Activates the group, then deletes the item from it.
    void DeleteItem(const std::string& group, const std::string& item, bool common);
    // Activates the group as a personal one, then deletes it.
    void DeleteGroup(const std::string& group);

  private:
    // Activates group, then sends the deletion command, through the change gate.
    void DeleteFromGroup(ChangeAction action, const std::string& group, bool common,
                         const std::string& target, const std::string& command, bool present);

    DdeInstance instance_;
    DdeConversation conversation_;
    bool connected_ = false;
    // The DDE error of the last command that failed.
    UINT commandError_ = DMLERR_NO_ERROR;
};
