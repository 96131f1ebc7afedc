// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/befehlszeile.h"
#include "app/mainwindow.h"
#include "app/programm.h"
#include "app/seams.h"
#include "app/sprache.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KALVORIA_VERSION));

    // --help and --version are answered on the terminal before any window
    // system is asked for, so that they work without a display.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    if (Befehlszeile::nurAuskunft(argumente)) {
        QCoreApplication app(argc, argv);
        QTranslator qtDeutsch;
        deutscheOberflaeche(qtDeutsch);
        Befehlszeile befehlszeile;
        befehlszeile.parser.process(app); // answers, or names a wrong option, and ends the program
        return 1;
    }

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // The layout is in fixed pixels; scaling keeps it readable on dense screens.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication app(argc, argv);
    // Wayland finds the icon and the menu entry through the desktop entry's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.kalvoria.Kalvoria"));
    Befehlszeile befehlszeile;
    befehlszeile.parser.process(app);
    if (befehlszeile.parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("%1: Es kann nur eine Datei ge\u00F6ffnet werden.")
                                    .arg(QCoreApplication::applicationName())));
        return 1;
    }
    // The data location (the backups) is named after the program and its
    // maker: under the program's name alone it would be, on Windows, the
    // settings folder, which the repair window deletes.
    QCoreApplication::setOrganizationName(QStringLiteral("TIRVAkesh"));
    QCoreApplication::setApplicationName(QStringLiteral("Kalvoria"));
    QTranslator qtDeutsch;
    deutscheOberflaeche(qtDeutsch);
    schriftEinrichten();

    const bool pruefen = befehlszeile.parser.isSet(befehlszeile.beendenNachStart);
    int meldungen = 0;
    if (pruefen) {
        Seams::meldung = [&meldungen](const QString &text) {
            ++meldungen;
            std::fprintf(stderr, "%s\n", qPrintable(text));
        };
    }

    int ergebnis = 0;
    {
        MainWindow fenster;
        fenster.show();
        befehlszeile.anwenden(fenster);
        if (pruefen) {
            // One turn of the event loop: the window is drawn, then the program ends
            // and names the file in use.
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
            QApplication::exec();
            std::printf("%s\n", qPrintable(fenster.windowTitle()));
            return meldungen == 0 ? 0 : 1;
        }
        ergebnis = QApplication::exec();
    }
    return ergebnis;
}
