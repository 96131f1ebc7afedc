// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/bestand.h"

#include "text/textformat.h"

#include <QLocale>

#include <cmath>

Bestand bestandBerechnen(float stand, float morgen, float mittag, float abend, float nacht, const QDate &tag,
                         const QDate &heute)
{
    Bestand b;
    b.verbrauch = ((morgen + mittag) + abend) + nacht;
    b.tage = tag.isValid() ? static_cast<qint32>(tag.daysTo(heute)) : 0;
    const float verbraucht = static_cast<float>(b.tage) * b.verbrauch;
    b.heute = stand - verbraucht;
    b.reichweite = static_cast<double>(b.heute) / static_cast<double>(b.verbrauch);
    return b;
}

QString bestandText(double wert)
{
    const QString g = QString::number(wert, 'g', 6);
    if (!std::isfinite(wert) || !g.contains(QLatin1Char('e')))
        return g;
    // 'g' writes an exponent from 1e6 up, where six digits leave no
    // decimals, and below 1e-4, which is no stock worth a figure.
    const double gerundet = g.toDouble();
    return std::abs(gerundet) < 1 ? QStringLiteral("0") : QString::number(gerundet, 'f', 0);
}

QString ungueltigText()
{
    return QStringLiteral("ung\u00FCltig");
}

QString dosisText(const QString &dosis, const QString &fehler)
{
    // A dose that cannot be read must not be given as 0 or as a figure.
    return fehler.isEmpty() ? mengeFormatieren(dosis.toFloat()) : ungueltigText();
}

bool gespeichertGueltig(const QVariant &wert, const Zahlbereich &bereich)
{
    const int typ = wert.userType();
    if (wert.isNull() || (typ != QMetaType::Double && typ != QMetaType::LongLong && typ != QMetaType::Int))
        return false;
    const double zahl = wert.toDouble();
    return zahl >= bereich.von && zahl <= bereich.bis;
}

QString gespeichertPruefen(const QString &name, const QVariant &wert, const Zahlbereich &bereich)
{
    if (gespeichertGueltig(wert, bereich))
        return QString();
    if (wert.isNull())
        return name + QStringLiteral(" fehlt");
    // Text the column could not take as a number ("1,5", "viel") stays text.
    const int typ = wert.userType();
    if (typ != QMetaType::Double && typ != QMetaType::LongLong && typ != QMetaType::Int)
        return name + QStringLiteral(" \u201E%1\u201C ist keine Zahl").arg(wert.toString());
    const double zahl = wert.toDouble();
    return name + QStringLiteral(" %1 liegt au\u00DFerhalb von %2 bis %3")
                      .arg(QString::number(zahl, 'g', QLocale::FloatingPointShortest), zahlText(bereich.von),
                           zahlText(bereich.bis));
}

namespace {

// "yyyy-MM-dd" written as the program writes it, and a day of the calendar:
// the day the format parser and QVariant::toDate would give, at a fraction
// of their cost, which a list of every patient's lines would pay per line;
// an invalid date for anything else, which is left to the parsers.
QDate kanonischesDatum(const QVariant &wert)
{
    if (wert.userType() != QMetaType::QString)
        return QDate();
    // The text in place, not a copy.
    const QString &text = *static_cast<const QString *>(wert.constData());
    if (text.size() != 10)
        return QDate();
    const ushort *z = text.utf16();
    if (z[4] != '-' || z[7] != '-')
        return QDate();
    int teile[3] = {0, 0, 0};
    const int von[3] = {0, 5, 8}, bis[3] = {4, 7, 10};
    for (int t = 0; t < 3; ++t) {
        for (int i = von[t]; i < bis[t]; ++i) {
            if (z[i] < '0' || z[i] > '9')
                return QDate();
            teile[t] = teile[t] * 10 + (z[i] - '0');
        }
    }
    return QDate(teile[0], teile[1], teile[2]);
}

// The verdict of tagPruefen and, for a valid day, the day tagLesen reads,
// from one look at the text.
bool tagPruefenUndLesen(const QVariant &tag, QDate *tagDatum)
{
    if (tag.isNull() || tag.userType() != QMetaType::QString)
        return false;
    const QDate kanonisch = kanonischesDatum(tag);
    if (kanonisch.isValid()) {
        *tagDatum = kanonisch;
        return true;
    }
    if (!QDate::fromString(tag.toString(), QStringLiteral("yyyy-MM-dd")).isValid())
        return false;
    *tagDatum = tag.toDate();
    return true;
}

} // namespace

bool tagGueltig(const QVariant &tag)
{
    QDate tagDatum;
    return tagPruefenUndLesen(tag, &tagDatum);
}

QString tagPruefen(const QVariant &tag)
{
    if (tagGueltig(tag))
        return QString();
    const QString name = QStringLiteral("Datum des Bestands");
    if (tag.isNull())
        return name + QStringLiteral(" fehlt");
    return name + QStringLiteral(" \u201E%1\u201C ist kein Datum").arg(tag.toString());
}

QDate tagLesen(const QVariant &tag)
{
    const QDate tagDatum = kanonischesDatum(tag);
    return tagDatum.isValid() ? tagDatum : tag.toDate();
}

Zeilenpruefung zeilePruefen(const QVariant &stand, const QVariant &tag, const QVariantList &dosen)
{
    // Made once: the check runs for every line of every patient.
    static const QString bestand = QStringLiteral("Bestand");
    static const QString zeiten[] = {QStringLiteral("Dosis Morgen"), QStringLiteral("Dosis Mittag"),
                                     QStringLiteral("Dosis Abend"), QStringLiteral("Dosis Nacht")};
    static const QStringList gueltig{QString(), QString(), QString(), QString()};
    Zeilenpruefung p;
    QString gruende[6] = {gespeichertPruefen(bestand, stand, Bereich::bestand), tagPruefen(tag)};
    bool alleGueltig = gruende[0].isEmpty() && gruende[1].isEmpty();
    for (int i = 0; i < 4; ++i) {
        gruende[2 + i] = gespeichertPruefen(zeiten[i], dosen.value(i), Bereich::dosis);
        alleGueltig = alleGueltig && gruende[2 + i].isEmpty();
    }
    // A valid line, the usual case, shares its empty texts.
    if (alleGueltig) {
        p.dosen = gueltig;
        return p;
    }
    QStringList fehler;
    for (int i = 0; i < 6; ++i) {
        if (i >= 2)
            p.dosen << gruende[i];
        if (!gruende[i].isEmpty())
            fehler << gruende[i];
    }
    p.fehler = fehler.join(QLatin1Char('\n'));
    return p;
}

bool zeileGueltig(const QVariant &stand, const QVariant &tag, const Dosen &dosen, QDate *tagDatum)
{
    for (const QVariant &dosis : dosen) {
        if (!gespeichertGueltig(dosis, Bereich::dosis))
            return false;
    }
    QDate gelesen;
    if (!gespeichertGueltig(stand, Bereich::bestand) || !tagPruefenUndLesen(tag, &gelesen))
        return false;
    if (tagDatum)
        *tagDatum = gelesen;
    return true;
}

Reichweite reichweiteUngueltig(const QString &handelsname, const QString &fehler)
{
    Reichweite r;
    r.ungueltig = true;
    r.wochenText = ungueltigText();
    r.reichtBisText = ungueltigText();
    r.balkenText = handelsname;
    r.hinweis = fehler;
    return r;
}

float tagesverbrauch(const QString &morgen, const QString &mittag, const QString &abend, const QString &nacht)
{
    return ((morgen.toFloat() + mittag.toFloat()) + abend.toFloat()) + nacht.toFloat();
}

Reichweite reichweiteZahlen(const QString &reichweiteText, float verbrauch, const QDate &heute,
                            const QDate &hausarztTermin)
{
    Reichweite r;
    // Without consumption (aids, paused medication) the quotient is inf or
    // nan: such a line needs no warning, and must not raise one.
    if (!(verbrauch > 0)) {
        r.ohneVerbrauch = true;
        r.balken = 100;
        return r;
    }

    r.tage = reichweiteText.toFloat();
    if (!std::isfinite(r.tage))
        r.tage = 0; // as any other text that is no number
    r.wochen = r.tage / 7.0f;
    // The last day with stock: truncation, not rounding, so a part day left
    // over is not counted as a day of supply.
    // Bounded so that absurd stocks cannot overflow the conversion.
    r.reichtBis = heute.addDays(static_cast<qint64>(qBound(-1.0e7f, r.tage - 1.0f, 1.0e7f)));
    // A used-up stock gives a negative value, which the bar would refuse
    // and then hide the trade name of the very line that matters most.
    r.balken = r.tage > 60.0f ? 100 : qMax(0, static_cast<int>(static_cast<double>(r.tage) * 1.66));

    r.gelb = r.wochen < 4.0f;
    r.rot = hausarztTermin.isValid() && heute <= hausarztTermin && r.reichtBis < hausarztTermin;
    return r;
}

Reichweite reichweiteBerechnen(const QString &reichweiteText, float verbrauch, const QString &handelsname,
                               const QDate &heute, const QDate &hausarztTermin)
{
    Reichweite r = reichweiteZahlen(reichweiteText, verbrauch, heute, hausarztTermin);
    r.balkenText = handelsname;
    if (r.ohneVerbrauch) {
        r.wochenText = umlauteErsetzen(QStringLiteral("unbegrenzt"));
        r.hinweis = umlauteErsetzen(QStringLiteral("kein t:ae:glicher Verbrauch"));
        return r;
    }
    r.wochenText = QString::number(static_cast<double>(r.wochen), 'f', 1) + QStringLiteral(" Wochen");
    r.reichtBisText = r.reichtBis.toString(QStringLiteral("dd.MM.yyyy"));
    if (r.tage > 60.0f)
        r.hinweis = umlauteErsetzen(QStringLiteral("reicht noch :ue:ber 60 Tage"));
    else
        r.hinweis = QStringLiteral("reicht noch ") + QString::number(static_cast<double>(r.tage), 'g', 6) +
                    QStringLiteral(" Tage");
    return r;
}

std::optional<ReichweiteTage> reichweiteOhneText(double reichweite, float verbrauch, const QDate &heute)
{
    // Six digits without exponent (from 1e-4 to below 1e6, here narrower)
    // move the range by at most 5e-6 of it; reading the text back as single
    // precision and taking one day off round twice more, by 2^-24 each.
    const double betrag = std::abs(reichweite);
    if (!(verbrauch > 0) || !(reichweite == 0 || (betrag >= 1e-3 && betrag < 1e5)))
        return std::nullopt;
    const double spiel = 6e-6 * betrag + 1e-6;
    ReichweiteTage r;
    const double letzter = reichweite - 1;
    const double ganz = std::floor(letzter);
    // A whole range below 1e5 is written and read back exactly; any other
    // must stay between the same two whole days, where the truncation of
    // reichweiteZahlen gives one and the same day.
    if (letzter == ganz)
        r.reichtBis = heute.addDays(static_cast<qint64>(letzter));
    else if (letzter - spiel > ganz && letzter + spiel < ganz + 1)
        r.reichtBis = heute.addDays(static_cast<qint64>(std::trunc(letzter)));
    else
        return std::nullopt;
    // Four weeks as reichweiteZahlen compares them: 28 / 7 is exactly 4.
    if (reichweite + spiel < 28)
        r.gelb = true;
    else if (reichweite - spiel >= 28)
        r.gelb = false;
    else
        return std::nullopt;
    return r;
}

bool reichtGewissBis(double reichweite, qint64 tage)
{
    // The cached text keeps six digits, which moves a range of fewer than
    // 200000 days by less than half a day; the last day with stock is the
    // range less one, truncated. Two days more than asked are thus a last
    // day at today + tage or later, whatever the rounding.
    return tage >= 0 && tage < 100000 && reichweite >= static_cast<double>(tage) + 2.0;
}
