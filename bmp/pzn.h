// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// The PZN (Pharmazentralnummer) of a package: 8 digits, the last one a check
// digit. Stored and shown with leading zeros; the medication plan's code
// writes it as a number without them.

// Whether the 8 digits carry a valid check digit: digits 1-7 weighted 1..7,
// the sum modulo 11 is digit 8 (a remainder of 10 is never issued).
bool pznGueltig(const QString &achtStellen);

// The PZN typed into a field: blanks around it and a leading "PZN" ignored;
// empty for no PZN. On error, fehler says why, naming the field.
struct PznEingabe {
    QString pzn; // 8 digits, or empty
    QString fehler;
};
PznEingabe pznLesen(const QString &text, const QString &feld);

// A PZN as the plan's code holds it (1 to 99999999) with 8 digits.
QString pznAusZahl(qint64 zahl);
