// SPDX-License-Identifier: GPL-3.0-or-later
#include "bmp/bmplesen.h"

#include "bmp/pzn.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>

namespace {

// Whether the bytes are UTF-8 with at least one character of several bytes:
// a writer that ignored the format's Latin-1 left them so.
bool utf8MitUmlauten(const QByteArray &bytes, bool *gueltig = nullptr)
{
    bool mehrbyte = false;
    for (int i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        int folge = 0;
        if (b < 0x80)
            folge = 0;
        else if ((b & 0xE0) == 0xC0 && b >= 0xC2)
            folge = 1;
        else if ((b & 0xF0) == 0xE0)
            folge = 2;
        else if ((b & 0xF8) == 0xF0 && b <= 0xF4)
            folge = 3;
        else {
            if (gueltig)
                *gueltig = false;
            return false;
        }
        for (int k = 1; k <= folge; ++k) {
            if (i + k >= bytes.size() || (static_cast<unsigned char>(bytes.at(i + k)) & 0xC0) != 0x80) {
                if (gueltig)
                    *gueltig = false;
                return false;
            }
        }
        mehrbyte = mehrbyte || folge > 0;
        i += folge + 1;
    }
    if (gueltig)
        *gueltig = true;
    return mehrbyte;
}

const char *const zeitNamen[] = {"morgens", "mittags", "abends", "zur Nacht"};

class Leser
{
public:
    explicit Leser(const QString &text) : x(text) {}

    BmpLesung lesen()
    {
        BmpLesung l;
        BmpPlan plan;
        if (!x.readNextStartElement() || x.name() != QLatin1String("MP")) {
            l.fehler = x.hasError() && x.name() == QLatin1String("MP")
                           ? xmlFehler()
                           : QStringLiteral("Das ist kein Medikationsplan (BMP): Der Inhalt beginnt nicht mit "
                                            "\u201E<MP\u201C.");
            return l;
        }
        planLesen(plan);
        if (fehler.isEmpty() && x.hasError())
            fehler = xmlFehler();
        // Nothing may follow the plan.
        while (fehler.isEmpty() && !x.atEnd()) {
            x.readNext();
            if (x.hasError())
                fehler = xmlFehler();
            else if (x.isStartElement() || (x.isCharacters() && !x.isWhitespace()))
                fehler = QStringLiteral("Hinter dem Ende des Plans (\u201E</MP>\u201C) steht noch etwas.");
        }
        if (!fehler.isEmpty()) {
            l.fehler = fehler;
            return l;
        }
        l.plan = plan;
        l.hinweise = hinweise;
        return l;
    }

private:
    QXmlStreamReader x;
    QString fehler;
    QStringList hinweise;

    QString xmlFehler() const
    {
        return QStringLiteral("Der Inhalt ist kein g\u00FCltiges XML (Zeile %1, Spalte %2: %3).")
            .arg(x.lineNumber())
            .arg(x.columnNumber())
            .arg(x.errorString());
    }

    bool scheitern(const QString &text)
    {
        if (fehler.isEmpty())
            fehler = text;
        return false;
    }

    // The attribute's value; an attribute given without one breaks the
    // format's rule that every text has at least one character.
    QString wert(const QString &wo, const char *name, bool noetig = false, int hoechstens = 0)
    {
        const QXmlStreamAttributes a = x.attributes();
        const QString n = QString::fromLatin1(name);
        if (!a.hasAttribute(n)) {
            if (noetig)
                scheitern(QStringLiteral("%1: Die Angabe \u201E%2\u201C fehlt.").arg(wo, n));
            return QString();
        }
        const QString w = a.value(n).toString();
        if (w.isEmpty())
            scheitern(QStringLiteral("%1: Die Angabe \u201E%2\u201C ist leer.").arg(wo, n));
        else if (hoechstens > 0 && w.size() > hoechstens)
            scheitern(QStringLiteral("%1: Die Angabe \u201E%2\u201C ist l\u00E4nger als %3 Zeichen.")
                          .arg(wo, n)
                          .arg(hoechstens));
        return w;
    }

    void planLesen(BmpPlan &plan)
    {
        const QString wo = QStringLiteral("Plan");
        plan.version = wert(wo, "v", true);
        if (!fehler.isEmpty())
            return;
        if (!bmpVersionBekannt(plan.version)) {
            scheitern(QStringLiteral("Der Plan hat die Version \u201E%1\u201C. Kalvoria liest die Versionen 2.4 "
                                     "bis 2.8 (\u201E024\u201C bis \u201E028\u201C).")
                          .arg(plan.version));
            return;
        }
        plan.instanz = wert(wo, "U", true);
        static const QRegularExpression guid(QStringLiteral("^[0-9A-F]{32}$"));
        if (fehler.isEmpty() && !guid.match(plan.instanz).hasMatch())
            scheitern(QStringLiteral("Die Kennung des Plans (\u201EU\u201C) ist keine Folge von 32 Hex-Ziffern."));
        const QString a = wert(wo, "a"), z = wert(wo, "z");
        if (!a.isEmpty() || !z.isEmpty()) {
            plan.seite = a.toInt();
            plan.seiten = z.toInt();
            if (plan.seiten < 2 || plan.seiten > 5 || plan.seite < 1 || plan.seite > plan.seiten)
                scheitern(QStringLiteral("Die Seitenangabe \u201ESeite %1 von %2\u201C ist ung\u00FCltig.").arg(a, z));
        }
        int p = 0, au = 0, o = 0, s = 0;
        while (fehler.isEmpty() && x.readNextStartElement()) {
            const auto name = x.name();
            if (name == QLatin1String("P")) {
                if (++p > 1 || au || o || s)
                    scheitern(QStringLiteral("Der Plan nennt den Patienten mehr als einmal oder an falscher "
                                             "Stelle."));
                patientLesen(plan.patient);
            } else if (name == QLatin1String("A")) {
                if (++au > 1 || o || s)
                    scheitern(QStringLiteral("Der Plan nennt den Aussteller mehr als einmal oder an falscher "
                                             "Stelle."));
                autorLesen(plan.autor);
            } else if (name == QLatin1String("O")) {
                if (++o > 1 || s)
                    scheitern(QStringLiteral("Der Plan hat die Parameter mehr als einmal oder an falscher Stelle."));
                parameterLesen(plan.parameter);
            } else if (name == QLatin1String("S")) {
                if (++s > 23)
                    scheitern(QStringLiteral("Der Plan hat mehr als 23 Abschnitte."));
                plan.abschnitte.append(abschnittLesen(s));
            } else {
                unbekannt(QStringLiteral("Plan"));
            }
        }
        if (fehler.isEmpty() && !x.hasError() && (p == 0 || au == 0))
            scheitern(p == 0 ? QStringLiteral("Der Plan nennt keinen Patienten (\u201EP\u201C fehlt).")
                             : QStringLiteral("Der Plan nennt keinen Aussteller (\u201EA\u201C fehlt)."));
    }

    void unbekannt(const QString &wo)
    {
        scheitern(QStringLiteral("%1: Das Element \u201E%2\u201C kennt der Medikationsplan nicht.")
                      .arg(wo, x.name().toString()));
    }

    // Elements without children of their own.
    void ohneKinder(const QString &wo)
    {
        if (x.readNextStartElement())
            unbekannt(wo);
    }

    void patientLesen(BmpPatient &p)
    {
        const QString wo = QStringLiteral("Patient");
        p.vorname = wert(wo, "g", true, 45);
        p.name = wert(wo, "f", true, 45);
        p.geburt = wert(wo, "b", true);
        p.titel = wert(wo, "t", false, 20);
        p.vorsatz = wert(wo, "v", false, 20);
        p.zusatz = wert(wo, "z", false, 20);
        p.versichertennummer = wert(wo, "egk");
        p.geschlecht = wert(wo, "s");
        // Day 00, or day and month 0000, stand for unknown parts.
        static const QRegularExpression datum(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
        const QRegularExpressionMatch m = datum.match(p.geburt);
        const int monat = m.captured(2).toInt(), tag = m.captured(3).toInt();
        if (fehler.isEmpty() && (!m.hasMatch() || monat > 12 || tag > 31 || (monat == 0 && tag != 0) ||
                                 (monat > 0 && tag > 0 && !QDate(m.captured(1).toInt(), monat, tag).isValid())))
            scheitern(QStringLiteral("Patient: Das Geburtsdatum \u201E%1\u201C ist kein Datum der Form JJJJMMTT.")
                          .arg(p.geburt));
        ohneKinder(wo);
    }

    void autorLesen(BmpAutor &a)
    {
        const QString wo = QStringLiteral("Aussteller");
        a.name = wert(wo, "n", true, 80);
        a.zeit = wert(wo, "t", true);
        a.lanr = wert(wo, "lanr");
        a.idf = wert(wo, "idf");
        a.kik = wert(wo, "kik");
        a.strasse = wert(wo, "s");
        a.plz = wert(wo, "z");
        a.ort = wert(wo, "c");
        a.telefon = wert(wo, "p");
        a.email = wert(wo, "e");
        if (fehler.isEmpty() && !QDateTime::fromString(a.zeit, QStringLiteral("yyyy-MM-ddTHH:mm:ss")).isValid())
            scheitern(QStringLiteral("Aussteller: Der Zeitpunkt des Ausdrucks \u201E%1\u201C ist ung\u00FCltig.")
                          .arg(a.zeit));
        ohneKinder(wo);
    }

    void parameterLesen(BmpParameter &o)
    {
        const QString wo = QStringLiteral("Parameter");
        o.allergien = wert(wo, "ai");
        o.schwanger = wert(wo, "p") == QLatin1String("1");
        o.stillend = wert(wo, "b") == QLatin1String("1");
        o.gewicht = wert(wo, "w");
        o.groesse = wert(wo, "h");
        o.kreatinin = wert(wo, "c");
        o.text = wert(wo, "x");
        ohneKinder(wo);
    }

    BmpAbschnitt abschnittLesen(int nummer)
    {
        BmpAbschnitt s;
        const QString wo = QStringLiteral("Abschnitt %1").arg(nummer);
        s.code = wert(wo, "c");
        s.titel = wert(wo, "t", false, 50);
        if (!s.code.isEmpty() && !s.titel.isEmpty())
            scheitern(QStringLiteral("%1 hat eine \u00DCberschrift als Schl\u00FCssel und als Text.").arg(wo));
        if (!s.code.isEmpty() && bmpAbschnittText(s.code).isEmpty())
            hinweise << QStringLiteral("%1: Die \u00DCberschrift mit dem Schl\u00FCssel \u201E%2\u201C ist "
                                       "unbekannt und wird so gezeigt.")
                            .arg(wo, s.code);
        while (fehler.isEmpty() && x.readNextStartElement()) {
            const QString name = x.name().toString();
            const QString eintragWo = QStringLiteral("%1, Zeile %2").arg(wo).arg(s.eintraege.size() + 1);
            if (s.eintraege.size() >= 45)
                scheitern(QStringLiteral("%1 hat mehr als 45 Zeilen.").arg(wo));
            else if (name == QLatin1String("M"))
                s.eintraege.append(medikamentLesen(eintragWo));
            else if (name == QLatin1String("X") || name == QLatin1String("R"))
                s.eintraege.append(textLesen(eintragWo, name == QLatin1String("R")));
            else
                unbekannt(wo);
        }
        return s;
    }

    BmpEintrag textLesen(const QString &wo, bool rezept)
    {
        BmpEintrag e;
        e.art = rezept ? BmpEintrag::rezept : BmpEintrag::freitext;
        e.text = wert(wo, "t", true, 200);
        if (rezept)
            e.zusatz = wert(wo, "x", false, 200);
        ohneKinder(wo);
        return e;
    }

    BmpEintrag medikamentLesen(const QString &wo)
    {
        BmpEintrag e;
        const QString pzn = wert(wo, "p");
        if (!pzn.isEmpty()) {
            bool zahl = false;
            e.pzn = pzn.toLongLong(&zahl);
            static const QRegularExpression ziffern(QStringLiteral("^[1-9]\\d{0,7}$"));
            if (!ziffern.match(pzn).hasMatch() || !zahl)
                scheitern(QStringLiteral("%1: \u201E%2\u201C ist keine PZN.").arg(wo, pzn));
            else if (!pznGueltig(pznAusZahl(e.pzn)))
                scheitern(
                    QStringLiteral("%1: Die Pr\u00FCfziffer der PZN %2 stimmt nicht.").arg(wo, pznAusZahl(e.pzn)));
        }
        e.handelsname = wert(wo, "a", false, 50);
        e.formCode = wert(wo, "f");
        e.formText = wert(wo, "fd");
        static const char *const felder[] = {"m", "d", "v", "h"};
        for (int i = 0; i < 4; ++i) {
            e.dosen[i] = wert(wo, felder[i]);
            if (!e.dosen[i].isEmpty() && !bmpDosisWert(e.dosen[i]))
                scheitern(QStringLiteral("%1: Die Dosis %2 \u201E%3\u201C ist keine g\u00FCltige Angabe (erlaubt "
                                         "sind etwa 1, 1/2, 0,5 oder 2,5).")
                              .arg(wo, QLatin1String(zeitNamen[i]), e.dosen[i]));
        }
        e.dosisText = wert(wo, "t", false, 20);
        e.wochentag = wert(wo, "wo");
        e.einheitCode = wert(wo, "du");
        e.einheitText = wert(wo, "dud");
        e.hinweis = wert(wo, "i");
        e.grund = wert(wo, "r");
        e.zusatz = wert(wo, "x");
        if (!e.dosisText.isEmpty() && e.hatDosen())
            scheitern(QStringLiteral("%1: Die Zeile gibt die Dosis zugleich als Text und als Schema an; "
                                     "welche gilt, ist nicht zu erkennen.")
                          .arg(wo));
        if (!e.formCode.isEmpty() && !e.formText.isEmpty())
            scheitern(
                QStringLiteral("%1: Die Darreichungsform steht zugleich als Schl\u00FCssel und als Text da.").arg(wo));
        if (!e.einheitCode.isEmpty() && !e.einheitText.isEmpty())
            scheitern(QStringLiteral("%1: Die Einheit steht zugleich als Schl\u00FCssel und als Text da.").arg(wo));
        if (!e.wochentag.isEmpty() && (!e.hatDosen() || e.wochentag.size() != 1 || e.wochentag < QLatin1String("1") ||
                                       e.wochentag > QLatin1String("7")))
            scheitern(QStringLiteral("%1: Der Wochentag \u201E%2\u201C ist ung\u00FCltig.").arg(wo, e.wochentag));
        if (!e.einheitCode.isEmpty() && bmpEinheitText(e.einheitCode).isEmpty())
            hinweise << QStringLiteral("%1: Die Einheit mit dem Schl\u00FCssel \u201E%2\u201C ist unbekannt und "
                                       "wird so gezeigt.")
                            .arg(wo, e.einheitCode);
        if (!e.formCode.isEmpty() && bmpFormText(e.formCode).isEmpty() && e.formCode.size() == 3)
            hinweise << QStringLiteral("%1: Die Darreichungsform \u201E%2\u201C ist unbekannt und wird so "
                                       "gezeigt.")
                            .arg(wo, e.formCode);
        while (fehler.isEmpty() && x.readNextStartElement()) {
            if (x.name() != QLatin1String("W") || e.wirkstoffe.size() >= 3) {
                if (x.name() == QLatin1String("W"))
                    scheitern(QStringLiteral("%1: Mehr als drei Wirkstoffe.").arg(wo));
                else
                    unbekannt(wo);
                break;
            }
            BmpWirkstoff w;
            w.name = wert(wo, "w", true, 80);
            w.staerke = wert(wo, "s", false, 15);
            e.wirkstoffe.append(w);
            ohneKinder(wo);
        }
        if (fehler.isEmpty() && e.pzn == 0 && e.handelsname.isEmpty() && e.wirkstoffe.isEmpty() &&
            e.dosisText.isEmpty() && !e.hatDosen())
            scheitern(QStringLiteral("%1: Die Zeile ist leer.").arg(wo));
        return e;
    }
};

// The characters a code may hold: none below 32 but tab and line ends of a
// stored, indented file, and no 127.
bool steuerzeichenFrei(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u < 32 && u != '\t' && u != '\n' && u != '\r') || u == 127)
            return false;
    }
    return true;
}

// The size the page's code would have: without prolog, DOCTYPE and the
// line breaks and indents a stored file adds between elements.
int codeGroesse(const QString &text)
{
    static const QRegularExpression kopf(QStringLiteral("^\\s*(<\\?xml[^>]*\\?>)?\\s*(<!DOCTYPE[^>]*>)?\\s*"));
    static const QRegularExpression zwischen(QStringLiteral(">\\s+<"));
    static const QRegularExpression innen(QStringLiteral("\\s+"));
    QString kompakt = text;
    kompakt.remove(kopf).replace(zwischen, QStringLiteral("><")).replace(innen, QStringLiteral(" "));
    return kompakt.trimmed().size();
}

const QString zuGross = QStringLiteral("Der Inhalt ist mit %1 Bytes viel gr\u00F6\u00DFer, als ein Code des "
                                       "Medikationsplans fassen kann (h\u00F6chstens 1400 Bytes).");

} // namespace

BmpLesung bmpTextLesen(const QString &text)
{
    BmpLesung l;
    if (text.size() > bmpHoechstEingabe) {
        l.fehler = zuGross.arg(text.size());
        return l;
    }
    if (!steuerzeichenFrei(text)) {
        l.fehler = QStringLiteral("Der Inhalt enth\u00E4lt Steuerzeichen, die ein Medikationsplan nicht enthalten "
                                  "kann: Er ist falsch kodiert oder kein Medikationsplan.");
        return l;
    }
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            l.fehler = QStringLiteral("Der Inhalt enth\u00E4lt das Zeichen \u201E%1\u201C, das es im Zeichensatz "
                                      "des Medikationsplans (ISO-8859-1) nicht gibt: Er ist falsch kodiert.")
                           .arg(c);
            return l;
        }
    }
    l = Leser(text).lesen();
    const int groesse = codeGroesse(text);
    if (l.plan && groesse > bmpHoechstBytes)
        l.hinweise.prepend(QStringLiteral("Der Plan ist mit %1 Bytes gr\u00F6\u00DFer, als ein Code fassen darf "
                                          "(1400 Bytes); er stammt wohl nicht aus einem gedruckten Code.")
                               .arg(groesse));
    return l;
}

BmpLesung bmpLesen(const QByteArray &bytes)
{
    BmpLesung l;
    if (bytes.size() > bmpHoechstEingabe) {
        l.fehler = zuGross.arg(bytes.size());
        return l;
    }
    // The format is ISO-8859-1 without a prolog; a stored file may name its
    // encoding in one.
    static const QRegularExpression prolog(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']+)[\"']"));
    const QString anfang = QString::fromLatin1(bytes.left(200));
    const QString kodierung = prolog.match(anfang).captured(1).toLower();
    bool gueltigesUtf8 = false;
    const bool utf8 = utf8MitUmlauten(bytes, &gueltigesUtf8);
    QString text;
    if (kodierung == QLatin1String("utf-8") || kodierung == QLatin1String("utf8")) {
        if (!gueltigesUtf8) {
            l.fehler = QStringLiteral("Der Inhalt gibt UTF-8 als Kodierung an, ist aber nicht so kodiert.");
            return l;
        }
        text = QString::fromUtf8(bytes.constData(), bytes.size());
    } else if (kodierung.isEmpty() || kodierung == QLatin1String("iso-8859-1") ||
               kodierung == QLatin1String("latin1") || kodierung == QLatin1String("iso_8859-1")) {
        // The overloads for a byte array stop at a zero byte in Qt 5.
        text = kodierung.isEmpty() && utf8 ? QString::fromUtf8(bytes.constData(), bytes.size())
                                           : QString::fromLatin1(bytes.constData(), bytes.size());
    } else {
        l.fehler = QStringLiteral("Der Inhalt ist als \u201E%1\u201C kodiert; ein Medikationsplan ist in "
                                  "ISO-8859-1 kodiert.")
                       .arg(kodierung);
        return l;
    }
    l = bmpTextLesen(text);
    if (l.plan && kodierung.isEmpty() && utf8)
        l.hinweise.prepend(QStringLiteral("Der Code ist in UTF-8 statt in ISO-8859-1 geschrieben; die Umlaute "
                                          "wurden trotzdem richtig gelesen."));
    return l;
}

QStringList bmpScannerSeiten(const QString &getippt)
{
    QString text = getippt;
    // UTF-8 read as Latin-1: "Ã¼" for "ü". Only when every such pair makes a
    // character again, so that a real "Ã" followed by another letter stays.
    const QByteArray alsLatin1 = text.toLatin1();
    bool gueltig = false;
    if (text == QString::fromLatin1(alsLatin1) && utf8MitUmlauten(alsLatin1, &gueltig) && gueltig)
        text = QString::fromUtf8(alsLatin1);
    // A dead key typed before its letter, or a combining mark after it.
    static const QString diaerese = QStringLiteral("\u00A8");
    static const QString vokale = QStringLiteral("aouAOU");
    static const QString umlaute = QStringLiteral("\u00E4\u00F6\u00FC\u00C4\u00D6\u00DC");
    for (int i = 0; i < vokale.size(); ++i)
        text.replace(diaerese + vokale.at(i), umlaute.at(i));
    text = text.normalized(QString::NormalizationForm_C);
    text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));

    QStringList seiten;
    int von = 0;
    while (true) {
        const int anfang = text.indexOf(QLatin1String("<MP"), von);
        if (anfang < 0)
            break;
        const int ende = text.indexOf(QLatin1String("</MP>"), anfang);
        if (ende < 0) {
            seiten << text.mid(anfang);
            break;
        }
        seiten << text.mid(anfang, ende + 5 - anfang);
        von = ende + 5;
    }
    return seiten;
}

BmpLesung bmpSeitenZusammenfuehren(const QVector<BmpPlan> &seiten)
{
    BmpLesung l;
    if (seiten.isEmpty()) {
        l.fehler = QStringLiteral("Es wurde kein Medikationsplan gelesen.");
        return l;
    }
    QMap<int, BmpPlan> nachSeite;
    const BmpPlan &erste = seiten.first();
    for (const BmpPlan &s : seiten) {
        if (s.instanz != erste.instanz) {
            l.fehler = QStringLiteral("Die Seiten geh\u00F6ren zu verschiedenen Medikationspl\u00E4nen. Bitte nur "
                                      "die Seiten eines Plans einlesen.");
            return l;
        }
        if (s.seiten != erste.seiten) {
            l.fehler = QStringLiteral("Die Seiten nennen eine verschiedene Zahl von Seiten.");
            return l;
        }
        if (nachSeite.contains(s.seite))
            l.hinweise << QStringLiteral("Seite %1 wurde mehrmals eingelesen und z\u00E4hlt einmal.").arg(s.seite);
        nachSeite.insert(s.seite, s);
    }
    BmpPlan plan = nachSeite.first();
    plan.abschnitte.clear();
    for (int n = 1; n <= erste.seiten; ++n) {
        if (!nachSeite.contains(n))
            l.hinweise << QStringLiteral("Seite %1 von %2 fehlt.").arg(n).arg(erste.seiten);
    }
    for (const BmpPlan &s : nachSeite) {
        for (int i = 0; i < s.abschnitte.size(); ++i) {
            const BmpAbschnitt &a = s.abschnitte.at(i);
            // A section split across pages repeats its heading on the next.
            const bool weiter = i == 0 && !plan.abschnitte.isEmpty() && plan.abschnitte.last().code == a.code &&
                                plan.abschnitte.last().titel == a.titel;
            if (weiter)
                plan.abschnitte.last().eintraege += a.eintraege;
            else
                plan.abschnitte.append(a);
        }
    }
    plan.seite = 0;
    plan.seiten = 0;
    l.plan = plan;
    return l;
}
