// SPDX-License-Identifier: GPL-3.0-or-later
// Stock as of today and the overview figures, without a window.
#include "intake/bestand.h"

#include <QTest>
#include <limits>

namespace {
const QDate heute(2026, 12, 6);

QString bestand(float stand, float morgen, const QDate &tag)
{
    const Bestand b = bestandBerechnen(stand, morgen, 0, morgen, 0, tag, heute);
    return bestandText(b.heute) + QLatin1Char('/') + bestandText(b.reichweite);
}
} // namespace

class BestandTest : public QObject
{
    Q_OBJECT
private slots:
    void bestandHeute()
    {
        // 30 units at 1-0-1-0 counted 10 days ago, in 3 days' time, on no day;
        // without consumption the cache holds what the division gives; six
        // digits, not the float's tail.
        QCOMPARE(
            QStringList({bestand(30, 1, heute.addDays(-10)), bestand(30, 1, heute.addDays(3)), bestand(30, 1, QDate()),
                         bestand(-5, 0, heute), bestand(0, 0, heute), bestand(27.9f, 0.5f, heute)})
                .join(' '),
            QStringLiteral("10/5 36/18 30/15 -5/-inf 0/nan 27.9/27.9"));
        // Each step is rounded to single precision; the range is the double
        // quotient of the two floats. Files written earlier hold such figures.
        const Bestand b = bestandBerechnen(1, 0.1f, 0, 0, 0, heute.addDays(-3), heute);
        QCOMPARE(b.heute, 1.0f - 3.0f * 0.1f);
        QCOMPARE(b.reichweite, static_cast<double>(1.0f - 3.0f * 0.1f) / static_cast<double>(0.1f));
    }

    // Offered back in the assignment window, the stock must read as typed
    // numbers do: six digits, but no exponent.
    void ohneExponent()
    {
        QCOMPARE(QStringList({bestandText(1000000), bestandText(-1234567), bestandText(-2.2e-8), bestandText(0.00012)})
                     .join(' '),
                 QStringLiteral("1000000 -1234570 0 0.00012"));
    }

    // Stored stand, day and doses: each reason in the line's text, each dose's own.
    void gespeicherteWerte_data()
    {
        QTest::addColumn<QVariant>("stand");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QVariant>("morgen");
        QTest::addColumn<QString>("fehler");
        const QVariant tag(QStringLiteral("2026-12-01"));
        QTest::newRow("gueltig") << QVariant(30.0) << tag << QVariant(qlonglong(1)) << QString();
        QTest::newRow("untere Grenze") << QVariant(-100000.0) << tag << QVariant(100.0) << QString();
        QTest::newRow("obere Grenze") << QVariant(1000000.0) << tag << QVariant(0.0) << QString();
        QTest::newRow("1e20") << QVariant(1e20) << tag << QVariant(1.0)
                              << "Bestand 1e+20 liegt au\u00DFerhalb von -100000 bis 1000000";
        QTest::newRow("zu wenig") << QVariant(-100000.5) << tag << QVariant(1.0)
                                  << "Bestand -100000.5 liegt au\u00DFerhalb von -100000 bis 1000000";
        QTest::newRow("unendlich") << QVariant(std::numeric_limits<double>::infinity()) << tag << QVariant(1.0)
                                   << "Bestand inf liegt au\u00DFerhalb von -100000 bis 1000000";
        QTest::newRow("Text") << QVariant(QStringLiteral("viel")) << tag << QVariant(1.0)
                              << "Bestand \u201Eviel\u201C ist keine Zahl";
        QTest::newRow("NULL") << QVariant() << QVariant() << QVariant()
                              << "Bestand fehlt\nDatum des Bestands fehlt\nDosis Morgen fehlt";
        QTest::newRow("negativ") << QVariant(30.0) << tag << QVariant(-1.0)
                                 << "Dosis Morgen -1 liegt au\u00DFerhalb von 0 bis 100";
        QTest::newRow("ueber 100") << QVariant(30.0) << tag << QVariant(100.5)
                                   << "Dosis Morgen 100.5 liegt au\u00DFerhalb von 0 bis 100";
        QTest::newRow("Komma") << QVariant(30.0) << tag << QVariant(QStringLiteral("1,5"))
                               << "Dosis Morgen \u201E1,5\u201C ist keine Zahl";
        QTest::newRow("gestern") << QVariant(30.0) << QVariant(QStringLiteral("gestern")) << QVariant(1.0)
                                 << "Datum des Bestands \u201Egestern\u201C ist kein Datum";
        QTest::newRow("mit Uhrzeit") << QVariant(30.0) << QVariant(QStringLiteral("2026-12-01T08:00")) << QVariant(1.0)
                                     << "Datum des Bestands \u201E2026-12-01T08:00\u201C ist kein Datum";
        QTest::newRow("Zahl als Tag") << QVariant(30.0) << QVariant(qlonglong(20261201)) << QVariant(1.0)
                                      << "Datum des Bestands \u201E20261201\u201C ist kein Datum";
    }
    void gespeicherteWerte()
    {
        QFETCH(QVariant, stand);
        QFETCH(QVariant, tag);
        QFETCH(QVariant, morgen);
        QFETCH(QString, fehler);
        const Zeilenpruefung p = zeilePruefen(stand, tag, {morgen, 0.0, 0.5, 0.0});
        QCOMPARE(p.fehler, fehler);
        const QString dosis = fehler.section('\n', -1);
        QCOMPARE(p.dosen, (QStringList{dosis.startsWith("Dosis") ? dosis : QString(), "", "", ""}));
    }

    // The day of the count in the program's own form is checked and read
    // without the parsers, with their verdict and day; anything else is theirs.
    void tagWieDerParser_data()
    {
        QTest::addColumn<QString>("tag");
        for (const char *tag : {"2026-12-06", "2024-02-29", "2026-02-29", "0000-01-01", "0001-01-01", "9999-12-31",
                                "2026-13-01", "2026-00-10", "2026-12-32", "2026-12-00", "2026-1-05", "2026-12-6",
                                " 2026-12-06", "2026-12-06 ", "2026/12/06", "+026-12-06", "2026-12-0a"})
            QTest::newRow(tag) << QString::fromLatin1(tag);
        QTest::newRow("breite Ziffern") << QStringLiteral("２０２６-12-06");
    }
    void tagWieDerParser()
    {
        QFETCH(QString, tag);
        const bool gueltig = QDate::fromString(tag, QStringLiteral("yyyy-MM-dd")).isValid();
        QCOMPARE(tagPruefen(tag).isEmpty(), gueltig);
        if (gueltig)
            QCOMPARE(tagLesen(tag), QVariant(tag).toDate());
    }

    // Whenever a range is taken to last without its cached text, the
    // overview's own rule, from that text, gives a last day no earlier.
    void reichtGewiss_data()
    {
        QTest::addColumn<qint64>("tage");
        for (qint64 tage : {0, 1, 27, 28, 1000, 99999})
            QTest::newRow(qPrintable(QString::number(tage))) << tage;
    }
    void reichtGewiss()
    {
        QFETCH(qint64, tage);
        const QDate ziel = heute.addDays(tage);
        for (int i = -300; i <= 300; ++i) {
            const double reichweite = static_cast<double>(tage) + 2.0 + i / 100.0;
            if (!reichtGewissBis(reichweite, tage))
                continue;
            const Reichweite r = reichweiteBerechnen(bestandText(reichweite), 1, QString(), heute, QDate());
            QVERIFY2(r.reichtBis >= ziel, qPrintable(QString::number(reichweite, 'f', 2)));
        }
        QVERIFY(reichtGewissBis(static_cast<double>(tage) + 2.0, tage));
        QVERIFY(!reichtGewissBis(static_cast<double>(tage) + 1.99, tage));
    }

    // Ranges beyond what six digits tell apart are never taken as lasting.
    void reichtGewissNichtUeberSechsStellen()
    {
        const qint64 tage = 10000000;
        const double reichweite = static_cast<double>(tage) + 2.0;
        QVERIFY(reichweiteBerechnen(bestandText(reichweite), 1, QString(), heute, QDate()).reichtBis <
                heute.addDays(tage));
        QVERIFY(!reichtGewissBis(reichweite, tage));
    }

    // No figure, mark or bar for a line whose stored values cannot be used.
    void ungueltig()
    {
        const Reichweite r = reichweiteUngueltig(QStringLiteral("Tabs"), QStringLiteral("Bestand fehlt"));
        QCOMPARE(QStringList({r.wochenText, r.reichtBisText, QString::number(r.balken), r.balkenText, r.hinweis,
                              QString::number(r.gelb || r.rot || r.ohneVerbrauch)})
                     .join('|'),
                 QStringLiteral("ung\u00FCltig|ung\u00FCltig|0|Tabs|Bestand fehlt|0"));
    }

    void reichweite_data()
    {
        QTest::addColumn<QString>("tage");
        // weeks | last day (days after today) | bar | tool tip | yellow
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("60") << "60"
                            << "8.6 Wochen|59|99|reicht noch 60 Tage|0";
        QTest::newRow("60.5") << "60.5"
                              << "8.6 Wochen|59|100|reicht noch \u00FCber 60 Tage|0";
        QTest::newRow("28") << "28"
                            << "4.0 Wochen|27|46|reicht noch 28 Tage|0";
        QTest::newRow("27.9") << "27.9"
                              << "4.0 Wochen|26|46|reicht noch 27.9 Tage|1";
        QTest::newRow("-3.2") << "-3.2"
                              << "-0.5 Wochen|-4|0|reicht noch -3.2 Tage|1";
        QTest::newRow("keine endliche Zahl") << "inf"
                                             << "0.0 Wochen|-1|0|reicht noch 0 Tage|1";
    }
    void reichweite()
    {
        QFETCH(QString, tage);
        QFETCH(QString, erwartet);
        const Reichweite r = reichweiteBerechnen(tage, 2, QStringLiteral("Tabs"), heute, QDate());
        const QString tag = QString::number(heute.daysTo(r.reichtBis));
        QCOMPARE(
            QStringList({r.wochenText, tag, QString::number(r.balken), r.hinweis, QString::number(r.gelb)}).join('|'),
            erwartet);
    }

    void roteMarke()
    {
        auto rot = [](const char *tage, const QDate &termin) {
            return reichweiteBerechnen(QString::fromLatin1(tage), 1, QString(), heute, termin).rot ? 'R' : '-';
        };
        // Out since yesterday / after today with a visit today, out before and
        // after a visit in 14 days, a past visit, none.
        const char gesehen[] = {rot("0", heute),
                                rot("1", heute),
                                rot("11", heute.addDays(14)),
                                rot("15", heute.addDays(14)),
                                rot("-5", heute.addDays(-1)),
                                rot("-5", QDate()),
                                0};
        QCOMPARE(QByteArray(gesehen), QByteArray("R-R---"));
        // Without consumption there is nothing to warn of, and the bar is full.
        const Reichweite r = reichweiteBerechnen(QStringLiteral("-inf"), 0, QStringLiteral("Nadeln"), heute, heute);
        QVERIFY(r.ohneVerbrauch && !r.gelb && !r.rot && !r.reichtBis.isValid() && r.balken == 100);
    }
};

QTEST_GUILESS_MAIN(BestandTest)
#include "tst_bestand.moc"
