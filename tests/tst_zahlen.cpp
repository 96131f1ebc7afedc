// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers out of their range: typed ones are refused wherever a number is
// typed, stored ones are shown as invalid instead of as figures.
#include "fensterhilfe.h"

namespace {

const QString ungueltig = QStringLiteral("ung\u00FCltig");

// Berg's one line of Ramilich 5 (20 units a package): 30 units today at 1-0-1-0.
int bergMitRamipril(Welt &t)
{
    return t.einnahme(t.patient(QStringLiteral("Berg")), t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute, 30, 1,
                      0, 1, 0, 1);
}

// Where a number is typed: the field, the main window's button that opens
// its window (none: in the main window), the button that stores, how the
// message names the field and its range, and what the file then holds; "%1"
// stands for the time of day. "Packung" is a new package of Ramipril,
// "Packungsaenderung" its package Ramilich 5 changed.
struct Ort {
    const char *feld, *fenster, *knopf, *angabe, *bereich, *gelesen;
};
const char *const dosis = "eine Zahl von 0 bis 100";
const QHash<QString, Ort> orte{
    {"Zuordnen", {"editZuordnen%1", nullptr, "knopfEintragen", "%1", dosis, "quote(%1) FROM einnahme WHERE id = 2"}},
    {"Zuordnung", {"fenster%1", "knopfZuordnungBearbeiten", "\u00C4ndern", "%1", dosis, "quote(%1) FROM einnahme"}},
    {"Stand",
     {"fensterStand", "knopfZuordnungBearbeiten", "\u00C4ndern", "Stand", "eine Zahl von -100000 bis 1000000",
      "quote(stand) FROM einnahme"}},
    {"Apotheke",
     {"fensterPackungen", "knopfApotheke", "Eintragen", "Packung/en",
      "eine ganze Zahl von 1 bis 1000 oder von -1000 bis -1", "quote(stand) FROM einnahme"}},
    {"Packung",
     {"editSortePackung", nullptr, "knopfSorteEintragen", "Einheiten pro Packung", "eine Zahl \u00FCber 0 bis 100000",
      "quote(packung) FROM sorte WHERE id = 2"}},
    {"Packungsaenderung",
     {"editSorteNeuPackung", nullptr, "knopfSorteAendern", "Einheiten pro Packung", "eine Zahl \u00FCber 0 bis 100000",
      "quote(packung) FROM sorte"}}};

} // namespace

class ZahlenTest : public QObject
{
    Q_OBJECT
private slots:
    // Every field a number is typed into (see orte), the text typed and
    // what the file then holds; "-" for a refusal: the message names field,
    // range and text, the field (and its window) keeps what was typed, and
    // the file what it held.
    void getippt_data()
    {
        QTest::addColumn<QString>("ort");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gespeichert");
        const struct {
            const char *ort, *text, *gespeichert;
        } faelle[] = {
            {"Zuordnen Morgen", "100", "100.0"},
            {"Zuordnen Mittag", ",5", "0.5"},
            {"Zuordnen Abend", "", "0.0"},
            {"Zuordnen Nacht", "100,5", "-"},
            {"Zuordnen Morgen", "1e308", "-"},
            {"Zuordnen Mittag", "-0,5", "-"},
            {"Zuordnen Abend", "1/2", "-"},
            {"Zuordnung Morgen", "eine", "-"},
            {"Zuordnung Mittag", " 1,5 ", "1.5"},
            {"Zuordnung Abend", "", "0.0"},
            {"Zuordnung Nacht", "100.01", "-"},
            {"Stand", "1000000", "1000000.0"},
            {"Stand", "-100000", "-100000.0"},
            {"Stand", "1000000,5", "-"},
            {"Stand", "-100001", "-"},
            {"Stand", "1e20", "-"},
            {"Stand", "zehn", "-"},
            {"Apotheke", "2", "70.0"},
            {"Apotheke", "-1", "10.0"},
            {"Apotheke", "0", "-"},
            {"Apotheke", "1001", "-"},
            {"Apotheke", "-1001", "-"},
            {"Apotheke", "2,0", "-"},
            {"Apotheke", "", "-"},
            {"Packung", "2,5", "2.5"},
            {"Packung", "0", "-"},
            {"Packung", "", "-"},
            {"Packung", "1e5", "-"},
            {"Packungsaenderung", "100000", "100000.0"},
            {"Packungsaenderung", "100000,5", "-"},
            {"Packungsaenderung", "-1", "-"},
        };
        for (const auto &f : faelle)
            QTest::newRow(qPrintable(QString("%1 \u201E%2\u201C").arg(f.ort, f.text)))
                << f.ort << f.text << f.gespeichert;
    }
    void getippt()
    {
        QFETCH(QString, ort);
        QFETCH(QString, text);
        QFETCH(QString, gespeichert);
        const Ort o = orte.value(ort.section(' ', 0, 0));
        const QString zeit = ort.section(' ', 1);
        const QString feldName = QString(o.feld).arg(zeit), knopf = o.knopf,
                      gelesen = "SELECT " + QString(o.gelesen).arg(zeit);
        Welt t;
        bergMitRamipril(t);
        mitListen(t, {});
        zelleKlicken(t.tabelle("tabelleMedikamente"), 0, 1);
        zelleKlicken(t.tabelle("tabelleSorten"), 0, 2);
        t.zeileWaehlen(0);
        t.packungWaehlen("Ramilich 5");
        const QString vorher = t.wert(gelesen).toString();

        QString stehtNoch;
        bool offen = false;
        if (o.fenster) {
            QVERIFY(oeffnen(t, o.fenster, [&](QDialog *d) {
                tippen(teil<QLineEdit>(d, feldName), text);
                druecken(d, knopf);
                stehtNoch = teil<QLineEdit>(d, feldName)->text();
                offen = d->isVisible();
            }));
        } else {
            tippe(t, feldName, text);
            t.knopf(o.knopf);
            stehtNoch = feld(t, feldName);
        }

        if (gespeichert != "-") {
            // The server's column holds a number of its own type, written as it writes numbers.
            QCOMPARE(t.wert(gelesen).toString(),
                     aufServer() ? t.wert("SELECT quote(CAST(? AS DOUBLE PRECISION))", {gespeichert}).toString()
                                 : gespeichert);
            QCOMPARE(t.env.meldungen, QStringList());
            return;
        }
        QCOMPARE(t.wert(gelesen).toString(), vorher);
        QCOMPARE(t.env.meldungen.size(), 1);
        const QString meldung = t.env.meldungen.first();
        QCOMPARE(meldung.section("\n\n", 0, 0), QString("Die Angabe bei \u201E%1\u201C muss %2 sein: \u201E%3\u201C.")
                                                    .arg(QString(o.angabe).arg(zeit), o.bereich, text));
        QVERIFY2(meldung.endsWith("Es wurde nichts gespeichert."), qPrintable(meldung));
        QCOMPARE(stehtNoch, text);
        QCOMPARE(offen, o.fenster != nullptr);
        if (ort.startsWith("Zuordnen"))
            QCOMPARE(t.text("anzeigeZuordnenSorte"), "Ramilich 5");
    }

    // Packages that would take the stock out of its range are not booked.
    void apothekeNichtUeberDenBestand()
    {
        Welt t;
        const int a = bergMitRamipril(t);
        Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = 999990");
        t.starten();
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfApotheke", [](QDialog *d) { druecken(d, "Eintragen"); }));
        QCOMPARE(t.env.meldungen.value(0).section("\n\n", 0, 0),
                 "Mit 1 Packung/en l\u00E4ge der Bestand bei 1000010, au\u00DFerhalb von -100000 bis 1000000.");
        QCOMPARE(zeile(t, a, "stand"), QStringList{"999990"});
    }

    // A stock of 1000000 is offered back as "1000000", not "1e+06", and
    // confirmed as it stands.
    void grosserBestandOhneExponent()
    {
        Welt t;
        bergMitRamipril(t);
        Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = 1000000");
        t.starten();
        t.zeileWaehlen(0);
        QString angeboten;
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            angeboten = teil<QLineEdit>(d, "fensterStand")->text();
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(angeboten, "1000000");
        QCOMPARE(t.env.meldungen, QStringList());
        QCOMPARE(t.text("detailBestand"), "1000000");
    }

    // Stored values out of range or unreadable: "ungültig" wherever a figure
    // would stand, the reason as tool tip, no mark and an empty bar. The
    // pharmacy refuses such a line; the assignment window corrects it.
    void gespeichert_data()
    {
        QTest::addColumn<QVariant>("stand");
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<double>("morgen");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Bestand zu gross")
            << QVariant(1e20) << QVariant(heute) << 1.0 << "Bestand 1e+20 liegt au\u00DFerhalb von -100000 bis 1000000";
        QTest::newRow("Bestand fehlt") << QVariant() << QVariant(heute) << 1.0 << "Bestand fehlt";
        QTest::newRow("Dosis negativ") << QVariant(30) << QVariant(heute) << -1.0
                                       << "Dosis Morgen -1 liegt au\u00DFerhalb von 0 bis 100";
        QTest::newRow("kein Datum") << QVariant(30) << QVariant("gestern") << 1.0
                                    << "Datum des Bestands \u201Egestern\u201C ist kein Datum";
    }
    void gespeichert()
    {
        QFETCH(QVariant, stand);
        QFETCH(QVariant, tag);
        QFETCH(double, morgen);
        QFETCH(QString, grund);
        const bool dosisFalsch = morgen < 0;
        Welt t;
        const int p = t.patient("Berg");
        const int s = t.packung("Ramipril", "Ramilich 5");
        t.einnahme(p, s, heute.addDays(-4), 30, 1, 0, 1, 0, 1); // 22 left for 11 days
        const int falsch = t.einnahme(p, s, tag, stand, morgen, 0, 1, 0, 2);
        t.termin(p, "Hausarzt", heute.addDays(30)); // the figures run out before it
        t.starten();

        QTableWidget *u = t.tabelle("tabelleUebersicht");
        for (int spalte = 2; spalte <= 4; ++spalte) {
            QCOMPARE(u->item(1, spalte)->text(), ungueltig);
            QCOMPARE(u->item(1, spalte)->toolTip(), grund);
        }
        QCOMPARE(marke(u, 1), QString());
        QCOMPARE(balken(u, 1)->value(), 0);
        QCOMPARE(balken(u, 1)->text(), "Ramilich 5");
        QCOMPARE(balken(u, 1)->toolTip(), grund);
        // The valid line keeps its figures and mark.
        QCOMPARE(u->item(0, 2)->text(), "22");
        QCOMPARE(marke(u, 0), "rot");

        // Only a dose that cannot be used is said to be invalid, in the list and in the plan.
        QTableWidgetItem *dosen = t.tabelle("tabelleZuordnung")->item(1, 3);
        QCOMPARE(dosen->text(), dosisFalsch ? ungueltig : "1-0-1-0");
        QCOMPARE(dosen->toolTip(), dosisFalsch ? grund : QString());
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->item(1, 2)->text(), dosisFalsch ? ungueltig : "1");
        t.zeileWaehlen(1);
        QCOMPARE(t.text("detailMorgen"), dosisFalsch ? ungueltig : "1");
        QCOMPARE(t.text("detailBestand"), ungueltig);
        QCOMPARE(teil<QLabel>(t.w.get(), "detailBestand")->toolTip(), grund);

        // The pharmacy sends the user to correct the line first.
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.last().contains(grund), qPrintable(t.env.meldungen.last()));
        QVERIFY(t.env.meldungen.last().contains("\u201EZuordnung bearbeiten\u201C"));

        // The assignment window asks for the stock anew and shows the dose as
        // stored; confirmed unchanged, the line is refused, then corrected.
        QStringList angeboten;
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            angeboten = texte(d, {"fensterMorgen", "fensterStand"});
            druecken(d, "\u00C4ndern");
            tippen(teil<QLineEdit>(d, "fensterMorgen"), "1");
            tippen(teil<QLineEdit>(d, "fensterStand"), "20");
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(angeboten, (QStringList{dosisFalsch ? "-1" : "1", ""}));
        QCOMPARE(t.env.meldungen.size(), 2);
        QVERIFY(t.env.meldungen.last().contains(dosisFalsch ? "\u201EMorgen\u201C" : "fehlt der Bestand"));
        QCOMPARE(zeile(t, falsch, "stand, tag, morgen"), (QStringList{"20", "2026-12-06", "1"}));
        QCOMPARE(u->item(1, 2)->text(), "20");
    }
};

QTEST_MAIN(ZahlenTest)
#include "tst_zahlen.moc"
