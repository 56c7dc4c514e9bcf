#pragma once

#include <QLoggingCategory>

// Notes of the drive backend: "quillon.drives".
Q_DECLARE_LOGGING_CATEGORY(lcDrives)
