#include "components/ControlPanelTool.h"

#include <string>

#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgramsFolders.h"

bool RemoveToolFiles(std::initializer_list<ToolStep> steps) {
    const std::string system = SystemDirectory();
    const std::string programs = CommonProgramsFolder();
    bool result = true;
    for (const ToolStep& step : steps) {
        switch (step.kind) {
            case ToolStep::Executable:
                result = DeleteMainFile(system + step.name, step.shownName);
                break;
            case ToolStep::File:
                DeleteFileForced(system + step.name);
                break;
            case ToolStep::Shortcut:
                DeleteShortcut(programs + step.name);
                break;
        }
    }
    return result;
}
