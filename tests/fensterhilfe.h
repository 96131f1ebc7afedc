#pragma once

// Driving the small windows of the intake plan and the appointments.

#include "einnahmedaten.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Clicks the main window's button knopf and runs handler on the window it
// opens, as a user would answer it; the window is closed afterwards if the
// handler left it open, so that a failed check cannot leave the test
// waiting. False when no window opened.
inline bool oeffnen(const Welt &t, const char *knopf, const std::function<void(QDialog *)> &handler = {})
{
    bool geoeffnet = false;
    QTimer waechter;
    waechter.setInterval(10);
    QObject::connect(&waechter, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || geoeffnet)
            return;
        geoeffnet = true;
        waechter.stop();
        if (handler)
            handler(d);
        if (d->isVisible())
            d->reject();
    });
    waechter.start();
    t.knopf(knopf);
    return geoeffnet;
}

inline QPushButton *knopfIm(QDialog *d, const QString &text)
{
    for (QPushButton *k : d->findChildren<QPushButton *>())
        if (k->text() == text)
            return k;
    qFatal("no button %s", qPrintable(text));
    return nullptr;
}

// What the window's captions and boxes show, in the order they were made.
inline QStringList beschriftungen(QDialog *d)
{
    QStringList t;
    for (QLabel *l : d->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        t << l->text();
    return t;
}

// A fixed-size window of its own, without a title: what all these windows are.
inline bool festesFenster(QDialog *d)
{
    return d->size() == QSize(400, 200) && d->minimumSize() == d->maximumSize() && d->windowTitle().isEmpty() &&
           !d->parent();
}

// The columns of one row of the file, joined by "|".
inline QString zeileText(const Welt &t, const QString &sql, int id)
{
    const auto z = Datei::zeilen(t.f, sql, {id});
    QStringList teile;
    for (const QVariant &v : z.value(0))
        teile << v.toString();
    return teile.join(QLatin1Char('|'));
}
