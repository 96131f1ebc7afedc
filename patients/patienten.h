// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDate;
class QDateEdit;

// The patient column a search may run on: one of the three searchable
// columns, or an empty text for anything else. The result is always one of
// this program's own literals, never the text passed in, so nothing typed or
// altered elsewhere can reach a statement.
QString suchspalte(const QString &spalte);

// Adds a patient (:firstname, :lastname, :birth, :plz, :ort, :strasse, :nr).
extern const char *const patientEinfuegen;

// The question asked before a patient is deleted together with the
// patient's intake lines and appointments.
QString patientLoeschenFrage(const QString &name, const QString &vorname, const QString &geburtstag, int zuordnungen,
                             int termine);

// Birth dates are stored as text "dd.MM.yyyy". A text the field cannot show
// (another format, empty, out of its range) is an unknown date: the field
// shows its minimum, which reads "unbekannt".
void geburtstagsfeldEinrichten(QDateEdit *feld);
QDate geburtstagFuerFeld(const QString &gespeichert, const QDateEdit *feld);
// The text stored for what the field shows: "" for "unbekannt".
QString geburtstagAusFeld(const QDateEdit *feld);
