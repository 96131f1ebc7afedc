#include "testhilfe.h"
#include "text/textformat.h"

#include <QTest>

class TextTest : public QObject
{
    Q_OBJECT
private slots:
    void umlautMarken()
    {
        QCOMPARE(umlauteErsetzen(QStringLiteral("Stra:sz:e:")), QStringLiteral("Stra\u00DFe:"));
        QCOMPARE(umlauteErsetzen(QStringLiteral(":Ue:bersicht")), QStringLiteral("\u00DCbersicht"));
        QCOMPARE(umlauteErsetzen(QStringLiteral(":ae::oe::ue::Ae::Oe::Ue::sz:")),
                 QStringLiteral("\u00E4\u00F6\u00FC\u00C4\u00D6\u00DC\u00DF"));
        // Other letter case and split markers stay as they are.
        QCOMPARE(umlauteErsetzen(QStringLiteral(":AE: :OE: :a e:")), QStringLiteral(":AE: :OE: :a e:"));
        QCOMPARE(umlauteErsetzen(QStringLiteral("Kalvoria")), QStringLiteral("Kalvoria"));
    }

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
        QTest::newRow("zehntel") << 0.1f << "0.1";
        QTest::newRow("gross") << 120.0f << "120";
    }
    void mengen()
    {
        QFETCH(float, wert);
        QFETCH(QString, text);
        QCOMPARE(mengeFormatieren(wert), text);
    }

    void datum()
    {
        const QDateTime mittag(QDate(2017, 3, 1), QTime(12, 0));
        QCOMPARE(datumAusZeit(static_cast<unsigned>(mittag.toSecsSinceEpoch())), QStringLiteral("01.03.2017"));
    }

    void zahlen()
    {
        QCOMPARE(zahlLesen(QStringLiteral("2,5")).value_or(-1), 2.5);
        QCOMPARE(zahlLesen(QStringLiteral("2.5")).value_or(-1), 2.5);
        QCOMPARE(zahlLesen(QStringLiteral(" 20 ")).value_or(-1), 20.0);
        QVERIFY(!zahlLesen(QString()).has_value());
        QVERIFY(!zahlLesen(QStringLiteral("zwanzig")).has_value());
        QVERIFY(!zahlLesen(QStringLiteral("1.000,5")).has_value());
        QVERIFY(!zahlLesen(QStringLiteral("inf")).has_value());
    }
};

QTEST_MAIN(TextTest)
#include "tst_text.moc"
