// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sample databases in this program's file format, with made-up but
// realistic German patients, medications, intake lines and appointments.
// The same size, seed and day always give the same file contents.

#include <QDate>
#include <QString>
#include <QVector>

struct Beispielumfang {
    QString name;
    int patienten = 0;
    int packungen = 0;
    int zeilenJePatient = 0;
    int termineJePatient = 0;
};

// "familie", "pflegedienst" and "gross", smallest first.
const QVector<Beispielumfang> &beispielumfaenge();
// The size with this name; an empty name when there is none.
Beispielumfang beispielumfang(const QString &name);

struct Beispielergebnis {
    bool ok = false;
    QString fehler;
    int patienten = 0;
    int medikamente = 0;
    int packungen = 0;
    int zeilen = 0;
    int hilfsmittelZeilen = 0;
    int termine = 0;
};

// Writes a new database file at pfad (which must not exist yet). Stock
// counts and appointments lie around the day heute, so the file looks
// current when the program's clock shows that day.
Beispielergebnis beispieldatenSchreiben(const QString &pfad, const Beispielumfang &umfang, quint64 saat,
                                        const QDate &heute);
