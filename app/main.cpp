// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/sprache.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // The layout is in fixed pixels; scaling keeps it readable on dense screens.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication app(argc, argv);
    // The data location (the backups) is named after the program and its
    // maker: under the program's name alone it would be, on Windows, the
    // settings folder, which the repair window deletes.
    QCoreApplication::setOrganizationName(QStringLiteral("TIRVAkesh"));
    QCoreApplication::setApplicationName(QStringLiteral("Kalvoria"));
    QTranslator qtDeutsch;
    deutscheOberflaeche(qtDeutsch);
    schriftEinrichten();

    int ergebnis = 0;
    {
        MainWindow fenster;
        fenster.show();
        ergebnis = QApplication::exec();
    }
    return ergebnis;
}
