// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateEdit>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// Lends fields owned by MainWindow to a child window for as long as this
// object lives: each field is placed into the window at its rectangle and,
// when the loan ends, given back without a parent. Declare it after the
// window, so that the fields are back before the window is destroyed and
// never go down with it.
class FelderLeihen
{
public:
    FelderLeihen(QWidget &fenster, std::initializer_list<std::pair<QWidget *, QRect>> felder)
    {
        for (const auto &f : felder) {
            f.first->setParent(&fenster);
            // A field with a style sheet keeps the font it was polished with
            // instead of taking the window's.
            f.first->setFont(fenster.font());
            f.first->setGeometry(f.second);
            f.first->show();
            geliehen.push_back(f.first);
        }
    }
    ~FelderLeihen()
    {
        for (QWidget *f : geliehen)
            f->setParent(nullptr);
    }
    FelderLeihen(const FelderLeihen &) = delete;
    FelderLeihen &operator=(const FelderLeihen &) = delete;

private:
    std::vector<QWidget *> geliehen;
};

// A date field of a child window, owned by MainWindow: German date, calendar to pick from.
inline std::unique_ptr<QDateEdit> datumsFeld(const QString &name)
{
    auto d = std::make_unique<QDateEdit>();
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    return d;
}

// A caption or display box of a child window; it belongs to the window.
inline QLabel *fensterText(QWidget &fenster, const QString &text, const QRect &rechteck,
                           Qt::Alignment ausrichtung = Qt::AlignLeft | Qt::AlignVCenter,
                           const QString &stil = QString())
{
    auto *label = new QLabel(text, &fenster);
    label->setGeometry(rechteck);
    label->setAlignment(ausrichtung);
    if (!stil.isEmpty())
        label->setStyleSheet(stil);
    return label;
}

// Opens the frame the small child windows share: the fixed 400 x 200 window
// in the main window's pixel font, with a caption and a framed box on top
// that name what the window is about.
inline void fensterKopf(QDialog &fenster, const QFont &schrift, const QString &beschriftung,
                        const QRect &beschriftungRechteck, const QString &inhalt)
{
    fenster.setFixedSize(400, 200);
    // The layout is in pixels: the text keeps the main window's pixel size.
    fenster.setFont(schrift);
    // Captions end at x = 85, with room for a font 10 % wider than Arial.
    fensterText(fenster, beschriftung, beschriftungRechteck, Qt::AlignRight | Qt::AlignVCenter);
    fensterText(fenster, inhalt, QRect(85, 20, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("border:1px solid gray;"));
}
