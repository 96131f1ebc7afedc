// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/katalog.h"

#include <QTableWidget>

namespace {
QString anzahl(int n, const char *einzahl, const char *mehrzahl)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? einzahl : mehrzahl);
}
} // namespace

QString medikamentLoeschenFrage(const QString &name, int packungen, int zuordnungen, int patienten)
{
    // "bei 1 Patienten" and "bei 2 Patienten": the dative is the same.
    return QStringLiteral("Soll das Medikament \u201E%1\u201C gel\u00F6scht werden?\n\n"
                          "Dabei werden auch %2 und %3 bei %4 Patienten gel\u00F6scht.")
        .arg(name, anzahl(packungen, "Packung", "Packungen"), anzahl(zuordnungen, "Zuordnung", "Zuordnungen"),
             QString::number(patienten));
}

QString sorteLoeschenFrage(const QString &handelsname, const QString &dosis, int zuordnungen, int patienten)
{
    QString packung = QStringLiteral("\u201E%1\u201C").arg(handelsname);
    if (!dosis.isEmpty())
        packung += QStringLiteral(" (%1)").arg(dosis);
    const QString frage = QStringLiteral("Soll die Packung %1 gel\u00F6scht werden?\n\n").arg(packung);
    if (zuordnungen == 0)
        return frage + QStringLiteral("Sie wird in keiner Zuordnung verwendet.");
    const bool eine = zuordnungen == 1;
    return frage +
           QStringLiteral("Sie wird in %1 bei %2 Patienten verwendet. %3 erhalten, %4 danach aber kein "
                          "Medikament mehr an.")
               .arg(anzahl(zuordnungen, "Zuordnung", "Zuordnungen"), QString::number(patienten),
                    eine ? QStringLiteral("Diese Zuordnung bleibt") : QStringLiteral("Diese Zuordnungen bleiben"),
                    eine ? QStringLiteral("zeigt") : QStringLiteral("zeigen"));
}
