#include "patients/patienten.h"

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

QString patientLoeschenFrage(const QString &name, const QString &vorname, const QString &geburtstag,
                             int zuordnungen, int termine)
{
    return QStringLiteral("Soll der Patient \u201E%1, %2\u201C (*%3) gel\u00F6scht werden?\n\n"
                          "Dabei werden auch %4 und %5 des Patienten gel\u00F6scht.")
        .arg(name, vorname, geburtstag,
             anzahl(zuordnungen, "zugeordnetes Medikament", "zugeordnete Medikamente"),
             anzahl(termine, "Arzttermin", "Arzttermine"));
}
