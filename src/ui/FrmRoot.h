#pragma once

#include "UiFonts.h"

#include <QPalette>
#include <QWidget>

// The common look of the program's own windows: button-face colour and the 12-pixel
// Chinese sans font.
template <class Base>
class TfrmRoot : public Base {
public:
    explicit TfrmRoot(QWidget *parent = nullptr, Qt::WindowFlags flags = {}) : Base(parent, flags)
    {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Button));
        this->setPalette(palette);
        this->setAutoFillBackground(true);
        this->setFont(UiFonts::sans(12));
    }
};
