#pragma once

#include <QString>

// Why the open catalogue may be read but not written, or that it may be written. The one
// place that says so: the data module sets it when it opens the catalogue (and then neither
// upgrades nor compacts it, and its connection refuses every change); the window disables
// every action that writes and names the reason in their tooltips; quillon-cli refuses its
// writing commands with the same text.
class ReadOnlyReason {
public:
    enum class Kind {
        Writable,
        NewerVersion, // a newer version of the program wrote it
    };

    ReadOnlyReason() = default;
    explicit ReadOnlyReason(Kind kind)
        : m_kind(kind)
    {
    }

    bool readOnly() const { return m_kind != Kind::Writable; }
    Kind kind() const { return m_kind; }
    // The reason in the interface's language; empty while the catalogue may be written.
    QString text() const;

private:
    Kind m_kind = Kind::Writable;
};
