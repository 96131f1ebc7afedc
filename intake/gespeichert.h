// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/datenbankzugriff.h"

#include <QSqlRecord>
#include <QVariantList>

// tag, stand, morgen, mittag, abend, nacht and hilfe of an intake line as read.
QVariantList einnahmeWerte(const QSqlRecord &zeile);

// Assigns the package :med_id to the patient :pat_id (:tag, :stand, the four
// doses, :hilfe, :ordnung) while both still exist (:pat_da, :med_da).
extern const char *const einnahmeEinfuegen;
// Books bought packages: the stock :stand as of the day :tag of the line :id.
extern const char *const bestandBuchen;

// Appended to "... WHERE id=:id": holds only while the line still holds
// the values a window showed (NULL matching NULL).
QString einnahmeUnveraendert(Datenbankart art);
Werte einnahmeUnveraendertWerte(const QVariantList &gespeichert);

// Numbers the patient's intake lines 1..n in the order shown, writing only
// the positions that change; run inside the command's transaction, so that
// a failure cannot leave two lines on one position.
bool positionenOrdnen(DbSitzung &db, const QString &patient);
