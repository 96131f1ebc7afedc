// SPDX-License-Identifier: GPL-3.0-or-later
#include "appointments/hausarzt.h"

#include <QString>

bool hausarztTerminAb(const QVariant &arzt, const QVariant &datum, const QByteArray &heuteText)
{
    return arzt.userType() == QMetaType::QString && arzt.toString() == QLatin1String("Hausarzt") &&
           datum.userType() == QMetaType::QString && datum.toString().toUtf8() >= heuteText;
}

// Only texts count: SQLite orders numbers and blobs around them; min() over
// the texts left is the first in the order of ORDER BY arzt_date.
QString naechsteHausarztTermine(Datenbankart art)
{
    return QStringLiteral("SELECT pata_id, min(arzt_date) FROM termine WHERE %1 AND arzt = 'Hausarzt' AND %2 AND "
                          "arzt_date >= :heute GROUP BY pata_id")
        .arg(Dialekt::istText(art, QStringLiteral("arzt")), Dialekt::istText(art, QStringLiteral("arzt_date")));
}
