#pragma once

#include <QString>

// The patient column a search may run on: one of the three searchable
// columns, or an empty text for anything else. The result is always one of
// this program's own literals, never the text passed in, so nothing typed or
// altered elsewhere can reach a statement.
QString suchspalte(const QString &spalte);

// The question asked before a patient is deleted together with the
// patient's intake lines and appointments.
QString patientLoeschenFrage(const QString &name, const QString &vorname, const QString &geburtstag,
                             int zuordnungen, int termine);
