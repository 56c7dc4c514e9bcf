#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

// The bottom line of the main window: the status text over the first status panel and a
// 180-pixel progress bar right after it.
class TMyStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TMyStatusBar(QWidget *parent = nullptr);

    // Lays the text and the bar out for a window of the given outer width.
    void layoutFor(int windowWidth);
    int panel0Width() const { return m_panel0Width; }

    QLabel *Panel7;
    QProgressBar *pbQl;

private:
    int m_panel0Width = 600;
};
