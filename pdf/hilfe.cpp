// SPDX-License-Identifier: GPL-3.0-or-later
// The help document "Kalvoria.pdf".
#include "app/mainwindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void MainWindow::hilfeanzeigen()
{
    const QString name = QStringLiteral("Kalvoria.pdf");
    // The installed copy beside the program first, so that a stray file in
    // whatever folder the program was started from does not hide it.
    const QString nebenProgramm = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(name);
    const QString imArbeitsordner = QDir::current().absoluteFilePath(name);
    for (const QString &pfad : {nebenProgramm, imArbeitsordner}) {
        if (!QFileInfo(pfad).isFile())
            continue;
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(pfad))) {
            meldungZeigen(QStringLiteral("Die Hilfe \u201E%1\u201C konnte nicht ge\u00F6ffnet werden. Ist ein Programm "
                                         "zum Anzeigen von PDF-Dateien eingerichtet?")
                              .arg(QDir::toNativeSeparators(pfad)));
        }
        return;
    }
    meldungZeigen(QStringLiteral("Die Hilfe \u201EKalvoria.pdf\u201C wurde nicht gefunden, weder neben dem Programm in "
                                 "\u201E%1\u201C noch im Arbeitsordner \u201E%2\u201C.")
                      .arg(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                           QDir::toNativeSeparators(QDir::currentPath())));
}
