// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableWidget>

#include <functional>

// A table whose current row drives what the window shows: a row reached by
// keyboard (arrows, Page Up/Down, Home/End) is announced like a click on it,
// so that what is highlighted is what is shown and acted on.
class Tabelle : public QTableWidget
{
    Q_OBJECT

public:
    using QTableWidget::QTableWidget;

    // Rows whose cells are made only once they come into view, so that a
    // list of tens of thousands of rows costs what one screen of it costs:
    // machen(von, bis) makes the cells of rows von..bis that have none. The
    // rows must all be as high as the header's default section.
    void zeilenBeiBedarf(std::function<void(int von, int bis)> machen);
    // Has the rows in view made (after the rows were set anew).
    void sichtbareZeilenMachen();

signals:
    void zeileGewaehlt(int zeile, int spalte);

protected:
    void keyPressEvent(QKeyEvent *ereignis) override;
    void resizeEvent(QResizeEvent *ereignis) override;
    void verticalScrollbarValueChanged(int wert) override;

private:
    std::function<void(int, int)> zeilenMachen;
};
