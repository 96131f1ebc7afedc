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
        .arg(name, anzahl(packungen, "Packung", "Packungen"),
             anzahl(zuordnungen, "Zuordnung", "Zuordnungen"), QString::number(patienten));
}

int zeileMitSchluessel(const QTableWidget *tabelle, const QString &schluessel)
{
    for (int z = 0; z < tabelle->rowCount(); ++z) {
        const QTableWidgetItem *i = tabelle->item(z, 0);
        if (i && i->text() == schluessel)
            return z;
    }
    return -1;
}
