#pragma once

// Test data for the intake plan, the views and the appointments, written
// straight into the file before the program starts.

#include "testhilfe.h"

#include <QDate>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>

namespace Daten {

inline int letzteId(const QString &datei, const char *tabelle)
{
    return Datei::wert(datei, QStringLiteral("SELECT max(id) FROM %1").arg(QLatin1String(tabelle))).toInt();
}

inline int patient(const QString &datei, const QString &name, const QString &vorname = QStringLiteral("Anna"))
{
    Datei::ausfuehren(datei,
                      QStringLiteral("INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) "
                                     "VALUES (?, ?, '01.02.1940', '01234', 'Ort', 'Weg', '1')"),
                      {vorname, name});
    return letzteId(datei, "patient");
}

// A medication with one package; returns the package's key.
inline int packung(const QString &datei, const QString &medizin, const QString &handelsname,
                   const QString &dosis = QStringLiteral("5 mg"), const QVariant &einheiten = 30)
{
    Datei::ausfuehren(datei, QStringLiteral("INSERT INTO medikament (medizin) VALUES (?)"), {medizin});
    const int med = letzteId(datei, "medikament");
    Datei::ausfuehren(datei, QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (?, ?, ?, ?)"),
                      {med, handelsname, dosis, einheiten});
    return letzteId(datei, "sorte");
}

struct Zeile {
    int patient;
    int sorte;
    QVariant tag;
    QVariant stand;
    double morgen = 0, mittag = 0, abend = 0, nacht = 0;
    int hilfe = 0;
    int ordnung = 1;
};

inline int einnahme(const QString &datei, const Zeile &z)
{
    Datei::ausfuehren(datei,
                      QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, "
                                     "hilfe, ordnung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {z.patient, z.sorte, z.tag, z.stand, z.morgen, z.mittag, z.abend, z.nacht, z.hilfe, z.ordnung});
    return letzteId(datei, "einnahme");
}

inline int termin(const QString &datei, int patient, const QString &arzt, const QVariant &datum)
{
    Datei::ausfuehren(datei, QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (?, ?, ?)"),
                      {patient, arzt, datum});
    return letzteId(datei, "termine");
}

// Positions of a patient's lines by key, in key order.
inline QStringList positionen(const QString &datei, int patient)
{
    QStringList p;
    for (const auto &z : Datei::zeilen(datei, QStringLiteral("SELECT id, ordnung FROM einnahme WHERE pat_id = ? ORDER BY id"),
                                       {patient}))
        p << z.at(0).toString() + QLatin1Char(':') + z.at(1).toString();
    return p;
}

inline QProgressBar *balken(QTableWidget *uebersicht, int zeile)
{
    return qobject_cast<QProgressBar *>(uebersicht->cellWidget(zeile, 1));
}

inline QColor hintergrund(QTableWidget *t, int zeile, int spalte)
{
    const QBrush b = t->item(zeile, spalte)->background();
    return b.style() == Qt::NoBrush ? QColor() : b.color();
}

// Clicks the patient with this last name in the choice list.
inline void patientWaehlen(QWidget *w, const QString &name)
{
    auto *wahl = teil<QTableWidget>(w, QStringLiteral("tabellePatientenwahl"));
    const QStringList namen = spalte(wahl, 1);
    const int z = namen.indexOf(name);
    if (z < 0)
        qFatal("patient %s not listed", qPrintable(name));
    zelleKlicken(wahl, z, 1);
}

} // namespace Daten
