// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/bmpschreiben.h"

#include "bmp/datamatrix.h"

#include <cmath>

namespace {

QString maskiert(const QString &text)
{
    QString t;
    t.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            t += QLatin1String("&amp;");
            break;
        case '<':
            t += QLatin1String("&lt;");
            break;
        case '>':
            t += QLatin1String("&gt;");
            break;
        case '"':
            t += QLatin1String("&quot;");
            break;
        default:
            t += c;
        }
    }
    return t;
}

// Attributes without a value are left out, as the format wants.
void attribut(QString &xml, const char *name, const QString &wert)
{
    if (wert.isEmpty())
        return;
    xml += QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + maskiert(wert) + QLatin1Char('"');
}

void eintragSchreiben(QString &xml, const BmpEintrag &e)
{
    if (e.art != BmpEintrag::medikament) {
        xml += e.art == BmpEintrag::rezept ? QStringLiteral("<R") : QStringLiteral("<X");
        attribut(xml, "t", e.text);
        if (e.art == BmpEintrag::rezept)
            attribut(xml, "x", e.zusatz);
        xml += QStringLiteral("/>");
        return;
    }
    xml += QStringLiteral("<M");
    attribut(xml, "p", e.pzn > 0 ? QString::number(e.pzn) : QString());
    attribut(xml, "a", e.handelsname);
    attribut(xml, "f", e.formCode);
    attribut(xml, "fd", e.formText);
    static const char *const felder[] = {"m", "d", "v", "h"};
    for (int i = 0; i < 4; ++i)
        attribut(xml, felder[i], e.dosen[i]);
    attribut(xml, "t", e.dosisText);
    attribut(xml, "du", e.einheitCode);
    attribut(xml, "dud", e.einheitText);
    attribut(xml, "i", e.hinweis);
    attribut(xml, "r", e.grund);
    attribut(xml, "x", e.zusatz);
    if (e.wirkstoffe.isEmpty()) {
        xml += QStringLiteral("/>");
        return;
    }
    xml += QLatin1Char('>');
    for (const BmpWirkstoff &w : e.wirkstoffe) {
        xml += QStringLiteral("<W");
        attribut(xml, "w", w.name);
        attribut(xml, "s", w.staerke);
        xml += QStringLiteral("/>");
    }
    xml += QStringLiteral("</M>");
}

} // namespace

std::optional<QString> bmpDosisSchreiben(double wert)
{
    if (wert == 0)
        return QString();
    if (std::abs(wert - 0.5) < 1e-9)
        return QStringLiteral("1/2");
    // Thirds and an eighth have no decimal form the slots allow, but the
    // format knows them as fractions (an imported "1/3" is kept as 1/3).
    for (const char *bruch : {"1/3", "2/3", "1/8"}) {
        const QString text = QString::fromLatin1(bruch);
        if (std::abs(wert - *bmpDosisWert(text)) < 1e-9)
            return text;
    }
    const double hundertstel = std::round(wert * 100);
    if (std::abs(wert * 100 - hundertstel) > 1e-6)
        return std::nullopt;
    QString text = QString::number(hundertstel / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (!bmpDosisWert(text))
        return std::nullopt;
    return text;
}

QString latin1Umschreiben(const QString &text, QString *fremd)
{
    QString t;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u <= 0xFF) {
            t += c;
            continue;
        }
        switch (u) {
        case 0x20AC:
            t += QLatin1String("EUR");
            break;
        case 0x201E:
        case 0x201C:
        case 0x201D:
        case 0x00AB:
        case 0x00BB:
            t += QLatin1Char('"');
            break;
        case 0x201A:
        case 0x2018:
        case 0x2019:
            t += QLatin1Char('\'');
            break;
        case 0x2013:
        case 0x2014:
        case 0x2212:
            t += QLatin1Char('-');
            break;
        case 0x2026:
            t += QLatin1String("...");
            break;
        default:
            if (fremd && !fremd->contains(c))
                *fremd += c;
        }
    }
    return t;
}

QByteArray bmpSchreiben(const BmpPlan &s)
{
    QString xml = QStringLiteral("<MP");
    attribut(xml, "v", s.version);
    attribut(xml, "U", s.instanz);
    if (s.seiten > 1) {
        attribut(xml, "a", QString::number(s.seite));
        attribut(xml, "z", QString::number(s.seiten));
    }
    attribut(xml, "l", QStringLiteral("de-DE"));
    xml += QStringLiteral("><P");
    const BmpPatient &p = s.patient;
    attribut(xml, "g", p.vorname);
    attribut(xml, "f", p.name);
    attribut(xml, "b", p.geburt);
    attribut(xml, "s", p.geschlecht);
    xml += QStringLiteral("/><A");
    const BmpAutor &a = s.autor;
    attribut(xml, "n", a.name);
    attribut(xml, "s", a.strasse);
    attribut(xml, "z", a.plz);
    attribut(xml, "c", a.ort);
    attribut(xml, "p", a.telefon);
    attribut(xml, "e", a.email);
    attribut(xml, "t", a.zeit);
    xml += QStringLiteral("/>");
    const BmpParameter &o = s.parameter;
    if (!o.leer()) {
        xml += QStringLiteral("<O");
        attribut(xml, "ai", o.allergien);
        attribut(xml, "p", o.schwanger ? QStringLiteral("1") : QString());
        attribut(xml, "b", o.stillend ? QStringLiteral("1") : QString());
        attribut(xml, "w", o.gewicht);
        attribut(xml, "h", o.groesse);
        attribut(xml, "c", o.kreatinin);
        attribut(xml, "x", o.text);
        xml += QStringLiteral("/>");
    }
    for (const BmpAbschnitt &abschnitt : s.abschnitte) {
        xml += QStringLiteral("<S");
        attribut(xml, "c", abschnitt.code);
        attribut(xml, "t", abschnitt.titel);
        xml += QLatin1Char('>');
        for (const BmpEintrag &e : abschnitt.eintraege)
            eintragSchreiben(xml, e);
        xml += QStringLiteral("</S>");
    }
    xml += QStringLiteral("</MP>");
    // The caller made every text Latin-1 (latin1Umschreiben).
    return xml.toLatin1();
}

int bmpZeilen(const BmpEintrag &e)
{
    if (e.art != BmpEintrag::medikament)
        return e.zusatz.isEmpty() ? 1 : 2;
    return (e.wirkstoffe.size() == 3 ? 2 : 1) + (e.zusatz.isEmpty() ? 0 : 1);
}

BmpSeiten bmpSeitenTeilen(const BmpPlan &plan)
{
    BmpSeiten ergebnis;
    BmpPlan leer = plan;
    leer.abschnitte.clear();
    // Measured with page numbers, which a multi-page plan carries.
    leer.seite = 1;
    leer.seiten = 2;

    QVector<BmpPlan> seiten{leer};
    int zeilen = 0;
    for (const BmpAbschnitt &abschnitt : plan.abschnitte) {
        const bool ueberschrift = !abschnitt.code.isEmpty() || !abschnitt.titel.isEmpty();
        bool neuerAbschnitt = true;
        for (const BmpEintrag &e : abschnitt.eintraege) {
            for (int versuch = 0; versuch < 2; ++versuch) {
                BmpPlan probe = seiten.last();
                int bedarf = bmpZeilen(e);
                if (neuerAbschnitt || probe.abschnitte.isEmpty()) {
                    BmpAbschnitt kopf = abschnitt;
                    kopf.eintraege.clear();
                    probe.abschnitte.append(kopf);
                    bedarf += ueberschrift ? 1 : 0;
                }
                probe.abschnitte.last().eintraege.append(e);
                const QByteArray code = bmpSchreiben(probe);
                // Below 1000 bytes the symbol stays far under its limit;
                // above, it is measured.
                const bool passt = zeilen + bedarf <= bmpZeilenJeSeite && code.size() <= bmpHoechstBytes &&
                                   (code.size() <= 1000 || dataMatrixModule(code) <= bmpHoechstModule);
                if (passt || versuch == 1 || seiten.last().abschnitte.isEmpty()) {
                    // An entry too large for an empty page still gets one.
                    seiten.last() = probe;
                    zeilen += bedarf;
                    neuerAbschnitt = false;
                    break;
                }
                seiten.append(leer);
                zeilen = 0;
                neuerAbschnitt = true;
            }
        }
    }
    if (seiten.size() > bmpHoechstSeiten) {
        ergebnis.fehler = QStringLiteral("Der Medikationsplan br\u00E4uchte %1 Seiten; mehr als %2 Seiten erlaubt das "
                                         "Format nicht. Bitte weniger Zeilen oder k\u00FCrzere Texte verwenden.")
                              .arg(seiten.size())
                              .arg(bmpHoechstSeiten);
        return ergebnis;
    }
    for (int i = 0; i < seiten.size(); ++i) {
        seiten[i].seite = seiten.size() > 1 ? i + 1 : 0;
        seiten[i].seiten = seiten.size() > 1 ? int(seiten.size()) : 0;
    }
    ergebnis.seiten = seiten;
    return ergebnis;
}
