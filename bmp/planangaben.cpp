// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/planangaben.h"

QString PlanAngaben::dosisAnzeige() const
{
    if (ohneDosis)
        return QStringLiteral("ohne Dosisangabe");
    return dosisText;
}

Reichweite reichweiteOhneTagesdosis(const QString &handelsname, const PlanAngaben &angaben)
{
    Reichweite r;
    r.balkenText = handelsname;
    r.wochenText = angaben.ohneDosis ? QStringLiteral("keine Dosis") : QStringLiteral("Dosis als Text");
    r.hinweis = angaben.ohneDosis
                    ? QStringLiteral("Der Medikationsplan nennt f\u00FCr diese Zeile keine Dosis: Eine Reichweite "
                                     "l\u00E4sst sich nicht berechnen.")
                    : QStringLiteral("Die Dosis steht als Text da (\u201E%1\u201C): Einen t\u00E4glichen Verbrauch "
                                     "und eine Reichweite kann Kalvoria daraus nicht berechnen.")
                          .arg(angaben.dosisText);
    return r;
}

QString wochentagText(int tag)
{
    static const char *const tage[] = {"Montags",  "Dienstags", "Mittwochs", "Donnerstags",
                                       "Freitags", "Samstags",  "Sonntags"};
    return tag >= 1 && tag <= 7 ? QString::fromLatin1(tage[tag - 1]) : QString();
}
