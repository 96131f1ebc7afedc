// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the medication plan's code: real plans written by others, the
// examples of the format, and input that must be refused.
#include "testhilfe.h"

#include "bmp/bmplesen.h"

#include <QDir>
#include <QFile>

struct PlanFall {
    const char *name; // the file in the plans folder
    QString vorname, nachname, geburt;
    int medikamente, rezepte, freitexte;
    int seiten;     // 0 for a single page
    QString proben; // "Name: 1-0-0-0|PZN 01234562: t=\"text\"|... : no dose"
};
Q_DECLARE_METATYPE(PlanFall)

struct FehlerFall {
    const char *name;
    QByteArray inhalt;
    QString fehler; // a part of the message
};
Q_DECLARE_METATYPE(FehlerFall)

namespace {

QByteArray planDatei(const QString &name)
{
    QFile f(QStringLiteral(KALVORIA_BMP_TESTPLAENE "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        fehlschlag(QStringLiteral("plan file missing: ") + f.fileName());
    return f.readAll();
}

// A line as the plans folder lists it: trade name, else the first
// ingredient with its strength, else the PZN; then the dose.
QString probe(const BmpEintrag &e)
{
    QString name = e.handelsname;
    if (name.isEmpty() && !e.wirkstoffe.isEmpty())
        name = (e.wirkstoffe.first().name + QLatin1Char(' ') + e.wirkstoffe.first().staerke).trimmed();
    if (name.isEmpty())
        name = bmpBezeichnung(e);
    const QString dosis = !e.dosisText.isEmpty() ? QStringLiteral("t=\"%1\"").arg(e.dosisText)
                          : e.ohneDosis()        ? QStringLiteral("no dose")
                                                 : bmpDosisAnzeige(e);
    return name + QStringLiteral(": ") + dosis;
}

QStringList proben(const BmpPlan &plan)
{
    QStringList p;
    for (const BmpAbschnitt &a : plan.abschnitte)
        for (const BmpEintrag &e : a.eintraege)
            if (e.art == BmpEintrag::medikament)
                p << probe(e);
    return p;
}

int anzahl(const BmpPlan &plan, BmpEintrag::Art art)
{
    int n = 0;
    for (const BmpAbschnitt &a : plan.abschnitte)
        for (const BmpEintrag &e : a.eintraege)
            n += e.art == art;
    return n;
}

QVector<BmpEintrag> eintraege(const BmpPlan &plan)
{
    QVector<BmpEintrag> alle;
    for (const BmpAbschnitt &a : plan.abschnitte)
        alle += a.eintraege;
    return alle;
}

BmpPlan gelesen(const QByteArray &inhalt)
{
    const BmpLesung l = bmpLesen(inhalt);
    if (!l.plan)
        fehlschlag(QStringLiteral("refused: ") + l.fehler);
    return l.plan.value_or(BmpPlan());
}

// The example payloads of the format's documentation, as Latin-1 bytes.
QByteArray latin1(const QString &text)
{
    return text.toLatin1();
}

const QString beispielUmlaute = QStringLiteral(
    "<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"J\u00FCrgen\" f=\"Wei\u00DFb\u00E4cker\" "
    "b=\"19410307\" s=\"M\"/><A n=\"Pflegedienst Lindenh\u00F6he\" s=\"M\u00FChlweg 4\" z=\"79098\" c=\"Freiburg\" "
    "p=\"0761 123456\" t=\"2026-03-02T09:15:00\"/><O ai=\"Penicillin\" w=\"72.5\"/><S><M a=\"Kardiolan 47,5 mg "
    "Retardtabletten\" fd=\"RetTabl\" m=\"1\" v=\"1/2\" du=\"1\" r=\"Blutdruck\"><W w=\"Metoprololsuccinat\" "
    "s=\"47,5 mg\"/></M><M a=\"Gerinnex 3 mg\" fd=\"Tabl\" t=\"laut INR-Ausweis\" du=\"1\" i=\"Dosis nach "
    "Gerinnungswert\" r=\"Blutverd\u00FCnnung\"><W w=\"Phenprocoumon\" s=\"3 mg\"/></M><M a=\"Magnesium \u00D6hlinger "
    "300\" fd=\"BrTabl\" v=\"1\" du=\"1\" i=\"in Wasser aufl\u00F6sen\" r=\"Wadenkr\u00E4mpfe\"><W w=\"Magnesium\" "
    "s=\"300 mg\"/></M></S></MP>");

const QString beispielAbschnitte = QStringLiteral(
    "<MP v=\"027\" U=\"B70E5D2C9A4F41C3881D6E0F52A9C3B4\" l=\"de-DE\"><P g=\"Ingrid\" f=\"Albers\" b=\"19470919\" "
    "s=\"W\"/><A n=\"Hausarztpraxis Brandt\" s=\"Lindenallee 12\" z=\"28195\" c=\"Bremen\" p=\"0421 987654\" "
    "e=\"praxis@brandt-beispiel.de\" t=\"2026-02-17T10:30:00\"/><S><M a=\"Ramilan 5 mg\" fd=\"Tabl\" m=\"1\" "
    "du=\"1\" r=\"Blutdruck\"><W w=\"Ramipril\" s=\"5 mg\"/></M><M p=\"1234562\" m=\"1\" v=\"1\" du=\"1\" "
    "r=\"Diabetes\"/></S><S c=\"411\"><M a=\"Dolorin 500 mg\" fd=\"Tabl\" t=\"bei Bedarf 1\" du=\"1\" "
    "i=\"h\u00F6chstens 4 Tabletten am Tag\" r=\"Schmerzen\"><W w=\"Paracetamol\" s=\"500 mg\"/></M><X t=\"Bei "
    "Fieber \u00FCber 39 \u00B0C die Praxis anrufen\"/></S></MP>");

QString zweiSeiten(int seite)
{
    const QString kopf =
        QStringLiteral(
            "<MP v=\"027\" U=\"5C1E8A7F03D94B2E96A4C0D7E21F8B6A\" a=\"%1\" z=\"2\" l=\"de-DE\"><P g=\"Wilhelm\" "
            "f=\"Schr\u00F6der\" b=\"19330520\" s=\"M\"/><A n=\"Petra Schr\u00F6der (Angeh\u00F6rige)\" s=\"Am Anger "
            "7\" "
            "z=\"04109\" c=\"Leipzig\" p=\"0341 555012\" t=\"2026-03-10T18:05:00\"/>")
            .arg(seite);
    if (seite == 2)
        return kopf + QStringLiteral(
                          "<S c=\"412\"><M a=\"Spironolacton-BP 25 mg\" m=\"1\" du=\"1\"><W w=\"Spironolacton\" "
                          "s=\"25 mg\"/></M></S><S c=\"411\"><M a=\"Lactulose-BP Sirup\" fd=\"Saft\" t=\"bei Bedarf "
                          "10\" du=\"s\" r=\"Verstopfung\"><W w=\"Lactulose\" s=\"667 mg/ml\"/></M></S><S "
                          "c=\"421\"><X t=\"Tabletten morgens mit einem Glas Wasser, nicht mit "
                          "Grapefruitsaft\"/></S></MP>");
    QString zeilen;
    const char *const namen[][4] = {
        {"Ramipril", "5 mg", "m", "1"},
        {"Amlodipin", "5 mg", "m", "1"},
        {"Torasemid", "10 mg", "m", "1"},
        {"Simvastatin", "20 mg", "v", "1"},
        {"Metformin", "500 mg", "m", "1"},
        {"Glimepirid", "2 mg", "m", "1"},
        {"Acetylsalicyls\u00E4ure", "100 mg", "m", "1"},
        {"Pantoprazol", "20 mg", "m", "1"},
        {"Levothyroxin", "75 \u00B5g", "m", "1"},
        {"Allopurinol", "100 mg", "d", "1"},
        {"Citalopram", "20 mg", "m", "1/2"},
        {"Bisoprolol", "2,5 mg", "m", "1"},
        {"Mirtazapin", "15 mg", "h", "1/2"},
        {"Colecalciferol", "1000 I.E.", "m", "1"},
    };
    for (const auto &n : namen)
        zeilen += QStringLiteral("<M a=\"%1-BP\" %3=\"%4\" du=\"1\"><W w=\"%1\" s=\"%2\"/></M>")
                      .arg(QString::fromUtf8(n[0]), QString::fromUtf8(n[1]), QLatin1String(n[2]), QLatin1String(n[3]));
    return kopf + QStringLiteral("<S c=\"412\">") + zeilen + QStringLiteral("</S></MP>");
}

const QByteArray kopf = "<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"A\" f=\"B\" "
                        "b=\"19410307\"/><A n=\"C\" t=\"2026-03-02T09:15:00\"/>";

} // namespace

class BmpLesenTest : public QObject
{
    Q_OBJECT
private slots:
    void plaeneAnderer_data()
    {
        faelle<PlanFall>({
            {"bihcei-scanner-mpp-v024.xml", "J\u00FCrgen Test", "Wernersen", "24.03.1940", 4, 0, 0, 0,
             "PZN 04877970: t=\"max. 3\"|PZN 02083906: 0-0-0-1"},
            {"kbv-testplan-0001.xml", "J\u00FCrgen", "Wernersen", "24.03.1940", 6, 0, 0, 0,
             "PZN 00230272: 1-0-0-0|PZN 02239828: t=\"alle drei Tage 1\"|PZN 02223945: 1-0-0-0"},
            {"kbv-testplan-0002.xml", "Ricarda", "Musterfrau", "25.04.1947", 4, 0, 0, 0,
             "Metformin 500 mg: 1-0-1-0|PZN 11186232: t=\"siehe n\u00E4chste Zeile\"|Lisinopril 5 mg: 1-0-0-0"},
            {"kbv-testplan-0003.xml", "Anton", "Beispiel", "01.01.1940", 9, 0, 0, 0,
             "PZN 00536338: 10-6-8-0|PZN 05387825: t=\"Siehe Hinweis\""},
            {"kbv-testplan-0004.xml", "Ivan", "Ivanov", "13.02.1958", 6, 1, 0, 0,
             "PZN 05701380: 1-0-0-0|PZN 02246627: t=\"siehe Hinweistext\"|PZN 01016440: 1-0-0-0"},
            {"kbv-testplan-0005a.xml", "Rudolf", "Testmann", "19.10.1959", 10, 0, 2, 2,
             "PZN 02223945: 1-0-0-0|PZN 04634724: 1-0-0-0"},
            {"kbv-testplan-0005b.xml", "Rudolf", "Testmann", "19.10.1959", 6, 0, 2, 2,
             "PZN 01484543: 3-0-0-0|PZN 01484543: 2,5-0-0-0"},
            {"kbv-testplan-0006a.xml", "Erika-Annemarie", "Maxdata-Demonstration", "19.10.1964", 7, 1, 0, 2,
             "PZN 00055509: 1-1-1-0|Trimethoprim\\Sulfamethoxazol: t=\"alle 8 Stunden 1\"|PZN 02340148: 1/4-1/4-1/4-0"},
            {"kbv-testplan-0006b.xml", "Erika-Annemarie", "Maxdata-Demonstration", "19.10.1964", 1, 0, 1, 2,
             "Diphenhydramin-HCl 50 mg: t=\"1-0-1-0-1-0\""},
            {"kbv-testplan-0007.xml", "Michaela", "Musterhausen", "13.12.1936", 7, 0, 1, 0,
             "PZN 04213974: 1-0-0-0|PZN 04877970: t=\"max. 3\"|PZN 06453174: 1-0-0-0"},
            {"kbv-testplan-0008.xml", "Testfall", "Nr. 1", "04.10.1960", 4, 0, 0, 0,
             "PZN 01755692: 1-0-0-0|PZN 00766736: 0-1-0-0"},
            {"kbv-testplan-0009.xml", "Testfall", "Nr. 2", "06.06.1942", 6, 0, 1, 0,
             "PZN 11186344: 0-1-1-1|PZN 02460326: 1-0-0-0"},
            {"kbv-testplan-0010.xml", "Testfall", "Nr. 3", "00.00.1926", 7, 0, 0, 0,
             "PZN 00773972: 1-0-0-0|PZN 01566347: 1-0-0-0"},
            {"kbv-testplan-0011.xml", "Testfall", "Nr. 4", "13.10.1951", 7, 0, 1, 0,
             "PZN 00109145: t=\"jeden Tag\"|PZN 01578681: t=\"nach Bedarf\""},
            {"kbv-testplan-0012.xml", "Testfall", "Nr. 5", "12.10.1962", 8, 0, 0, 0,
             "PZN 00229464: t=\"fr\u00FCh 1x abend 1/2\"|PZN 00580339: t=\"fr\u00FCh 1/2\""},
            {"kbv-testplan-0013.xml", "Testfall", "Nr. 6", "10.10.1966", 7, 0, 1, 0,
             "PZN 00148932: t=\"1-0-0-0-0\"|PZN 00766699: t=\"1/2-0-0-1/2-0\""},
            {"kbv-testplan-0014a.xml", "Testfall", "Nr. 7", "11.11.1970", 15, 0, 0, 2,
             "PZN 00229464: 1-0-1-0|PZN 01097800: t=\"0-0-5-10ml-0\"|PZN 00773972: 1-1/2-0-0"},
            {"kbv-testplan-0014b.xml", "Testfall", "Nr. 7", "11.11.1970", 2, 0, 0, 2,
             "PZN 00168739: t=\"5gtt-5gtt-5gtt-5gtt\"|PZN 02836180: t=\"20gtt-20gtt-20gtt-20\""},
            {"kbv-testplan-0015.xml", "Testfall", "Nr. 8", "01.01.1938", 10, 0, 1, 0,
             "PZN 02535113: t=\"1-0-0-0-0-0-0\"|PZN 02200938: t=\"0-1-1-1-1-0-0\""},
            {"kbv-testplan-0016.xml", "Testfall", "Nr. 9", "15.11.1950", 7, 0, 0, 0,
             "PZN 07292431: 1-0-0-0|PZN 00278250: t=\"0-0-(1/2)-b.Bed.\""},
            {"kbv-testplan-0017a.xml", "Testfall", "Nr. 10", "01.01.1966", 15, 0, 0, 2,
             "PZN 02754677: t=\"1-0-0-0-0\"|PZN 00148932: t=\"0-1-0-0-0\""},
            {"kbv-testplan-0017b.xml", "Testfall", "Nr. 10", "01.01.1966", 1, 0, 0, 2, "PZN 05515513: t=\"0-0-0-0-1\""},
            {"kbv-testplan-0018.xml", "Testfall", "Nr. 11", "25.02.1926", 5, 0, 0, 0,
             "PZN 02355262: 1-0-0-0|PZN 00773972: t=\"mo:\u00BD-1 mi:(\u00BD-1)\"|PZN 07097020: 1-0-0-0"},
            {"kbv-testplan-0019.xml", "Testfall", "Nr. 12", "08.11.1936", 9, 0, 0, 0,
             "PZN 00713881: 1-0-1-0|PZN 04315048: t=\"mo:\u00BD\"|PZN 01343682: 0-1-0-0"},
            {"kbv-testplan-0020a.xml", "Testfall", "Nr. 13", "25.09.1934", 11, 0, 0, 2,
             "PZN 04432570: no dose|PZN 01983619: t=\"mo:\u00BD\"|PZN 05748789: 0-0-1-0"},
            {"kbv-testplan-0020b.xml", "Testfall", "Nr. 13", "25.09.1934", 1, 0, 0, 2, "PZN 05950686: 1-1-1-0"},
            {"kbv-testplan-0021.xml", "Testfall", "Nr. 14", "25.01.1943", 8, 0, 0, 0,
             "PZN 02799421: 0-1-0-0|PZN 03421699: 0-0-0-1"},
            {"kbv-testplan-0022.xml", "Testfall", "Nr. 15", "02.08.1934", 3, 0, 0, 0,
             "PZN 08538101: no dose|PZN 01571302: 1-0-1-0"},
            {"kbv-testplan-0023.xml", "Testfall", "Nr. 16", "20.04.1974", 6, 0, 0, 0,
             "PZN 02058593: t=\"abs:\u00BD\"|PZN 04182765: t=\"mo:\u00BD\""},
            {"kbv-testplan-0024.xml", "Testfall", "Nr. 17", "12.02.1940", 10, 0, 0, 0,
             "PZN 03146891: no dose|PZN 04274616: no dose"},
            {"kbv-testplan-v024-0001.xml", "J\u00FCrgen", "Wernersen", "24.03.1940", 6, 0, 0, 0,
             "PZN 00230272: 1-0-0-0|PZN 02239828: t=\"alle drei Tage 1\"|PZN 02223945: 1-0-0-0"},
            {"kbv-testplan-v024-0002.xml", "Ricarda", "Musterfrau", "25.04.1947", 4, 0, 0, 0,
             "Metformin 500 mg: 1-0-1-0|PZN 11186232: t=\"siehe n\u00E4chste Zeile\"|Lisinopril 5 mg: 1-0-0-0"},
            {"kbv-testplan-v024-0003.xml", "Anton", "Beispiel", "01.01.1940", 9, 0, 0, 0,
             "PZN 00536338: 10-6-8-0|PZN 05387825: t=\"Siehe Hinweis\""},
            {"kbv-testplan-v024-0004.xml", "Ivan", "Ivanov", "13.02.1958", 6, 1, 0, 0,
             "PZN 05701380: 1-0-0-0|PZN 02246627: t=\"siehe Hinweistext\"|PZN 01016440: 1-0-0-0"},
            {"kbv-testplan-v024-0005a.xml", "Rudolf", "Testmann", "19.10.1959", 16, 0, 4, 2,
             "PZN 02223945: 1-0-0-0|PZN 04634724: 1-0-0-0"},
            {"variants/kbv-testplan-0001.ba-model-head.xml", "J\u00FCrgen", "Wernersen", "24.03.1940", 6, 0, 0, 0,
             "PZN 00230272: 1-0-0-0|PZN 02239828: t=\"alle drei Tage 1\"|PZN 02223945: 1-0-0-0"},
            {"variants/kbv-testplan-0002.ba-model-head.xml", "Ricarda", "Musterfrau", "25.04.1947", 4, 0, 0, 0,
             "Metformin 500 mg: 1-0-1-0|PZN 11186232: t=\"siehe n\u00E4chste Zeile\"|Lisinopril 5 mg: 1-0-0-0"},
            {"variants/kbv-testplan-0003.ba-model-head.xml", "Anton", "Beispiel", "01.01.1940", 9, 0, 0, 0,
             "PZN 00536338: 10-6-8-0|PZN 05387825: t=\"Siehe Hinweis\""},
            {"variants/kbv-testplan-0005a.ba-model-head.xml", "Rudolf", "Testmann", "19.10.1959", 10, 0, 2, 2,
             "PZN 02223945: 1-0-0-0|PZN 04634724: 1-0-0-0"},
            {"variants/kbv-testplan-0006a.ba-model-head.xml", "Erika-Annemarie", "Maxdata-Demonstration", "19.10.1964",
             7, 1, 0, 2,
             "PZN 00055509: 1-1-1-0|Trimethoprim\\Sulfamethoxazol: t=\"alle 8 Stunden 1\"|PZN 02340148: 1/4-1/4-1/4-0"},
            {"variants/kbv-testplan-0007.ba-model-head.xml", "Michaela", "Musterhausen", "13.12.1936", 7, 0, 1, 0,
             "PZN 04213974: 1-0-0-0|PZN 04877970: t=\"max. 3\"|PZN 06453174: 1-0-0-0"},
            {"variants/kbv-testplan-0011.ba-model-head.xml", "Testfall", "Nr. 4", "13.10.1951", 7, 0, 1, 0,
             "PZN 00109145: t=\"jeden Tag\"|PZN 01578681: t=\"nach Bedarf\""},
            {"variants/kbv-testplan-0017a.ba-model-head.xml", "Testfall", "Nr. 10", "01.01.1966", 15, 0, 0, 2,
             "PZN 02754677: t=\"1-0-0-0-0\"|PZN 00148932: t=\"0-1-0-0-0\""},
        });
    }
    // The scanner test input of that project breaks the format on purpose
    // (a dose "2 bei Bedarf" beside a free-text dose): it is refused rather
    // than read with an invented dose.
    void plaeneAnderer()
    {
        QFETCH(PlanFall, fall);
        const BmpLesung l = bmpLesen(planDatei(QString::fromLatin1(fall.name)));
        const bool ungueltig = QByteArray(fall.name).startsWith("bihcei");
        QCOMPARE(bool(l.plan), !ungueltig);
        if (ungueltig) {
            QCOMPARE(l.fehler.contains(QStringLiteral("2 bei Bedarf")), true);
            return;
        }
        const BmpPlan &p = *l.plan;
        QCOMPARE(p.patient.vorname, fall.vorname);
        QCOMPARE(p.patient.name, fall.nachname);
        QCOMPARE(bmpGeburtAnzeige(p.patient.geburt), fall.geburt);
        QCOMPARE(anzahl(p, BmpEintrag::medikament), fall.medikamente);
        QCOMPARE(anzahl(p, BmpEintrag::rezept), fall.rezepte);
        QCOMPARE(anzahl(p, BmpEintrag::freitext), fall.freitexte);
        QCOMPARE(p.seiten, fall.seiten);
        const QStringList gelesen = proben(p);
        for (const QString &probe : teile(fall.proben))
            QVERIFY2(gelesen.contains(probe), qPrintable(probe + QStringLiteral(" not in ") + gelesen.join("; ")));
    }

    void gespeicherteFormLiestSichWieDerCode()
    {
        const BmpPlan code = gelesen(planDatei("kbv-testplan-0006a.xml"));
        const BmpPlan datei = gelesen(planDatei("variants/kbv-testplan-0006a.ba-model-head.xml"));
        QCOMPARE(proben(datei), proben(code));
    }

    void freitextBleibtText()
    {
        const QVector<BmpEintrag> e = eintraege(gelesen(planDatei("kbv-testplan-0018.xml")));
        QCOMPARE(e.at(2).dosisText, QStringLiteral("mo:\u00BD-1 mi:(\u00BD-1)"));
        QCOMPARE(e.at(2).hatDosen(), false);
    }

    void maskiertesUndZeichen()
    {
        const QVector<BmpEintrag> e = eintraege(gelesen(planDatei("kbv-testplan-0018.xml")));
        QCOMPARE(e.at(2).hinweis.endsWith(QStringLiteral("morgens & mittags 1x1")), true);
    }

    void rueckstrichImWirkstoff()
    {
        const QVector<BmpEintrag> e = eintraege(gelesen(planDatei("kbv-testplan-0006a.xml")));
        QCOMPARE(e.at(3).wirkstoffe.value(0).name, QStringLiteral("Trimethoprim\\Sulfamethoxazol"));
    }

    void zeileOhneDosis()
    {
        const QVector<BmpEintrag> e = eintraege(gelesen(planDatei("kbv-testplan-0022.xml")));
        QCOMPARE(e.at(0).ohneDosis(), true);
    }

    void umlauteUndFreitextDesBeispiels()
    {
        const BmpPlan p = gelesen(latin1(beispielUmlaute));
        QCOMPARE(p.patient.name, QStringLiteral("Wei\u00DFb\u00E4cker"));
        QCOMPARE(proben(p),
                 (QStringList{"Kardiolan 47,5 mg Retardtabletten: 1-0-1/2-0", "Gerinnex 3 mg: t=\"laut INR-Ausweis\"",
                              "Magnesium \u00D6hlinger 300: 0-0-1-0"}));
        QCOMPARE(p.parameter.allergien, QStringLiteral("Penicillin"));
    }

    void abschnitteDesBeispiels()
    {
        const BmpPlan p = gelesen(latin1(beispielAbschnitte));
        QCOMPARE(p.abschnitte.size(), 2);
        QCOMPARE(bmpUeberschrift(p.abschnitte.at(1)), QStringLiteral("Bedarfsmedikation"));
        QCOMPARE(proben(p),
                 (QStringList{"Ramilan 5 mg: 1-0-0-0", "PZN 01234562: 1-0-1-0", "Dolorin 500 mg: t=\"bei Bedarf 1\""}));
        QCOMPARE(p.abschnitte.at(1).eintraege.at(1).text,
                 QStringLiteral("Bei Fieber \u00FCber 39 \u00B0C die Praxis anrufen"));
    }

    void zweiSeitenInBeliebigerFolge()
    {
        const BmpLesung l = bmpSeitenZusammenfuehren({gelesen(latin1(zweiSeiten(2))), gelesen(latin1(zweiSeiten(1)))});
        QCOMPARE(l.hinweise, QStringList());
        QCOMPARE(l.plan->abschnitte.size(), 3);
        QCOMPARE(l.plan->abschnitte.at(0).eintraege.size(), 15);
        QCOMPARE(l.plan->abschnitte.at(0).eintraege.last().handelsname, QStringLiteral("Spironolacton-BP 25 mg"));
    }

    void fehlendeSeiteWirdGenannt()
    {
        const BmpLesung l = bmpSeitenZusammenfuehren({gelesen(latin1(zweiSeiten(1)))});
        QCOMPARE(l.hinweise, QStringList{"Seite 2 von 2 fehlt."});
    }

    void seitenEinesAnderenPlans()
    {
        const BmpLesung l = bmpSeitenZusammenfuehren(
            {gelesen(latin1(zweiSeiten(1))), gelesen(planDatei("kbv-testplan-0005b.xml"))});
        QCOMPARE(bool(l.plan), false);
    }

    void seitenpaarDerKbv()
    {
        const BmpLesung l = bmpSeitenZusammenfuehren(
            {gelesen(planDatei("kbv-testplan-0005b.xml")), gelesen(planDatei("kbv-testplan-0005a.xml"))});
        QCOMPARE(anzahl(*l.plan, BmpEintrag::medikament), 16);
    }

    void mitKopfWieOhne()
    {
        const QByteArray code = latin1(beispielUmlaute);
        const BmpPlan mit = gelesen("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + code);
        QCOMPARE(proben(mit), proben(gelesen(code)));
    }

    void utf8StattLatin1()
    {
        const BmpLesung l = bmpLesen(beispielUmlaute.toUtf8());
        QCOMPARE(l.plan->patient.vorname, QStringLiteral("J\u00FCrgen"));
        QCOMPARE(l.hinweise.value(0).contains(QStringLiteral("UTF-8")), true);
    }

    void unbekannteSchluesselWerdenGezeigt()
    {
        const BmpLesung l = bmpLesen(kopf + "<S c=\"499\"><M a=\"X\" m=\"1\" du=\"z\"/></S></MP>");
        QCOMPARE(l.hinweise.size(), 2);
        QCOMPARE(bmpUeberschrift(l.plan->abschnitte.at(0)), QStringLiteral("499"));
        QCOMPARE(bmpEinheit(l.plan->abschnitte.at(0).eintraege.at(0)), QStringLiteral("z"));
    }

    void falscheEingaben_data()
    {
        faelle<FehlerFall>({
            {"kein Plan", "<html><body>Hallo</body></html>", "kein Medikationsplan"},
            {"leer", "", "kein Medikationsplan"},
            {"andere Version", "<MP v=\"030\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"/>",
             "Version \u201E030\u201C"},
            {"kaputtes XML", kopf + "<S><M a=\"X\" m=\"1\"></S></MP>", "kein g\u00FCltiges XML"},
            {"UTF-16", QByteArray("<\0M\0P\0", 6), "Steuerzeichen"},
            {"falsche Kodierung angegeben",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + kopf.left(60) + "\xFC\"/></MP>", "nicht so kodiert"},
            {"zu gross", kopf + QByteArray(9000, ' ') + "</MP>", "viel gr\u00F6\u00DFer"},
            {"Patient doppelt", kopf + "<P g=\"A\" f=\"B\" b=\"19410307\"/></MP>", "mehr als einmal"},
            {"Aussteller fehlt",
             "<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"A\" f=\"B\" "
             "b=\"19410307\"/></MP>",
             "keinen Aussteller"},
            {"Attribut doppelt", kopf + "<S><M a=\"X\" a=\"Y\"/></S></MP>", "kein g\u00FCltiges XML"},
            {"Pruefziffer", kopf + "<S><M p=\"1234563\" m=\"1\"/></S></MP>", "Pr\u00FCfziffer der PZN 01234563"},
            {"leere Angabe", kopf + "<S><M a=\"\" m=\"1\"/></S></MP>", "ist leer"},
            {"Dosis mit Punkt", kopf + "<S><M a=\"X\" m=\"0.5\"/></S></MP>", "\u201E0.5\u201C"},
            {"Text und Schema", kopf + "<S><M a=\"X\" m=\"1\" t=\"morgens\"/></S></MP>", "zugleich als Text"},
            {"unbekanntes Element", kopf + "<S><Q/></S></MP>", "\u201EQ\u201C"},
            {"Geburtstag",
             "<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"A\" f=\"B\" "
             "b=\"19410230\"/></MP>",
             "kein Datum"},
            {"Ueberschrift doppelt", kopf + "<S c=\"411\" t=\"Bedarf\"><M a=\"X\"/></S></MP>",
             "als Schl\u00FCssel und als Text"},
            {"danach noch etwas", kopf + "</MP><MP/>", "kein g\u00FCltiges XML"},
        });
    }
    void falscheEingaben()
    {
        QFETCH(FehlerFall, fall);
        const BmpLesung l = bmpLesen(fall.inhalt);
        QCOMPARE(bool(l.plan), false);
        QVERIFY2(l.fehler.contains(fall.fehler), qPrintable(l.fehler));
    }

    void unbekannteGeburtsteile()
    {
        QCOMPARE(bmpGeburtAnzeige(gelesen(planDatei("kbv-testplan-0010.xml")).patient.geburt),
                 QStringLiteral("00.00.1926"));
    }

    void zeichenAusserhalbLatin1()
    {
        const BmpLesung l = bmpTextLesen(QString::fromLatin1(kopf) +
                                         QStringLiteral("<S><M a=\"5 \u20AC\" m=\"1\"/></S></MP>"));
        QCOMPARE(l.fehler.contains(QStringLiteral("\u201E\u20AC\u201C")), true);
    }

    void scannerVorsilbeUndZeilenende()
    {
        const QStringList seiten = bmpScannerSeiten(QStringLiteral("]d1") + beispielUmlaute + QStringLiteral("\r\n"));
        QCOMPARE(seiten, QStringList{beispielUmlaute});
    }

    void scannerZweiSeitenHintereinander()
    {
        QCOMPARE(bmpScannerSeiten(zweiSeiten(1) + "\n" + zweiSeiten(2)).size(), 2);
    }

    void scannerUtf8AlsLatin1()
    {
        const QString verdreht = QString::fromLatin1(beispielUmlaute.toUtf8());
        QCOMPARE(bmpScannerSeiten(verdreht), QStringList{beispielUmlaute});
    }

    void scannerTotesZeichen()
    {
        QString getippt = beispielUmlaute;
        getippt.replace(QStringLiteral("\u00FC"), QStringLiteral("\u00A8u"));
        QCOMPARE(bmpScannerSeiten(getippt), QStringList{beispielUmlaute});
    }

    void dosen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        for (const auto &[t, w] : {std::pair{"1", 1.0},
                                   {"9999", 9999.0},
                                   {"0,5", 0.5},
                                   {"2,25", 2.25},
                                   {"12,5", 12.5},
                                   {"1/2", 0.5},
                                   {"1/3", 1.0 / 3},
                                   {"2/3", 2.0 / 3},
                                   {"1/4", 0.25},
                                   {"3/4", 0.75},
                                   {"1/8", 0.125},
                                   {"0", -1.0},
                                   {"0.5", -1.0},
                                   {",5", -1.0},
                                   {"0,125", -1.0},
                                   {"12,25", -1.0},
                                   {"100,5", -1.0},
                                   {"01", -1.0},
                                   {"\u00BD", -1.0}})
            QTest::newRow(t) << QString::fromUtf8(t) << w;
    }
    void dosen()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(bmpDosisWert(text).value_or(-1.0), wert);
    }
};

QTEST_MAIN(BmpLesenTest)
#include "tst_bmplesen.moc"
