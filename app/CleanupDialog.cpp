#include "app/CleanupDialog.h"

int CleanupDialog::ShowModal() {
    return 0;
}
