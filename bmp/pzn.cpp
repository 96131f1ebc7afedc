// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/pzn.h"

bool pznGueltig(const QString &achtStellen)
{
    if (achtStellen.size() != 8)
        return false;
    int summe = 0;
    for (int i = 0; i < 8; ++i) {
        const QChar c = achtStellen.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (i < 7)
            summe += (i + 1) * c.digitValue();
    }
    const int rest = summe % 11;
    return rest == achtStellen.at(7).digitValue();
}

PznEingabe pznLesen(const QString &text, const QString &feld)
{
    PznEingabe e;
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("PZN"), Qt::CaseInsensitive))
        t = t.mid(3).trimmed();
    if (t.isEmpty())
        return e;
    bool nurZiffern = true;
    for (const QChar c : t)
        nurZiffern = nurZiffern && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!nurZiffern || t.size() != 8) {
        e.fehler = QStringLiteral("%1: \u201E%2\u201C ist keine PZN. Eine PZN hat genau 8 Ziffern, zum Beispiel "
                                  "01234562. Es wurde nichts gespeichert.")
                       .arg(feld, text.trimmed());
        return e;
    }
    if (!pznGueltig(t)) {
        e.fehler = QStringLiteral("%1: Die Pr\u00FCfziffer der PZN \u201E%2\u201C stimmt nicht. Bitte die PZN von "
                                  "der Packung abschreiben. Es wurde nichts gespeichert.")
                       .arg(feld, t);
        return e;
    }
    e.pzn = t;
    return e;
}

QString pznAusZahl(qint64 zahl)
{
    return QStringLiteral("%1").arg(zahl, 8, 10, QLatin1Char('0'));
}
