// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Driving the main window, its lists and the small windows it opens.

#include "einnahmedaten.h"

#include <QtWidgets>
#include <functional>

// The text of the main window's line edit.
inline QString feld(const Welt &t, const QString &name)
{
    return teil<QLineEdit>(t.w.get(), name)->text();
}

// Starts the program on the file prepared by the statements, with its lists shown.
inline void mitListen(Welt &t, const QStringList &sql)
{
    for (const QString &s : sql)
        Datei::ausfuehren(t.f, s);
    t.starten();
    menue(t.w.get(), QStringLiteral("aktionListen"));
}

// Types the text, umlauts too, into the main window's field, replacing what it held.
inline void tippe(const Welt &t, const QString &feld, const QString &text)
{
    tippen(teil<QLineEdit>(t.w.get(), feld), QString());
    teil<QLineEdit>(t.w.get(), feld)->insert(text); // as typed; key clicks know no umlauts
}

// Clicks the main window's button knopf and runs handler on the window it
// opens (see imFenster). False when no window opened.
inline bool oeffnen(const Welt &t, const char *knopf, const std::function<void(QDialog *)> &handler = {})
{
    return imFenster([&] { t.knopf(knopf); }, handler);
}

// Clicks the window's button with this text.
inline void druecken(QDialog *d, const QString &text)
{
    for (QPushButton *k : d->findChildren<QPushButton *>())
        if (k->text().remove(QLatin1Char('&')) == text)
            return klicken(k);
    fehlschlag(QStringLiteral("no button ") + text);
}

// What the window's captions and boxes show, in the order they were made.
inline QStringList beschriftungen(QDialog *d)
{
    QStringList t;
    for (QLabel *l : d->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        t << l->text();
    return t;
}

// Columns of an intake line as the file holds them.
inline QStringList zeile(const Welt &t, int id,
                         const QString &spalten = "stand, tag, morgen, mittag, abend, nacht, hilfe")
{
    QStringList w;
    for (const QVariant &v : Datei::zeilen(t.f, "SELECT " + spalten + " FROM einnahme WHERE id = ?", {id}).value(0))
        w << v.toString();
    return w;
}
