// Stock as of today and the overview figures, without a window.
#include "intake/bestand.h"

#include <QTest>

namespace {
const QDate heute(2026, 12, 6);
}

class BestandTest : public QObject
{
    Q_OBJECT
private slots:
    void bestandHeute()
    {
        // 30 units counted 10 days ago at 1-0-1-0; in 3 days' time; without a day.
        Bestand b = bestandBerechnen(30, 1, 0, 1, 0, heute.addDays(-10), heute);
        QCOMPARE(bestandText(b.heute) + QLatin1Char('/') + bestandText(b.reichweite), QStringLiteral("10/5"));
        b = bestandBerechnen(30, 1, 0, 1, 0, heute.addDays(3), heute);
        QCOMPARE(bestandText(b.heute) + QLatin1Char('/') + bestandText(b.reichweite), QStringLiteral("36/18"));
        QCOMPARE(bestandBerechnen(30, 1, 0, 1, 0, QDate(), heute).heute, 30.0f);

        // Each step is rounded to single precision; the range is the double
        // quotient of the two floats.
        b = bestandBerechnen(1, 0.1f, 0, 0, 0, heute.addDays(-3), heute);
        QCOMPARE(b.heute, 1.0f - 3.0f * 0.1f);
        QCOMPARE(b.reichweite, static_cast<double>(1.0f - 3.0f * 0.1f) / static_cast<double>(0.1f));
        QCOMPARE(bestandText(bestandBerechnen(27.9f, 1, 0, 0, 0, heute, heute).reichweite), QStringLiteral("27.9"));

        // Without consumption the cache holds what the division gives.
        QCOMPARE(bestandText(bestandBerechnen(-5, 0, 0, 0, 0, heute, heute).reichweite), QStringLiteral("-inf"));
        QCOMPARE(bestandText(bestandBerechnen(0, 0, 0, 0, 0, heute, heute).reichweite), QStringLiteral("nan"));
    }

    void reichweite_data()
    {
        QTest::addColumn<QString>("tage");
        QTest::addColumn<QString>("wochen");
        QTest::addColumn<int>("bisTag"); // days after today
        QTest::addColumn<int>("balken");
        QTest::addColumn<QString>("hinweis");
        QTest::addColumn<bool>("gelb");
        QTest::newRow("60") << "60" << "8.6 Wochen" << 59 << 99 << "reicht noch 60 Tage" << false;
        QTest::newRow("60.5") << "60.5" << "8.6 Wochen" << 59 << 100 << "reicht noch \u00FCber 60 Tage" << false;
        QTest::newRow("28") << "28" << "4.0 Wochen" << 27 << 46 << "reicht noch 28 Tage" << false;
        QTest::newRow("27.9") << "27.9" << "4.0 Wochen" << 26 << 46 << "reicht noch 27.9 Tage" << true;
        QTest::newRow("10.7") << "10.7" << "1.5 Wochen" << 9 << 17 << "reicht noch 10.7 Tage" << true;
        QTest::newRow("0.5") << "0.5" << "0.1 Wochen" << 0 << 0 << "reicht noch 0.5 Tage" << true;
        QTest::newRow("-3.2") << "-3.2" << "-0.5 Wochen" << -4 << 0 << "reicht noch -3.2 Tage" << true;
        QTest::newRow("keine Zahl") << "x" << "0.0 Wochen" << -1 << 0 << "reicht noch 0 Tage" << true;
    }
    void reichweite()
    {
        QFETCH(QString, tage);
        QFETCH(QString, wochen);
        QFETCH(int, bisTag);
        QFETCH(int, balken);
        QFETCH(QString, hinweis);
        QFETCH(bool, gelb);
        const Reichweite r = reichweiteBerechnen(tage, 2, QStringLiteral("Tabs"), heute, QDate());
        QCOMPARE(r.wochenText, wochen);
        QCOMPARE(r.reichtBis, heute.addDays(bisTag));
        QCOMPARE(r.balken, balken);
        QCOMPARE(r.balkenText, QStringLiteral("Tabs"));
        QCOMPARE(r.hinweis, hinweis);
        QCOMPARE(r.gelb, gelb);
        QVERIFY(!r.rot && !r.ohneVerbrauch);
    }

    void roteMarke()
    {
        auto rot = [](const char *tage, const QDate &termin) {
            return reichweiteBerechnen(QString::fromLatin1(tage), 1, QString(), heute, termin).rot;
        };
        QVERIFY(rot("0", heute));   // out since yesterday, visit today
        QVERIFY(!rot("1", heute));  // out after today
        QVERIFY(rot("11", heute.addDays(14)));
        QVERIFY(!rot("15", heute.addDays(14)));
        QVERIFY(!rot("-5", heute.addDays(-1))); // a past visit never
        QVERIFY(!rot("-5", QDate()));
        // Without consumption there is nothing to warn of.
        const Reichweite r = reichweiteBerechnen(QStringLiteral("-inf"), 0, QStringLiteral("Nadeln"), heute, heute);
        QVERIFY(r.ohneVerbrauch && !r.gelb && !r.rot && !r.reichtBis.isValid());
        QCOMPARE(r.balken, 100);
    }
};

QTEST_GUILESS_MAIN(BestandTest)
#include "tst_bestand.moc"
