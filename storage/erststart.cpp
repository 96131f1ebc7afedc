// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "storage/datenbankzugriff.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString MainWindow::standardDatei() const
{
    return einstellungsOrdner + QStringLiteral("/medidat.db");
}

void MainWindow::titelSetzen()
{
    setWindowTitle(QStringLiteral("Kalvoria - ") +
                   (art() == Datenbankart::postgres ? server.anzeige() : datenbankDatei));
}

void MainWindow::ErstStartCheck()
{
    {
        QSettings ort(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kalvoria"),
                      QStringLiteral("application"));
        einstellungsOrdner = QFileInfo(ort.fileName()).absolutePath();
    }
    const QString konfiguration = einstellungsOrdner + QStringLiteral("/config.ini");

    QString pfad;
    if (QFileInfo(konfiguration).isFile()) {
        QSettings einstellungen(konfiguration, QSettings::IniFormat);
        einstellungen.beginGroup(QStringLiteral("pfade"));
        pfad = einstellungen.value(QStringLiteral("letzteDatei"), QVariant()).toString();
        einstellungen.endGroup();
    } else {
        QSettings einstellungen(konfiguration, QSettings::IniFormat);
        einstellungen.beginGroup(QStringLiteral("pfade"));
        einstellungen.setValue(QStringLiteral("letzteDatei"), standardDatei());
        einstellungen.endGroup();
        pfad = standardDatei();
    }

    const QString mangel = datenbankMangel(pfad);
    if (mangel.isEmpty()) {
        datenbankDatei = pfad;
        titelSetzen();
        return;
    }

    // The remembered file is missing, empty or foreign: work on the default
    // file instead, but keep the key (the file may be on an unplugged drive)
    // and never create tables in a file the user chose.
    const QString standard = standardDatei();
    const bool fremd = QFileInfo(pfad).absoluteFilePath() != QFileInfo(standard).absoluteFilePath();
    QDir(QDir::rootPath()).mkpath(einstellungsOrdner);
    datenbankDatei = standard;
    titelSetzen();
    if (!istKalvoriaDatenbank(standard)) {
        DbSitzung sitzung(*this, true);
        if (sitzung.offen())
            tabellenAnlegen(sitzung);
    }
    // A remembered server is what the program works on; a configuration
    // made for the server alone names no file to miss.
    if (fremd && !(pfad.isEmpty() && gemerkterServer())) {
        const QString frueher = pfad.isEmpty() ? QStringLiteral("(keine Angabe)") : pfad;
        meldungZeigen(QStringLiteral("Die zuletzt benutzte Datenbank \u201E%1\u201C konnte nicht verwendet werden: "
                                     "sie fehlt oder ist keine Kalvoria-Datenbank. %2\n\n"
                                     "Es wird die Datenbank \u201E%3\u201C verwendet.")
                          .arg(frueher, mangel, standard));
    }
}

void MainWindow::ZeitHolen()
{
    jetzt = aktuelleZeit();
    heute = jetzt.date();
}
