// SPDX-License-Identifier: GPL-3.0-or-later
// "Als Datei sichern…" and "Datei auf Server kopieren…": the server
// database into a file of its own, and a file into an empty server database.
#include "app/mainwindow.h"

#include "maintenance/dateipflege.h"
#include "server/uebertragen.h"
#include "storage/datenbankzugriff.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString datenbankFilter = QStringLiteral("(*.db)");

QString zeigen(const QString &pfad)
{
    return QStringLiteral("\u201E") + QDir::toNativeSeparators(pfad) + QStringLiteral("\u201C");
}

QString anzahl(qint64 n, const char *einzahl, const char *mehrzahl)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? einzahl : mehrzahl);
}

// "2 Patienten, 5 Zuordnungen, …, 1 Termin und 12 Verlaufseinträge".
QString inhalt(const Kopie &k)
{
    QStringList teile{anzahl(k.anzahl(QStringLiteral("patient")), "Patient", "Patienten"),
                      anzahl(k.anzahl(QStringLiteral("einnahme")), "Zuordnung", "Zuordnungen"),
                      anzahl(k.anzahl(QStringLiteral("medikament")), "Medikament", "Medikamente"),
                      anzahl(k.anzahl(QStringLiteral("sorte")), "Packung", "Packungen"),
                      anzahl(k.anzahl(QStringLiteral("termine")), "Termin", "Termine"),
                      anzahl(k.anzahl(QStringLiteral("verlauf")), "Verlaufseintrag", "Verlaufseintr\u00E4ge")};
    const QString letzter = teile.takeLast();
    return teile.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letzter;
}

} // namespace

void MainWindow::AlsDateiSichern()
{
    if (art() != Datenbankart::postgres)
        return;
    const QString gewaehlt = dateiWaehlen(QStringLiteral("Als Datei sichern"),
                                          QDir(dialogOrdner()).filePath(server.datenbank + QStringLiteral(".db")),
                                          datenbankFilter, true);
    if (gewaehlt.isEmpty())
        return;
    const QString ziel = QFileInfo(mitDatenbankEndung(gewaehlt)).absoluteFilePath();
    const bool ersetzen = QFileInfo::exists(ziel);
    if (ersetzen && !frageStellen(QStringLiteral("Die Datei %1 gibt es bereits. Soll sie durch die Sicherung ersetzt "
                                                 "werden?")
                                      .arg(zeigen(ziel))))
        return;
    Kopie kopie;
    {
        DbSitzung db(*this);
        if (!db.offen())
            return;
        kopie = serverAlsDatei(db.verbindung(), ziel, ersetzen);
    }
    if (!kopie.gut()) {
        meldungZeigen(QStringLiteral("Die Datenbank \u201E%1\u201C konnte nicht als Datei gesichert werden:\n%2\n\n%3")
                          .arg(server.anzeige(), kopie.fehler,
                               ersetzen ? QStringLiteral("Die Datei %1 ist unver\u00E4ndert.").arg(zeigen(ziel))
                                        : QStringLiteral("Es wurde keine Datei angelegt.")));
        return;
    }
    meldungZeigen(QStringLiteral("Gesichert: %1 in %2.").arg(inhalt(kopie), zeigen(ziel)));
}

void MainWindow::DateiAufServerKopieren()
{
    if (art() != Datenbankart::postgres)
        return;
    const QString gewaehlt = dateiWaehlen(QStringLiteral("Datei auf Server kopieren"), dialogOrdner(), datenbankFilter,
                                          false);
    if (gewaehlt.isEmpty())
        return;
    const QString pfad = QFileInfo(gewaehlt).absoluteFilePath();
    const QString nichts = QStringLiteral("\n\nAuf dem Server wurde nichts ge\u00E4ndert.");
    const QString mangel = datenbankMangel(pfad);
    if (!mangel.isEmpty()) {
        meldungZeigen(QStringLiteral("Die Datei %1 ist keine Kalvoria-Datenbank: %2").arg(zeigen(pfad), mangel) +
                      nichts);
        return;
    }
    Kopie kopie;
    {
        DbSitzung db(*this);
        if (!db.offen())
            return;
        kopie = dateiAufServer(pfad, db.verbindung());
    }
    if (!kopie.gut()) {
        meldungZeigen(
            QStringLiteral("Die Datei %1 wurde nicht auf den Server kopiert:\n%2").arg(zeigen(pfad), kopie.fehler) +
            nichts);
        return;
    }
    auffrischen(Geaendert::datei);
    meldungZeigen(QStringLiteral("Kopiert: %1 aus %2 in die Datenbank \u201E%3\u201C.")
                      .arg(inhalt(kopie), zeigen(pfad), server.anzeige()));
}
