#pragma once

#include <QString>
#include <QStringList>

class Platform;

// Virtual CD-ROM drives named on the command line: "--cd-image PATH" or
// "--cd-image=PATH", as often as wanted. They are attached before anything else asks
// for the drives, so they take the letters right after the machine's optical drives.
namespace CdImageOption {
// The image paths in the order given; an empty one for a "--cd-image" without a path.
QStringList paths(const QStringList &arguments);

struct Failure {
    QString message; // what went wrong, naming the image
    QString details; // why
};

// Attaches every image of the command line to the platform, in order; what to tell the
// user about each that could not be attached.
QList<Failure> attachAll(const QStringList &arguments, Platform &platform);
} // namespace CdImageOption
