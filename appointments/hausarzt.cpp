// SPDX-License-Identifier: GPL-3.0-or-later
#include "appointments/hausarzt.h"

bool hausarztTerminAb(const QVariant &arzt, const QVariant &datum, const QByteArray &heuteText)
{
    return arzt.userType() == QMetaType::QString && arzt.toString() == QLatin1String("Hausarzt") &&
           datum.userType() == QMetaType::QString && datum.toString().toUtf8() >= heuteText;
}

// typeof keeps numbers and blobs out, which SQLite orders around the texts;
// min() over the texts left is the first in the order of ORDER BY arzt_date.
const char *const naechsteHausarztTermine =
    "SELECT pata_id, min(arzt_date) FROM termine WHERE typeof(arzt) = 'text' AND arzt = 'Hausarzt' AND "
    "typeof(arzt_date) = 'text' AND arzt_date >= :heute GROUP BY pata_id";
