#pragma once

#include <QString>

// The program's title as the caption of its own message boxes. The application's name
// stays "Quillon" (it names the user's data folder); the title is what users read.
namespace ApplicationTitle {
// The title set at start-up, else the application's name.
QString get();
void set(const QString &title);
} // namespace ApplicationTitle
