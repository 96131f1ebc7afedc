// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/dialekt.h"

#include <QByteArray>
#include <QVariant>

// The next family-doctor appointment is the first, by its stored date, of
// a patient's appointments whose doctor is exactly "Hausarzt" (any other
// text is a specialist) and whose date, stored as text, is not before
// today's "yyyy-MM-dd". SQLite compares such dates as text, byte by byte;
// a date stored as a number or NULL never counts.

// Whether one appointment, as read, may be the next one; heuteText is
// today as "yyyy-MM-dd" in UTF-8.
bool hausarztTerminAb(const QVariant &arzt, const QVariant &datum, const QByteArray &heuteText);

// The same rule for every patient at once, in one grouped query: rows
// (pata_id, the stored date of the next one); :heute binds today as
// "yyyy-MM-dd".
QString naechsteHausarztTermine(Datenbankart art);
