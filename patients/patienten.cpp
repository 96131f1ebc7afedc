// SPDX-License-Identifier: GPL-3.0-or-later
#include "patients/patienten.h"

#include <QDateEdit>
#include <QStringList>

QString suchspalte(const QString &spalte)
{
    static const QStringList erlaubt{QStringLiteral("firstname"), QStringLiteral("lastname"), QStringLiteral("ort")};
    for (const QString &s : erlaubt) {
        if (s == spalte)
            return s;
    }
    return QString();
}

namespace {
QString anzahl(int n, const char *einzahl, const char *mehrzahl)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? einzahl : mehrzahl);
}
} // namespace

QString patientLoeschenFrage(const QString &name, const QString &vorname, const QString &geburtstag, int zuordnungen,
                             int termine)
{
    return QStringLiteral("Soll der Patient \u201E%1, %2\u201C (*%3) gel\u00F6scht werden?\n\n"
                          "Dabei werden auch %4 und %5 des Patienten gel\u00F6scht.")
        .arg(name, vorname, geburtstag, anzahl(zuordnungen, "zugeordnetes Medikament", "zugeordnete Medikamente"),
             anzahl(termine, "Arzttermin", "Arzttermine"));
}

namespace {
const QString geburtstagFormat = QStringLiteral("dd.MM.yyyy");
} // namespace

void geburtstagsfeldEinrichten(QDateEdit *feld)
{
    // A day no living patient was born on stands for "not known"; the arrow
    // keys and the calendar lead from it to real dates.
    feld->setMinimumDate(QDate(1900, 1, 1));
    feld->setSpecialValueText(QStringLiteral("unbekannt"));
    feld->setDate(feld->minimumDate());
}

QDate geburtstagFuerFeld(const QString &gespeichert, const QDateEdit *feld)
{
    const QDate datum = QDate::fromString(gespeichert, geburtstagFormat);
    if (!datum.isValid() || datum <= feld->minimumDate() || datum > feld->maximumDate())
        return feld->minimumDate();
    return datum;
}

QString geburtstagAusFeld(const QDateEdit *feld)
{
    // Not a null string, which Qt binds as NULL.
    return feld->date() == feld->minimumDate() ? QStringLiteral("") : feld->date().toString(geburtstagFormat);
}
