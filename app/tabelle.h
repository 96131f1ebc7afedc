// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableWidget>

// A table whose current row drives what the window shows: a row reached by
// keyboard (arrows, Page Up/Down, Home/End) is announced like a click on it,
// so that what is highlighted is what is shown and acted on.
class Tabelle : public QTableWidget
{
    Q_OBJECT

public:
    using QTableWidget::QTableWidget;

signals:
    void zeileGewaehlt(int zeile, int spalte);

protected:
    void keyPressEvent(QKeyEvent *ereignis) override;
};
