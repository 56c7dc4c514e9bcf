#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread, so a logout or Ctrl+C shuts
// the program down the normal way.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Catches the signals from now on; one that arrives before a TerminationSignals
    // object exists is delivered once that object's event loop runs.
    static void install();

signals:
    void terminationRequested();

private:
    void drain();
    QSocketNotifier *m_notifier = nullptr;
};
