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

    void zahlen()
    {
        QCOMPARE(zahlLesen(QStringLiteral("2,5")).value_or(-1), 2.5);
        QCOMPARE(zahlLesen(QStringLiteral(" 2.5 ")).value_or(-1), 2.5);
        // Empty, words, ambiguous grouping and infinity are no numbers.
        for (const char *kein : {"", "zwanzig", "1.000,5", "inf"})
            QVERIFY2(!zahlLesen(QString::fromLatin1(kein)).has_value(), kein);
    }
};

QTEST_MAIN(TextTest)
#include "tst_text.moc"
