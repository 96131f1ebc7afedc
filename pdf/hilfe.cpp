// SPDX-License-Identifier: GPL-3.0-or-later
// The help document "Kalvoria.pdf".
#include "pdf/hilfe.h"

#include "app/mainwindow.h"
#include "app/programm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString hilfeName = QStringLiteral("Kalvoria.pdf");

QString programmOrdner()
{
    return QCoreApplication::applicationDirPath();
}

QString datenOrdner()
{
    return QDir::cleanPath(QDir(programmOrdner()).absoluteFilePath(QStringLiteral(KALVORIA_DATEN_RELATIV)));
}

} // namespace

QStringList hilfeOrte()
{
    QStringList orte;
    for (const QString &ordner : {programmOrdner(), datenOrdner(), QDir::currentPath()})
        orte << QDir(ordner).absoluteFilePath(hilfeName);
    return orte;
}

QString hilfeDokument()
{
    for (const QString &pfad : hilfeOrte()) {
        if (QFileInfo(pfad).isFile())
            return pfad;
    }
    return QString();
}

void MainWindow::hilfeanzeigen()
{
    const QString pfad = hilfeDokument();
    if (pfad.isEmpty()) {
        meldungZeigen(QStringLiteral("Die Hilfe \u201EKalvoria.pdf\u201C wurde nicht gefunden, weder neben dem "
                                     "Programm in \u201E%1\u201C noch im Datenordner \u201E%2\u201C noch im "
                                     "Arbeitsordner \u201E%3\u201C.")
                          .arg(QDir::toNativeSeparators(programmOrdner()), QDir::toNativeSeparators(datenOrdner()),
                               QDir::toNativeSeparators(QDir::currentPath())));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(pfad))) {
        meldungZeigen(QStringLiteral("Die Hilfe \u201E%1\u201C konnte nicht ge\u00F6ffnet werden. Ist ein Programm "
                                     "zum Anzeigen von PDF-Dateien eingerichtet?")
                          .arg(QDir::toNativeSeparators(pfad)));
    }
}
