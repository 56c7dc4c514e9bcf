#include "DrivesLog.h"

Q_LOGGING_CATEGORY(lcDrives, "quillon.drives")
