// SPDX-License-Identifier: GPL-3.0-or-later
#include "testhilfe.h"
#include "text/textformat.h"

#include <QTest>

class TextTest : public QObject
{
    Q_OBJECT
private slots:
    void umlautMarken()
    {
        QCOMPARE(umlauteErsetzen(QStringLiteral("Stra:sz:e: :Ue:bersicht :ae::oe::ue::Ae::Oe::Ue:")),
                 QStringLiteral("Stra\u00DFe: \u00DCbersicht \u00E4\u00F6\u00FC\u00C4\u00D6\u00DC"));
        // Other letter case and split markers stay as they are.
        QCOMPARE(umlauteErsetzen(QStringLiteral(":AE: :OE: :SZ: :a e:")), QStringLiteral(":AE: :OE: :SZ: :a e:"));
    }

    // A dose on a carer's plan must never be rounded to another dose.
    void mengen_data()
    {
        QTest::addColumn<float>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("halb") << 0.5f << "1/2";
        QTest::newRow("eineinhalb") << 1.5f << "1.5";
        QTest::newRow("zweieinhalb") << 2.5f << "2.5";
        QTest::newRow("null") << 0.0f << "0";
        QTest::newRow("minus eins") << -1.0f << "-1";
        QTest::newRow("drei") << 3.0f << "3";
        QTest::newRow("viertel") << 0.25f << "0.25";
        QTest::newRow("eindreiviertel") << 1.75f << "1.75";
        QTest::newRow("drittel") << 1.0f / 3.0f << "0.33";
    }
    void mengen()
    {
        QFETCH(float, wert);
        QFETCH(QString, text);
        QCOMPARE(mengeFormatieren(wert), text);
    }

    // Typed numbers: plain decimals only, each kind within its range. The
    // value read as dose, stock, units per package and bought packages, in
    // this order; "-" where refused.
    void zahlen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gelesen");
        const struct {
            const char *text, *gelesen;
        } faelle[] = {
            {"2,5", "2.5 2.5 2.5 -"},
            {" 2.5 ", "2.5 2.5 2.5 -"},
            {",5", "0.5 0.5 0.5 -"},
            {"+3", "3 3 3 3"},
            {" 3 ", "3 3 3 3"},
            {"1,0", "1 1 1 -"},
            {"0", "0 0 - -"},
            {"-0", "0 0 - -"},
            {"-1", "- -1 - -1"},
            {"0,001", "0.001 0.001 0.001 -"},
            {"100", "100 100 100 100"},
            {"100,01", "- 100.01 100.01 -"},
            {"-0,01", "- -0.01 - -"},
            {"1000", "- 1000 1000 1000"},
            {"1001", "- 1001 1001 -"},
            {"-1000", "- -1000 - -1000"},
            {"-1001", "- -1001 - -"},
            {"100000", "- 100000 100000 -"},
            {"100000,5", "- 100000.5 - -"},
            {"1000000", "- 1000000 - -"},
            {"1000000,1", "- - - -"},
            {"-100000", "- -100000 - -"},
            {"-100000,5", "- - - -"},
            {"99999999999", "- - - -"},
            // No exponent, infinity, grouping, hex, half-written or foreign digits.
            {"", "- - - -"},
            {"zwanzig", "- - - -"},
            {"1e308", "- - - -"},
            {"1e5000", "- - - -"},
            {"1E2", "- - - -"},
            {"1e2", "- - - -"},
            {"inf", "- - - -"},
            {"-inf", "- - - -"},
            {"nan", "- - - -"},
            {"1.000,5", "- - - -"},
            {"1 000", "- - - -"},
            {"2 3", "- - - -"},
            {"0x10", "- - - -"},
            {"5,", "- - - -"},
            {"1,2,3", "- - - -"},
            {"--1", "- - - -"},
            {"- 1", "- - - -"},
            {"1.000", "- - - -"},
            {"12,500", "- - - -"},
            {"0,250", "0.25 0.25 0.25 -"},
            {"1000.500", "- 1000.5 1000.5 -"},
            {"\u0663", "- - - -"},
            {"\uFF13", "- - - -"},
        };
        for (const auto &f : faelle)
            QTest::newRow(f.text) << QString::fromUtf8(f.text) << QString::fromLatin1(f.gelesen);
    }
    void zahlen()
    {
        QFETCH(QString, text);
        QFETCH(QString, gelesen);
        const QStringList erwartet = gelesen.split(' ');
        const Zahlbereich bereiche[] = {Bereich::dosis, Bereich::bestand, Bereich::einheiten, Bereich::packungen};
        const char *namen[] = {"Dosis", "Bestand", "Einheiten", "Packungen"};
        for (int i = 0; i < 4; ++i) {
            const std::optional<double> wert = zahlLesen(text, bereiche[i]);
            const QString ist = wert ? zahlText(*wert) : "-";
            QVERIFY2(ist == erwartet[i], qPrintable(QString("%1: %2, not %3").arg(namen[i], ist, erwartet[i])));
        }
    }

    // A grouping point is named as such, not as a number out of range.
    void tausenderpunkt()
    {
        QVERIFY(zahlFehlerText("Stand", " 1.000 ", Bereich::bestand)
                    .contains("\u201E1.000\u201C kann 1000 oder 1 bedeuten"));
    }
};

QTEST_MAIN(TextTest)
#include "tst_text.moc"
