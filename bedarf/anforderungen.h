// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prescription requests live in a table of their own, which earlier
// versions do not know and pass over:
//     anforderung (id, einnahme_id, angefordert, erledigt)
// one row per request of an intake line, the days as "yyyy-MM-dd"; erledigt
// stays NULL while the request is open, until a booking in the pharmacy
// window closes it. The table is created with the first request, not when
// a file is opened, so that a file nobody requested anything in stays as
// earlier versions wrote it.

#include "storage/datenbankzugriff.h"

#include <QDate>
#include <QString>
#include <QStringList>

// Whether the file has the table yet; ok is false when that could not be read.
bool anforderungenDa(DbSitzung &db, bool *ok);

// Creates the table where it is missing; run inside the request's transaction.
bool anforderungenAnlegen(DbSitzung &db);
// The statements it runs, in the kind's form: the table, then its index.
QStringList anforderungenAnweisungen(Datenbankart art);

// Closes the open request of the line, if there is one, as of heute; run
// inside the booking's transaction, so both are stored or neither.
bool anforderungErledigen(DbSitzung &db, const QString &einnahme, const QDate &heute);

// The open requests: rows (einnahme_id, angefordert).
extern const char *const offeneAnforderungen;
