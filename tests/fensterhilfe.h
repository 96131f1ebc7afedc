#pragma once

// Driving the small windows of the intake plan and the appointments.

#include "einnahmedaten.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Runs handler on the window that aktion opens, as a user would answer it,
// and closes the window afterwards if the handler left it open, so that a
// failed check cannot leave the test waiting. False when no window opened.
inline bool imFenster(const std::function<void()> &aktion, const std::function<void(QDialog *)> &handler = {})
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
    aktion();
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

// A fixed-size window without a title: what all three windows are.
inline bool festesFenster(QDialog *d)
{
    return d->size() == QSize(400, 200) && d->minimumSize() == d->maximumSize() && d->windowTitle().isEmpty() &&
           !d->parent();
}
