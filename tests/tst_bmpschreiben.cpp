// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the medication plan's code: doses, characters, pages, and the
// symbol libzint makes of it, read back with zxing-cpp.
#include "testhilfe.h"

#include "bmp/bmplesen.h"
#include "bmp/bmpschreiben.h"
#include "bmp/datamatrix.h"

struct DosisFall {
    const char *name;
    double wert;
    QString text; // "-" where the format has no such value
};
Q_DECLARE_METATYPE(DosisFall)

namespace {

const QString beispiel = QStringLiteral(
    "<MP v=\"027\" U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\"><P g=\"J\u00FCrgen\" f=\"Wei\u00DFb\u00E4cker\" "
    "b=\"19410307\" s=\"M\"/><A n=\"Pflegedienst Lindenh\u00F6he\" s=\"M\u00FChlweg 4\" z=\"79098\" c=\"Freiburg\" "
    "p=\"0761 123456\" t=\"2026-03-02T09:15:00\"/><O ai=\"Penicillin\" w=\"72.5\"/><S><M a=\"Kardiolan 47,5 mg "
    "Retardtabletten\" fd=\"RetTabl\" "
    "m=\"1\" v=\"1/2\" du=\"1\" r=\"Blutdruck\"><W w=\"Metoprololsuccinat\" s=\"47,5 mg\"/></M><M a=\"Gerinnex 3 "
    "mg\" fd=\"Tabl\" t=\"laut INR-Ausweis\" du=\"1\" i=\"Dosis nach Gerinnungswert\" r=\"Blutverd\u00FCnnung\"><W "
    "w=\"Phenprocoumon\" s=\"3 mg\"/></M><M a=\"Magnesium \u00D6hlinger 300\" fd=\"BrTabl\" v=\"1\" du=\"1\" i=\"in "
    "Wasser aufl\u00F6sen\" r=\"Wadenkr\u00E4mpfe\"><W w=\"Magnesium\" s=\"300 mg\"/></M></S></MP>");

BmpPlan planMit(int zeilen, int zeichen = 10)
{
    BmpPlan p;
    p.version = QStringLiteral("027");
    p.instanz = QStringLiteral("3F2A9C41D0B84E7A9C55E1B2A7D40F13");
    p.patient = {QStringLiteral("Anna"), QStringLiteral("Weber"), QStringLiteral("19400101"), {}, {}, {}, {}, {}};
    p.autor.name = QStringLiteral("Pflegedienst");
    p.autor.zeit = QStringLiteral("2026-12-06T10:30:00");
    p.abschnitte.resize(1);
    for (int i = 0; i < zeilen; ++i) {
        BmpEintrag e;
        e.handelsname = QStringLiteral("Mittel %1").arg(i);
        e.hinweis = QString(zeichen, QLatin1Char('x'));
        e.dosen[0] = QStringLiteral("1");
        p.abschnitte[0].eintraege.append(e);
    }
    return p;
}

int eintraege(const BmpPlan &p)
{
    int n = 0;
    for (const BmpAbschnitt &a : p.abschnitte)
        n += a.eintraege.size();
    return n;
}

} // namespace

class BmpSchreibenTest : public QObject
{
    Q_OBJECT
private slots:
    void dosen_data()
    {
        faelle<DosisFall>({
            {"null", 0, ""},
            {"halb", 0.5, "1/2"},
            {"anderthalb", 1.5, "1,5"},
            {"zwei Viertel mehr", 2.25, "2,25"},
            {"zwoelfeinhalb", 12.5, "12,5"},
            {"ganz", 3, "3"},
            {"zwoelf Viertel", 12.25, "-"},
            {"ein Achtel", 0.125, "1/8"},
            {"ein Drittel", 1.0 / 3, "1/3"},
            {"zwei Drittel", 2.0 / 3, "2/3"},
            {"ungefaehr ein Drittel", 0.33, "0,33"},
            {"zehntausend", 10000, "-"},
        });
    }
    void dosen()
    {
        QFETCH(DosisFall, fall);
        QCOMPARE(bmpDosisSchreiben(fall.wert).value_or(QStringLiteral("-")), fall.text);
    }

    void beispielGibtDieselbenBytes()
    {
        const BmpLesung l = bmpLesen(beispiel.toLatin1());
        QCOMPARE(bmpSchreiben(*l.plan), beispiel.toLatin1());
    }

    void euroWirdUmgeschrieben()
    {
        QString fremd;
        QCOMPARE(latin1Umschreiben(QStringLiteral("5 \u20AC \u201Egut\u201C \u2013 mehr\u2026"), &fremd),
                 QStringLiteral("5 EUR \"gut\" - mehr..."));
    }

    void fremdesZeichenWirdGenannt()
    {
        QString fremd;
        latin1Umschreiben(QStringLiteral("\u0141\u00F3d\u017A"), &fremd);
        QCOMPARE(fremd, QStringLiteral("\u0141\u017A"));
    }

    void einzelneSeiteOhneNummer()
    {
        const BmpSeiten s = bmpSeitenTeilen(planMit(15));
        QCOMPARE(s.seiten.size(), 1);
        QCOMPARE(bmpSchreiben(s.seiten.at(0)).contains("\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" l=\"de-DE\""), true);
    }

    void sechzehnZeilenZweiSeiten()
    {
        const BmpSeiten s = bmpSeitenTeilen(planMit(16));
        QCOMPARE(s.seiten.size(), 2);
        QCOMPARE(eintraege(s.seiten.at(1)), 1);
    }

    void zuVieleBytesZweiSeiten()
    {
        // Twelve lines with long hints exceed 1400 bytes before 15 rows.
        const BmpSeiten s = bmpSeitenTeilen(planMit(12, 80));
        QCOMPARE(s.seiten.size(), 2);
        QCOMPARE(bmpSchreiben(s.seiten.at(0)).size() <= 1400, true);
    }

    // Text that packs badly needs a larger symbol for its bytes; no page's
    // symbol may grow past 132 modules, which not every scanner reads.
    void symbolHoechstens132_data()
    {
        QTest::addColumn<int>("zeichen");
        for (int zeichen = 20; zeichen <= 80; zeichen += 2)
            QTest::newRow(qPrintable(QString::number(zeichen))) << zeichen;
    }
    void symbolHoechstens132()
    {
        QFETCH(int, zeichen);
        BmpPlan p = planMit(15);
        // Printable characters in an order that repeats nowhere, as codes,
        // dates and dosing notes typed by hand come close to.
        quint32 zufall = 12345;
        for (BmpEintrag &e : p.abschnitte[0].eintraege) {
            e.hinweis.clear();
            while (e.hinweis.size() < zeichen) {
                zufall = zufall * 1103515245u + 12345u;
                const QChar c(33 + int((zufall >> 16) % 94));
                if (!QStringLiteral("<>&\"'").contains(c))
                    e.hinweis += c;
            }
        }
        for (const BmpPlan &seite : bmpSeitenTeilen(p).seiten)
            QVERIFY(dataMatrixKodieren(bmpSchreiben(seite)).module <= 132);
    }

    void seitenTeilenDieKennung()
    {
        const BmpSeiten s = bmpSeitenTeilen(planMit(16));
        QCOMPARE(bmpSchreiben(s.seiten.at(1)).contains("U=\"3F2A9C41D0B84E7A9C55E1B2A7D40F13\" a=\"2\" z=\"2\""), true);
    }

    void hoechstensDreiSeiten()
    {
        const BmpSeiten s = bmpSeitenTeilen(planMit(46));
        QCOMPARE(s.fehler.contains(QStringLiteral("4 Seiten")), true);
    }

    void ueberschriftWirdWiederholt()
    {
        BmpPlan p = planMit(16);
        p.abschnitte[0].code = QStringLiteral("412");
        const BmpSeiten s = bmpSeitenTeilen(p);
        QCOMPARE(s.seiten.value(1).abschnitte.value(0).code, QStringLiteral("412"));
    }

    void geteiltGelesenWieGeschrieben()
    {
        BmpPlan p = planMit(20);
        p.abschnitte[0].code = QStringLiteral("412");
        const BmpSeiten s = bmpSeitenTeilen(p);
        QVector<BmpPlan> gelesen;
        for (const BmpPlan &seite : s.seiten)
            gelesen << *bmpLesen(bmpSchreiben(seite)).plan;
        QCOMPARE(bmpSeitenZusammenfuehren(gelesen).plan->abschnitte.at(0).eintraege.size(), 20);
    }

    void symbolWirdGelesen()
    {
        const QByteArray bytes = beispiel.toLatin1();
        const GelesenerCode g = dataMatrixLesen(dataMatrixBild(dataMatrixKodieren(bytes), 4, 3));
        QCOMPARE(g.inhalte, QVector<QByteArray>{bytes});
    }

    void symbolGroesse() { QCOMPARE(dataMatrixKodieren(beispiel.toLatin1()).module, 96); }

    void bildOhneCode()
    {
        QImage leer(400, 400, QImage::Format_Grayscale8);
        leer.fill(Qt::white);
        QCOMPARE(dataMatrixLesen(leer).fehler.contains(QStringLiteral("kein DataMatrix-Code")), true);
    }

    void riesigesBild()
    {
        // 50 megapixels are refused before anything is decoded.
        QImage gross(10000, 5000, QImage::Format_Grayscale8);
        QCOMPARE(dataMatrixLesen(gross).fehler.contains(QStringLiteral("50 Megapixeln")), true);
    }

    void abbrechen()
    {
        const GelesenerCode g = dataMatrixLesen(dataMatrixBild(dataMatrixKodieren("x"), 4, 3),
                                                [](int, int) { return false; });
        QCOMPARE(g.abgebrochen, true);
    }
};

QTEST_MAIN(BmpSchreibenTest)
#include "tst_bmpschreiben.moc"
