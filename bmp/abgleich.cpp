// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/abgleich.h"

#include "bmp/bmpschreiben.h"
#include "bmp/pzn.h"

#include <cmath>

namespace {

// Case and blanks do not tell two names apart: "Ramipril 5mg" is "ramipril 5 mg".
QString vergleichbar(const QString &text)
{
    QString t = text.toLower();
    t.remove(QLatin1Char(' '));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t;
}

QString staerke(const BmpEintrag &e)
{
    return e.wirkstoffe.isEmpty() ? QString() : e.wirkstoffe.first().staerke;
}

int packungSuchen(const BmpEintrag &e, const QVector<KatalogPackung> &katalog)
{
    if (e.pzn > 0) {
        const QString pzn = pznAusZahl(e.pzn);
        for (const KatalogPackung &k : katalog)
            if (k.pzn == pzn)
                return k.sorte;
    }
    const QString st = vergleichbar(staerke(e));
    const auto staerkePasst = [&](const KatalogPackung &k) { return st.isEmpty() || vergleichbar(k.dosis) == st; };
    if (!e.handelsname.isEmpty()) {
        const QString name = vergleichbar(e.handelsname);
        for (const KatalogPackung &k : katalog)
            if (vergleichbar(k.handelsname) == name && staerkePasst(k))
                return k.sorte;
    }
    if (!e.wirkstoffe.isEmpty()) {
        const QString wirkstoff = vergleichbar(e.wirkstoffe.first().name);
        for (const KatalogPackung &k : katalog)
            if (vergleichbar(k.medizin) == wirkstoff && staerkePasst(k))
                return k.sorte;
    }
    return 0;
}

bool gleicheDosis(const BmpEintrag &e, const VorhandeneZeile &z)
{
    const QString worte = planDosisWorte(e);
    if (!worte.isEmpty() || z.angaben.ohneTagesverbrauch() || !e.hatDosen())
        return worte == z.angaben.dosisText && e.ohneDosis() == z.angaben.ohneDosis &&
               z.angaben.ohneTagesverbrauch() == (!worte.isEmpty() || e.ohneDosis());
    for (int i = 0; i < 4; ++i) {
        const double plan = e.dosen[i].isEmpty() ? 0 : bmpDosisWert(e.dosen[i]).value_or(-1);
        if (std::abs(plan - z.dosen[i]) >= 0.001)
            return false;
    }
    return true;
}

bool dosisInZusatz(const BmpEintrag &e)
{
    return e.wochentag.isEmpty() && e.dosisText == QStringLiteral("siehe n\u00E4chste Zeile") && !e.zusatz.isEmpty();
}

} // namespace

QString planDosisWorte(const BmpEintrag &e)
{
    // A weekly dose has its slots but is never a daily one.
    if (!e.wochentag.isEmpty())
        return wochentagText(e.wochentag.toInt()) + QLatin1Char(' ') + bmpDosisAnzeige(e);
    return dosisInZusatz(e) ? e.zusatz : e.dosisText;
}

QString planZusatz(const BmpEintrag &e)
{
    return dosisInZusatz(e) ? QString() : e.zusatz;
}

QString planDosisText(const BmpEintrag &e)
{
    if (e.ohneDosis())
        return QStringLiteral("ohne Dosisangabe");
    const QString worte = planDosisWorte(e);
    return worte.isEmpty() ? bmpDosisAnzeige(e) : worte;
}

QString zeileDosisText(const VorhandeneZeile &z)
{
    if (z.angaben.ohneTagesverbrauch())
        return z.angaben.dosisAnzeige();
    QStringList teile;
    for (const double d : z.dosen) {
        const std::optional<QString> t = bmpDosisSchreiben(d);
        teile << (!t ? QString::number(d) : t->isEmpty() ? QStringLiteral("0") : *t);
    }
    return teile.join(QLatin1Char('-'));
}

AbgleichErgebnis abgleichen(const BmpPlan &plan, const QVector<VorhandeneZeile> &zeilen,
                            const QVector<KatalogPackung> &katalog)
{
    AbgleichErgebnis a;
    QVector<bool> vergeben(zeilen.size(), false);
    for (const BmpAbschnitt &abschnitt : plan.abschnitte) {
        const QString ueberschrift = abschnitt.code.isEmpty() && abschnitt.titel.isEmpty() ? QString()
                                                                                           : bmpUeberschrift(abschnitt);
        for (const BmpEintrag &e : abschnitt.eintraege) {
            if (e.art != BmpEintrag::medikament) {
                a.texte << e;
                a.texteAbschnitt << ueberschrift;
                continue;
            }
            PlanZeile z;
            z.eintrag = e;
            z.abschnitt = ueberschrift;
            z.neu = planDosisText(e);
            z.sorte = packungSuchen(e, katalog);
            if (z.sorte == 0) {
                const bool nurPzn = e.handelsname.isEmpty() && e.wirkstoffe.isEmpty();
                z.art = nurPzn ? Abgleich::zuordnen : Abgleich::neuePackung;
                a.zeilen << z;
                continue;
            }
            // The first line of that package not taken by an earlier plan line.
            for (int i = 0; i < zeilen.size(); ++i) {
                if (!vergeben.at(i) && zeilen.at(i).sorte == z.sorte) {
                    vergeben[i] = true;
                    z.zeile = i;
                    break;
                }
            }
            if (z.zeile < 0) {
                z.art = Abgleich::neu;
            } else {
                z.bisher = zeileDosisText(zeilen.at(z.zeile));
                z.art = gleicheDosis(e, zeilen.at(z.zeile)) ? Abgleich::unveraendert : Abgleich::geaendert;
            }
            a.zeilen << z;
        }
    }
    for (int i = 0; i < zeilen.size(); ++i)
        if (!vergeben.at(i))
            a.fehlend << i;
    return a;
}
