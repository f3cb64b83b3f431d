// Two layers side by side (samples and dialogs) may not include each other.
#include "dialogs/SetupDialog.h"
