// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What must be ordered, across all patients: the intake lines whose stock
// runs out before a chosen day (or before the patient's next family-doctor
// appointment), by the rules of the overview, without a window.

#include "intake/bestand.h"
#include "storage/datenbankzugriff.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

// The day a patient's stock must last to: the chosen day, or the next
// family-doctor appointment where it is asked for and later.
QDate bedarfStichtag(const QDate &bis, const QDate &hausarztTermin, bool bisHausarzt);

// The packages that cover the consumption from today to tage days ahead
// and a week more, less today's stock, rounded up; none when the units per
// package are unknown.
std::optional<int> packungenBerechnen(float verbrauch, float bestandHeute, qint64 tage,
                                      const std::optional<double> &einheiten);

// A line the list shows, as computed from its stored values.
struct Bedarf {
    QString fehler;        // why the stored values cannot be used; the line is then listed first, without figures
    float verbrauch = 0;   // units per day
    float bestand = 0;     // units in stock today
    double reichweite = 0; // the range unrounded; the row cache writes it as bestandText
    QDate reichtBis;       // last day with stock
    bool leer = false;     // ran out before today
    bool gelb = false;     // less than four weeks left
    std::optional<int> packungen;
};

// What a line's stored values give as of today, whatever day it must last
// to: the list keeps it between fills, so that another day asked for costs
// a comparison per line, not the stored values read and checked anew.
struct Bedarfsstand {
    QString fehler;        // why the stored values cannot be used; then nothing else is set
    float verbrauch = 0;   // units per day
    float bestand = 0;     // units in stock today
    double reichweite = 0; // the range unrounded
    QDate reichtBis;       // last day with stock; invalid without daily consumption
    bool gelb = false;     // less than four weeks left
};

// The figures of the line with these stored values (stand, tag, the four
// doses) as of heute, or why they cannot be used.
Bedarfsstand bedarfsstandBerechnen(const QVariant &stand, const QVariant &tag, const Dosen &dosen, const QDate &heute);

// The line with these figures as of heute and units per package, when it
// must be listed: its stock ends before stichtag, or its values cannot be
// used. Lines without daily consumption never are.
std::optional<Bedarf> bedarfPruefen(const Bedarfsstand &stand, const QDate &heute, const QDate &stichtag,
                                    const std::optional<double> &einheiten);
// The same from the stored values.
std::optional<Bedarf> bedarfPruefen(const QVariant &stand, const QVariant &tag, const Dosen &dosen, const QDate &heute,
                                    const QDate &stichtag, const std::optional<double> &einheiten);

struct Bedarfspatient {
    qint64 id = 0;
    QString name;
    QString vorname;
    QString geburtstag;
    QDate hausarztTermin; // the next one from today; invalid when none
};

struct Bedarfszeile {
    qint64 einnahme = 0; // the intake line's key
    int patient = 0;     // index into Bedarfsliste::patienten, which is in the patients' order
    QVariant ordnung;    // the line's position in the patient's plan, as stored
    QString medizin;
    QString handelsname;
    QString dosis;
    QString einheiten; // units per package, as stored; empty where they are not known
    QDate angefordert; // the day the open request was made; invalid when none
    Bedarf bedarf;
};

// Moved in memory as they are: a list of tens of thousands grows without copies.
Q_DECLARE_TYPEINFO(Bedarf, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(Bedarfspatient, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(Bedarfszeile, Q_MOVABLE_TYPE);

struct Bedarfsliste {
    QVector<Bedarfspatient> patienten; // every patient, by name
    QVector<Bedarfszeile> zeilen;      // what must be ordered, in the list's order
};

// Invalid lines first, then by the last day with stock, the patient and
// the patient's own order of lines.
void bedarfSortieren(QVector<Bedarfszeile> &zeilen);

struct Bedarfspackung {
    QString medizin;
    QString handelsname;
    QString dosis;
    QString einheitenText; // as stored; empty where the units are not known
    std::optional<double> einheiten;
};

// A line as read, with its figures as of the day read for.
struct Bedarfsposten {
    qint64 einnahme = 0;
    int patient = 0;  // index into Bedarfsgrundlage::patienten
    int packung = -1; // index into Bedarfsgrundlage::packungen; -1 for a package not in the catalogue
    QVariant ordnung;
    QDate angefordert;
    Bedarfsstand stand;
};

Q_DECLARE_TYPEINFO(Bedarfsstand, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(Bedarfspackung, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(Bedarfsposten, Q_MOVABLE_TYPE);

// Everything the list shows, read for one day; the day asked for and the
// check box only choose from it.
struct Bedarfsgrundlage {
    QDate heute;
    QVector<Bedarfspatient> patienten; // every patient, by name
    QVector<Bedarfspackung> packungen;
    // The lines that may ever be listed (with daily consumption, or values
    // that cannot be used), already in the list's order.
    QVector<Bedarfsposten> posten;
};

// Reads every patient's lines, appointments and open requests in a few
// statements (never one per patient), as of heute. ok is false when a read
// failed.
Bedarfsgrundlage bedarfEinlesen(DbSitzung &db, const QDate &heute, bool *ok);

// What must be ordered by the day bis, or by each patient's next
// family-doctor appointment when bisHausarzt is set and it is later.
Bedarfsliste bedarfAuswerten(const Bedarfsgrundlage &grundlage, const QDate &bis, bool bisHausarzt);

// Both at once.
Bedarfsliste bedarfLesen(DbSitzung &db, const QDate &heute, const QDate &bis, bool bisHausarzt, bool *ok);

// The rows (indexes into zeilen) grouped by patient, in the patients'
// order, each patient's rows in the order of the patient's plan: one
// printed sheet each.
QVector<QVector<int>> nachPatienten(const QVector<Bedarfszeile> &zeilen, const QVector<int> &auswahl);
