// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Driving the main window, its lists and the small windows it opens.

#include "einnahmedaten.h"

#include <QtWidgets>
#include <functional>
#include <utility>

// The texts of labels, line edits and date edits of w (or another property), named in order and joined by "|".
inline QString texte(QWidget *w, const QStringList &namen, const char *eigenschaft = "text")
{
    QStringList t;
    for (const QString &n : namen)
        t << teil<QWidget>(w, n)->property(eigenschaft).toString();
    return t.join('|');
}

// Starts the program on the file prepared by the statements, with its lists shown.
inline void mitListen(Welt &t, const QStringList &sql)
{
    for (const QString &s : sql)
        Datei::ausfuehren(t.f, s);
    t.starten();
    teil<QAction>(t.w.get(), "aktionListen")->trigger();
}

// Types the text, umlauts too, into the main window's field, replacing what it held.
inline void tippe(const Welt &t, const QString &feld, const QString &text)
{
    tippen(teil<QLineEdit>(t.w.get(), feld), QString());
    teil<QLineEdit>(t.w.get(), feld)->insert(text); // as typed; key clicks know no umlauts
}

// Clicks the main window's button knopf and runs handler on the window it
// opens, as a user would answer it; the window is closed afterwards if the
// handler left it open, so that a failed check cannot leave the test
// waiting. False when no window opened.
inline bool oeffnen(const Welt &t, const char *knopf, const std::function<void(QDialog *)> &handler = {})
{
    bool geoeffnet = false;
    QTimer waechter;
    QObject::connect(&waechter, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || std::exchange(geoeffnet, true))
            return;
        waechter.stop();
        if (handler)
            handler(d);
        if (d->isVisible())
            d->reject();
    });
    waechter.start(10);
    t.knopf(knopf);
    return geoeffnet;
}

// Clicks the window's button with this text.
inline void druecken(QDialog *d, const QString &text)
{
    for (QPushButton *k : d->findChildren<QPushButton *>())
        if (k->text().remove(QLatin1Char('&')) == text)
            return klicken(k);
    qFatal("no button %s", qPrintable(text));
}

// What the window's captions and boxes show, in the order they were made, joined by "|".
inline QString beschriftungen(QDialog *d)
{
    QStringList t;
    for (QLabel *l : d->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        t << l->text();
    return t.join('|');
}

// Columns of an intake line in the file, joined by "|".
inline QString zeile(const Welt &t, int id, const QString &spalten = "stand, tag, morgen, mittag, abend, nacht, hilfe")
{
    QStringList w;
    for (const QVariant &v : Datei::zeilen(t.f, "SELECT " + spalten + " FROM einnahme WHERE id = ?", {id}).value(0))
        w << v.toString();
    return w.join('|');
}
