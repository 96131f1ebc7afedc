// Stock as of today and the overview figures, without a window.
#include "intake/bestand.h"

#include <QTest>
#include <cmath>

namespace {
const QDate heute(2026, 12, 6);
}

class BestandTest : public QObject
{
    Q_OBJECT
private slots:
    void bestandHeute()
    {
        // 30 units counted 10 days ago, one in the morning and one in the evening.
        Bestand b = bestandBerechnen(30, 1, 0, 1, 0, heute.addDays(-10), heute);
        QCOMPARE(b.verbrauch, 2.0f);
        QCOMPARE(b.tage, 10);
        QCOMPARE(bestandText(b.heute), QStringLiteral("10"));
        QCOMPARE(bestandText(b.reichweite), QStringLiteral("5"));

        // Counted in the future: the days count back, the stock is larger.
        b = bestandBerechnen(30, 1, 0, 1, 0, heute.addDays(3), heute);
        QCOMPARE(b.tage, -3);
        QCOMPARE(bestandText(b.heute), QStringLiteral("36"));
        QCOMPARE(bestandText(b.reichweite), QStringLiteral("18"));

        // No counting day: nothing used yet.
        b = bestandBerechnen(30, 1, 0, 1, 0, QDate(), heute);
        QCOMPARE(b.tage, 0);
        QCOMPARE(bestandText(b.heute), QStringLiteral("30"));

        // Each step is rounded to single precision: 0.1 a day for 3 days is
        // 0.3f (0.300000012), and the range is the double quotient of floats.
        b = bestandBerechnen(1, 0.1f, 0, 0, 0, heute.addDays(-3), heute);
        QCOMPARE(b.heute, 1.0f - 3.0f * 0.1f);
        QCOMPARE(b.reichweite, static_cast<double>(1.0f - 3.0f * 0.1f) / static_cast<double>(0.1f));
        QCOMPARE(bestandText(b.reichweite), QStringLiteral("7"));
        b = bestandBerechnen(10, 1.0f / 3.0f, 0, 0, 0, heute, heute);
        QCOMPARE(bestandText(b.reichweite), QStringLiteral("30"));
        b = bestandBerechnen(27.9f, 1, 0, 0, 0, heute, heute);
        QCOMPARE(bestandText(b.reichweite), QStringLiteral("27.9"));

        // Without consumption the quotient is what the cache holds as text.
        QCOMPARE(bestandText(bestandBerechnen(5, 0, 0, 0, 0, heute, heute).reichweite), QStringLiteral("inf"));
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
        QTest::newRow("Beispiel 11 Tage") << "11" << "1.6 Wochen" << 10 << 18 << "reicht noch 11 Tage" << true;
        QTest::newRow("genau 60") << "60" << "8.6 Wochen" << 59 << 99 << "reicht noch 60 Tage" << false;
        QTest::newRow("60.5") << "60.5" << "8.6 Wochen" << 59 << 100 << "reicht noch \u00FCber 60 Tage" << false;
        QTest::newRow("28 ist vier Wochen") << "28" << "4.0 Wochen" << 27 << 46 << "reicht noch 28 Tage" << false;
        QTest::newRow("27.9") << "27.9" << "4.0 Wochen" << 26 << 46 << "reicht noch 27.9 Tage" << true;
        QTest::newRow("10.7 abgeschnitten") << "10.7" << "1.5 Wochen" << 9 << 17 << "reicht noch 10.7 Tage" << true;
        QTest::newRow("1 Tag") << "1" << "0.1 Wochen" << 0 << 1 << "reicht noch 1 Tage" << true;
        QTest::newRow("halber Tag") << "0.5" << "0.1 Wochen" << 0 << 0 << "reicht noch 0.5 Tage" << true;
        QTest::newRow("aufgebraucht") << "-3.2" << "-0.5 Wochen" << -4 << 0 << "reicht noch -3.2 Tage" << true;
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
        QVERIFY(!r.ohneVerbrauch);
        QCOMPARE(r.wochenText, wochen);
        QCOMPARE(r.reichtBis, heute.addDays(bisTag));
        QCOMPARE(r.reichtBisText, heute.addDays(bisTag).toString(QStringLiteral("dd.MM.yyyy")));
        QCOMPARE(r.balken, balken);
        QCOMPARE(r.balkenText, QStringLiteral("Tabs")); // also on an empty bar
        QCOMPARE(r.hinweis, hinweis);
        QCOMPARE(r.gelb, gelb);
        QVERIFY(!r.rot); // no appointment, no red
    }

    void roteMarke()
    {
        auto rot = [](const char *tage, const QDate &termin) {
            return reichweiteBerechnen(QString::fromLatin1(tage), 1, QString(), heute, termin).rot;
        };
        // Appointment today: out of stock from yesterday is red, until today is not.
        QVERIFY(rot("0", heute));
        QVERIFY(!rot("1", heute));
        // Appointment in 14 days against a stock for 11 days (today + 10).
        QVERIFY(rot("11", heute.addDays(14)));
        QVERIFY(!rot("15", heute.addDays(14)));
        QVERIFY(rot("-5", heute.addDays(14)));
        // A past appointment or none at all never gives red.
        QVERIFY(!rot("0", heute.addDays(-1)));
        QVERIFY(!rot("-5", QDate()));
        // Red and yellow are judged separately; the overview lets red win.
        const Reichweite r = reichweiteBerechnen(QStringLiteral("11"), 1, QString(), heute, heute.addDays(14));
        QVERIFY(r.rot && r.gelb);
    }

    void ohneVerbrauch()
    {
        // Aids and paused lines: whatever the cache holds, no warning.
        for (const char *tage : {"inf", "-inf", "nan"}) {
            const Reichweite r =
                reichweiteBerechnen(QString::fromLatin1(tage), 0, QStringLiteral("Nadeln"), heute, heute.addDays(3));
            QVERIFY(r.ohneVerbrauch);
            QCOMPARE(r.wochenText, QStringLiteral("unbegrenzt"));
            QVERIFY(!r.reichtBis.isValid());
            QVERIFY(r.reichtBisText.isEmpty());
            QVERIFY(!r.gelb);
            QVERIFY(!r.rot);
            QCOMPARE(r.balken, 100);
            QCOMPARE(r.balkenText, QStringLiteral("Nadeln"));
            QCOMPARE(r.hinweis, QStringLiteral("kein t\u00E4glicher Verbrauch"));
        }
        QCOMPARE(tagesverbrauch(QStringLiteral("0"), QString(), QStringLiteral("0"), QStringLiteral("0")), 0.0f);
        QCOMPARE(tagesverbrauch(QStringLiteral("1"), QStringLiteral("0.5"), QStringLiteral("0"), QStringLiteral("2")),
                 3.5f);
    }
};

QTEST_APPLESS_MAIN(BestandTest)
#include "tst_bestand.moc"
