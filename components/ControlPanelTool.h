#pragma once
#include "core/Component.h"

// One step of a control-panel tool's removal: a deletion.
struct ToolStep {
    enum Kind {
        Executable,  // below the system directory; its result decides, with an error line
        File,        // below the system directory; result ignored
        Shortcut,    // below the common Programs folder (name begins with a backslash); ignored
    };
    Kind kind;
    const char* name;
    const char* shownName = nullptr;  // Executable: the name its error line gives
};

// What sets one control-panel tool apart: the file below the system directory that shows it is
// installed, its key below the control panel launcher's, and its deletions in order (the list
// ends at the first step without a name).
struct ControlPanelToolRow {
    const char* detectionFile;
    const char* launcherKey;
    ToolStep steps[6];
};

// The catalog entries that are control-panel tools: the event journal viewer, the front panel
// status display, the online storage failover assistant, the PCI live swap tool, the mirror
// pair tool, the shutdown scheduler and the power feed monitor.
extern const ControlPanelToolRow kEventJournalViewer, kFrontPanelDisplay, kStorageFailover,
    kPciLiveSwap, kMirrorPair, kShutdownScheduler, kPowerFeedMonitor;

// A control-panel tool of the catalog, as its row says.
class ControlPanelTool : public Component {
  public:
    explicit ControlPanelTool(const ControlPanelToolRow& row) : row_(row) {}

    bool IsInstalled() override;
    // Deletes the tool's launcher key; always true.
    bool FinalStage() override;
    // Runs the deletions in order: files with DeleteFileForced, shortcuts with DeleteShortcut.
    // Returns the executable's result, or true when the row names none.
    bool MiddleStage() override;

  private:
    const ControlPanelToolRow& row_;
};
