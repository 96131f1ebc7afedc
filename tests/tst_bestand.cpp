// SPDX-License-Identifier: GPL-3.0-or-later
// Stock as of today and the range figures: computed without a window, and
// as the overview and the regulation plan show them.
#include "einnahmedaten.h"
#include "intake/bestand.h"

#include <QRandomGenerator>

#include <cmath>
#include <limits>

namespace {

// Counted vorTagen ago (none: no day) at morgen twice a day.
struct Zaehlung {
    const char *name;
    float stand, morgen;
    QVariant vorTagen;
    const char *heute, *reichweite;
};

struct Gespeichert {
    const char *name;
    QVariant stand, tag, morgen;
    QString fehler;
};

// Days of stock at two units a day (the name), a family-doctor visit in days
// ("": none), and what follows: weeks, last day (days from today), bar, tool
// tip, marks.
struct Reichweitenfall {
    const char *name, *termin, *wochen;
    int bis, balken;
    const char *hinweis;
    bool gelb, rot;
};

// One line of Ramilich 5 counted vorTagen ago; the overview's cells (stock,
// weeks, last day, mark, bar value, text and tool tip) and the plan's, "|"
// between them.
struct Zeile {
    const char *name;
    double stand;
    int vorTagen;
    const char *dosen;
    int hilfe;
    bool packung;
    const char *uebersicht, *plan;
};

} // namespace

Q_DECLARE_METATYPE(Zaehlung)
Q_DECLARE_METATYPE(Gespeichert)
Q_DECLARE_METATYPE(Reichweitenfall)
Q_DECLARE_METATYPE(Zeile)

class BestandTest : public QObject
{
    Q_OBJECT
private slots:
    // Without consumption the range holds what the division gives; six
    // digits, not the float's tail.
    void bestandHeute_data()
    {
        faelle<Zaehlung>({{"vor zehn Tagen", 30, 1, 10, "10", "5"},
                          {"in drei Tagen", 30, 1, -3, "36", "18"},
                          {"ohne Tag", 30, 1, QVariant(), "30", "15"},
                          {"unter null, ohne Verbrauch", -5, 0, 0, "-5", "-inf"},
                          {"leer, ohne Verbrauch", 0, 0, 0, "0", "nan"},
                          {"Bruchteile", 27.9f, 0.5f, 0, "27.9", "27.9"}});
    }
    void bestandHeute()
    {
        QFETCH(Zaehlung, fall);
        const QDate tag = fall.vorTagen.isNull() ? QDate() : heute.addDays(-fall.vorTagen.toInt());
        const Bestand b = bestandBerechnen(fall.stand, fall.morgen, 0, fall.morgen, 0, tag, heute);
        QCOMPARE(bestandText(b.heute), fall.heute);
        QCOMPARE(bestandText(b.reichweite), fall.reichweite);
    }

    // Each step is rounded to single precision; the range is the double
    // quotient of the two floats. Files written earlier hold such figures.
    void einfacheGenauigkeit()
    {
        const Bestand b = bestandBerechnen(1, 0.1f, 0, 0, 0, heute.addDays(-3), heute);
        QCOMPARE(b.heute, 1.0f - 3.0f * 0.1f);
        QCOMPARE(b.reichweite, static_cast<double>(1.0f - 3.0f * 0.1f) / static_cast<double>(0.1f));
    }

    // Offered back in the assignment window, the stock must read as typed
    // numbers do: six digits, but no exponent.
    void ohneExponent()
    {
        QCOMPARE(bestandText(1000000), "1000000");
        QCOMPARE(bestandText(-1234567), "-1234570");
        QCOMPARE(bestandText(-2.2e-8), "0");
        QCOMPARE(bestandText(0.00012), "0.00012");
    }

    // Stored stand, day and doses: each reason in the line's text, each dose's own.
    void gespeicherteWerte_data()
    {
        const QVariant tag("2026-12-01");
        const QString ausserhalb = " liegt au\u00DFerhalb von ";
        faelle<Gespeichert>(
            {{"gueltig", 30.0, tag, qlonglong(1), ""},
             {"untere Grenze", -100000.0, tag, 100.0, ""},
             {"obere Grenze", 1000000.0, tag, 0.0, ""},
             {"1e20", 1e20, tag, 1.0, "Bestand 1e+20" + ausserhalb + "-100000 bis 1000000"},
             {"zu wenig", -100000.5, tag, 1.0, "Bestand -100000.5" + ausserhalb + "-100000 bis 1000000"},
             {"unendlich", std::numeric_limits<double>::infinity(), tag, 1.0,
              "Bestand inf" + ausserhalb + "-100000 bis 1000000"},
             {"Text", "viel", tag, 1.0, "Bestand \u201Eviel\u201C ist keine Zahl"},
             {"NULL", {}, {}, {}, "Bestand fehlt\nDatum des Bestands fehlt\nDosis Morgen fehlt"},
             {"negativ", 30.0, tag, -1.0, "Dosis Morgen -1" + ausserhalb + "0 bis 100"},
             {"ueber 100", 30.0, tag, 100.5, "Dosis Morgen 100.5" + ausserhalb + "0 bis 100"},
             {"Komma", 30.0, tag, "1,5", "Dosis Morgen \u201E1,5\u201C ist keine Zahl"},
             {"gestern", 30.0, "gestern", 1.0, "Datum des Bestands \u201Egestern\u201C ist kein Datum"},
             {"mit Uhrzeit", 30.0, "2026-12-01T08:00", 1.0,
              "Datum des Bestands \u201E2026-12-01T08:00\u201C ist kein Datum"},
             {"Zahl als Tag", 30.0, qlonglong(20261201), 1.0,
              "Datum des Bestands \u201E20261201\u201C ist kein Datum"}});
    }
    void gespeicherteWerte()
    {
        QFETCH(Gespeichert, fall);
        const Zeilenpruefung p = zeilePruefen(fall.stand, fall.tag, {fall.morgen, 0.0, 0.5, 0.0});
        QCOMPARE(p.fehler, fall.fehler);
        const QString dosis = fall.fehler.section('\n', -1);
        QCOMPARE(p.dosen, (QStringList{dosis.startsWith("Dosis") ? dosis : QString(), "", "", ""}));
        QCOMPARE(zeileGueltig(fall.stand, fall.tag, {fall.morgen, 0.0, 0.5, 0.0}), fall.fehler.isEmpty());
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
        QCOMPARE(tagGueltig(tag), gueltig);
        if (gueltig)
            QCOMPARE(tagLesen(tag), QVariant(tag).toDate());
        QDate gelesen;
        if (zeileGueltig(1.0, tag, {1.0, 0.0, 0.0, 0.0}, &gelesen))
            QCOMPARE(gelesen, tagLesen(tag));
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

    // Where the last day and the yellow mark come without the cached text,
    // they are those the overview reads from it; near a whole day or four
    // weeks, where its six digits can tip them, the text decides.
    void reichweiteOhneText_data()
    {
        QTest::addColumn<double>("mitte");
        for (double mitte : {-99999.0, -3.0, -1.0, -0.5, 0.0, 0.001, 0.5, 1.0, 2.0, 27.0, 28.0, 29.0, 99.0, 1000.0,
                             12345.5, 99999.0, 100000.0})
            QTest::newRow(qPrintable(QString::number(mitte))) << mitte;
    }
    void reichweiteOhneText()
    {
        QFETCH(double, mitte);
        for (double schritt : {1e-9, 1e-7, 2e-6, 5e-6, 1e-5, 1e-3, 0.1, 0.25}) {
            for (int k = -8; k <= 8; ++k) {
                const double reichweite = mitte + k * schritt * qMax(1.0, std::abs(mitte));
                const std::optional<ReichweiteTage> r = ::reichweiteOhneText(reichweite, 1, heute);
                if (!r)
                    continue;
                const Reichweite text = reichweiteZahlen(bestandText(reichweite), 1, heute, QDate());
                const QString wo = QString::number(reichweite, 'g', 17);
                QVERIFY2(r->reichtBis == text.reichtBis, qPrintable(wo));
                QVERIFY2(r->gelb == text.gelb, qPrintable(wo));
            }
        }
    }

    // The ranges of lines as the stock computes them, from their single
    // precision figures.
    void reichweiteOhneTextWieGerechnet()
    {
        QRandomGenerator zufall(7);
        for (int i = 0; i < 20000; ++i) {
            const float stand = static_cast<float>(zufall.bounded(-2000, 20000)) / (1 + zufall.bounded(4));
            const float dosis = static_cast<float>(zufall.bounded(1, 40)) / (1 + zufall.bounded(10));
            const Bestand b = bestandBerechnen(stand, dosis, 0, dosis / 3, 0, heute.addDays(-zufall.bounded(400)),
                                               heute);
            const std::optional<ReichweiteTage> r = ::reichweiteOhneText(b.reichweite, b.verbrauch, heute);
            if (!r)
                continue;
            const Reichweite text = reichweiteZahlen(bestandText(b.reichweite), b.verbrauch, heute, QDate());
            const QString wo = QString::number(b.reichweite, 'g', 17);
            QVERIFY2(r->reichtBis == text.reichtBis, qPrintable(wo));
            QVERIFY2(r->gelb == text.gelb, qPrintable(wo));
        }
    }

    // A range halfway between two days needs no text; one a ten-millionth
    // short of a whole day does, as its text is the whole day.
    void reichweiteOhneTextNurWoEindeutig()
    {
        QVERIFY(::reichweiteOhneText(4.5, 1, heute));
        QVERIFY(!::reichweiteOhneText(5 - 1e-7, 1, heute));
        QVERIFY(!::reichweiteOhneText(28 - 1e-7, 1, heute));
        QVERIFY(!::reichweiteOhneText(4.5, 0, heute));
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

    // Yellow for less than four weeks; red for a stock that ends before the visit.
    void reichweite_data()
    {
        faelle<Reichweitenfall>({{"60", "", "8.6 Wochen", 59, 99, "reicht noch 60 Tage", false, false},
                                 {"60.5", "", "8.6 Wochen", 59, 100, "reicht noch \u00FCber 60 Tage", false, false},
                                 {"28", "", "4.0 Wochen", 27, 46, "reicht noch 28 Tage", false, false},
                                 {"27.9", "", "4.0 Wochen", 26, 46, "reicht noch 27.9 Tage", true, false},
                                 {"-3.2", "", "-0.5 Wochen", -4, 0, "reicht noch -3.2 Tage", true, false},
                                 {"inf", "", "0.0 Wochen", -1, 0, "reicht noch 0 Tage", true, false},
                                 {"0", "0", "0.0 Wochen", -1, 0, "reicht noch 0 Tage", true, true},
                                 {"1", "0", "0.1 Wochen", 0, 1, "reicht noch 1 Tage", true, false},
                                 {"11", "14", "1.6 Wochen", 10, 18, "reicht noch 11 Tage", true, true},
                                 {"15", "14", "2.1 Wochen", 14, 24, "reicht noch 15 Tage", true, false},
                                 {"-5", "-1", "-0.7 Wochen", -6, 0, "reicht noch -5 Tage", true, false}});
    }
    void reichweite()
    {
        QFETCH(Reichweitenfall, fall);
        const QString termin = fall.termin;
        const Reichweite r = reichweiteBerechnen(fall.name, 2, "Tabs", heute,
                                                 termin.isEmpty() ? QDate() : heute.addDays(termin.toInt()));
        QCOMPARE(r.wochenText, fall.wochen);
        QCOMPARE(heute.daysTo(r.reichtBis), fall.bis);
        QCOMPARE(r.balken, fall.balken);
        QCOMPARE(r.hinweis, fall.hinweis);
        QCOMPARE(r.gelb, fall.gelb);
        QCOMPARE(r.rot, fall.rot);
    }

    // With a family-doctor visit today, a stock that ended before today is
    // red; one without consumption is never marked, its bar full.
    void uebersicht_data()
    {
        faelle<Zeile>({
            {"Beispiel", 30, 4, "1 0 1 0", 0, true, "22|1.6 Wochen|16.12.2026|gelb|18|Ramilich 5|reicht noch 11 Tage",
             "Ramipril|5 mg|1|0|1|0"},
            {"Hilfsmittel", 100, 9, "0 0 0 0", 1, true, "100|unbegrenzt|||100|Ramilich 5|kein t\u00E4glicher Verbrauch",
             ""},
            {"aufgebraucht", 10, 30, "0.5 0 0.5 0", 0, true,
             "-20|-2.9 Wochen|15.11.2026|rot|0|Ramilich 5|reicht noch -20 Tage", "Ramipril|5 mg|1/2|0|1/2|0"},
            {"pausiert", 0, 0, "0 0 0 0", 0, true, "0|unbegrenzt|||100|Ramilich 5|kein t\u00E4glicher Verbrauch",
             "Ramipril|5 mg|0|0|0|0"},
            {"leer seit gestern", 0, 0, "1 0 0 0", 0, true,
             "0|0.0 Wochen|05.12.2026|rot|0|Ramilich 5|reicht noch 0 Tage", "Ramipril|5 mg|1|0|0|0"},
            {"Packung geloescht", 30, 0, "0 1.5 0 0.5", 0, false,
             "30|2.1 Wochen|20.12.2026|gelb|24||reicht noch 15 Tage", "||0|1.5|0|1/2"},
        });
    }
    void uebersicht()
    {
        QFETCH(Zeile, fall);
        Welt t;
        const int sorte = t.packung("Ramipril", "Ramilich 5");
        const QStringList d = QString(fall.dosen).split(' ');
        const int berg = t.patient("Berg");
        t.termin(berg, "Hausarzt", heute);
        t.einnahme(berg, fall.packung ? sorte : 999, heute.addDays(-fall.vorTagen), fall.stand, d[0].toDouble(),
                   d[1].toDouble(), d[2].toDouble(), d[3].toDouble(), 1, fall.hilfe);
        t.starten();
        QTableWidget *u = t.tabelle("tabelleUebersicht");
        QProgressBar *b = balken(u, 0);
        QCOMPARE((QStringList{u->item(0, 2)->text(), u->item(0, 3)->text(), u->item(0, 4)->text(), marke(u, 0),
                              QString::number(b->value()), b->text(), b->toolTip()}),
                 teile(fall.uebersicht));
        QTableWidget *p = t.tabelle("tabelleVerordnungsplan");
        QStringList plan;
        for (int s = 0; p->rowCount() > 0 && s < p->columnCount(); ++s)
            plan << p->item(0, s)->text();
        QCOMPARE(plan, teile(fall.plan));
        QCOMPARE(t.env.meldungen, QStringList());
    }
};

QTEST_MAIN(BestandTest)
#include "tst_bestand.moc"
