// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/datenbankzugriff.h"

#include <QString>

// Tables beside the five original ones, for what the medication plan brings
// along. Each is created when something is first stored in it, never when a
// file is merely opened, so that earlier versions keep opening the file; they
// ignore these tables. Rows are joined by the keys of the original tables,
// which AUTOINCREMENT never hands out twice: a row left behind by an earlier
// version's delete meets no new row.
enum class Zusatz {
    sortePzn,    // sorte_pzn: a package's PZN
    einnahmeBmp, // einnahme_bmp: what an imported plan line says beyond the four doses
    planText,    // plan_text: free-text and recipe lines of an imported plan
};

const char *zusatzName(Zusatz tabelle);

// Whether the open file has the table; false also when the file cannot be read.
bool zusatzDa(DbSitzung &db, Zusatz tabelle);

// Creates the table where it is missing; false (reported) when that failed.
bool zusatzAnlegen(DbSitzung &db, Zusatz tabelle);
// The statement it runs, in the kind's form.
QString zusatzAnweisung(Datenbankart art, Zusatz tabelle);

// Gives the package this PZN ("" takes it away), inside the caller's
// transaction. False when writing failed, or when another package carries
// the PZN already: belegt then names that package ("Name (Dosis)").
bool pznSpeichern(DbSitzung &db, int sorte, const QString &pzn, QString *belegt);

// The dose in words of an intake line goes (doses were typed for it), inside
// the caller's transaction; hints, reason and heading stay.
bool planDosisTextLoeschen(DbSitzung &db, const QString &einnahme);
