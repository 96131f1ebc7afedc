// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers out of their range: typed ones are refused wherever a number is
// typed, stored ones are shown as invalid instead of as figures.
#include "fensterhilfe.h"

namespace {

const QString ungueltig = QStringLiteral("ung\u00FCltig");

// The first paragraph of each message: field, range and the text typed.
QStringList ersteAbsaetze(const QStringList &meldungen)
{
    QStringList t;
    for (const QString &m : meldungen)
        t << m.section(QStringLiteral("\n\n"), 0, 0);
    return t;
}

QString bereichsFehler(const char *feld, const char *bereich, const QString &text)
{
    return QStringLiteral("Die Angabe bei \u201E%1\u201C muss %2 sein: \u201E%3\u201C.")
        .arg(QString::fromUtf8(feld), QString::fromUtf8(bereich), text);
}

// Per overview row: stock, weeks and last day with their tool tips, the
// last day's colour, and the bar's value, text and tool tip.
QStringList uebersicht(QTableWidget *u)
{
    QStringList t;
    for (int z = 0; z < u->rowCount(); ++z) {
        QStringList zellen;
        for (int s = 2; s <= 4; ++s)
            zellen << u->item(z, s)->text() + QLatin1Char('~') + u->item(z, s)->toolTip();
        const QProgressBar *b = balken(u, z);
        const QColor marke = hintergrund(u, z, 4);
        zellen << (marke.isValid() ? marke.name() : QString()) << QString::number(b->value()) << b->text()
               << b->toolTip();
        t << zellen.join('|');
    }
    return t;
}

// Each cell text of a table row, with its tool tip where it has one.
QString zeilentexte(QTableWidget *t, int zeile, int von)
{
    QStringList zellen;
    for (int s = von; s < t->columnCount(); ++s) {
        const QTableWidgetItem *i = t->item(zeile, s);
        zellen << i->text() + (i->toolTip().isEmpty() ? QString() : QLatin1Char('~') + i->toolTip());
    }
    return zellen.join('|');
}

} // namespace

class ZahlenTest : public QObject
{
    Q_OBJECT
private slots:
    // The group "Dem Patienten zuordnen": doses from 0 to 100 in plain notation.
    void zuordnen()
    {
        Welt t;
        t.patient(QStringLiteral("Berg"));
        t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        t.starten();
        t.packungWaehlen(QStringLiteral("Ramilich 5"));
        auto feld = [&](const char *zeit) { return teil<QLineEdit>(t.w.get(), QStringLiteral("editZuordnen") + zeit); };

        QStringList bleibt;
        const std::pair<const char *, const char *> falsch[] = {
            {"Morgen", "1e308"}, {"Mittag", "inf"}, {"Abend", "100,5"}, {"Nacht", "nan"}, {"Morgen", "-0,5"}};
        for (const auto &[zeit, text] : falsch) {
            tippen(feld(zeit), QString::fromLatin1(text));
            t.knopf("knopfEintragen");
            bleibt << feld(zeit)->text();
            tippen(feld(zeit), QStringLiteral("0"));
        }
        QCOMPARE(t.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(bleibt, (QStringList{"1e308", "inf", "100,5", "nan", "-0,5"}));
        QStringList erwartet;
        for (const auto &[zeit, text] : falsch)
            erwartet << bereichsFehler(zeit, "eine Zahl von 0 bis 100", QString::fromLatin1(text));
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);
        QVERIFY(t.env.meldungen.first().endsWith(QStringLiteral("Es wurde nichts gespeichert.")));

        // The edges themselves are taken, and so is a half without its 0.
        tippen(feld("Morgen"), QStringLiteral("100"));
        tippen(feld("Abend"), QStringLiteral(",5"));
        t.knopf("knopfEintragen");
        QCOMPARE(zeileVerbunden(t, 1, "morgen, mittag, abend, nacht"), QStringLiteral("100|0|0.5|0"));
        QCOMPARE(t.env.meldungen.size(), 5);
    }

    // The window "Zuordnung bearbeiten": doses as above, the stock from
    // -100000 to 1000000; a stock of 1000000 is offered back plainly.
    void zuordnungsfenster()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int a = t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5")), heute, 30, 1,
                                 0, 1, 0, 1);
        t.starten();
        t.zeileWaehlen(0);

        QStringList bleibt;
        const std::pair<const char *, const char *> falsch[] = {{"Morgen", "1e5000"}, {"Nacht", "100.01"},
                                                                {"Stand", "1e20"},    {"Stand", "1000000,5"},
                                                                {"Stand", "-100001"}, {"Stand", "inf"}};
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            for (const auto &[feld, text] : falsch) {
                auto *e = teil<QLineEdit>(d, QStringLiteral("fenster") + feld);
                tippen(e, QString::fromLatin1(text));
                druecken(d, QStringLiteral("\u00C4ndern"));
                bleibt << QString::number(d->isVisible()) + e->text();
                tippen(e, QStringLiteral("1"));
            }
            tippen(teil<QLineEdit>(d, QStringLiteral("fensterMorgen")), QStringLiteral("100"));
            tippen(teil<QLineEdit>(d, QStringLiteral("fensterStand")), QStringLiteral("1000000"));
            druecken(d, QStringLiteral("\u00C4ndern"));
        }));
        QCOMPARE(bleibt, (QStringList{"11e5000", "1100.01", "11e20", "11000000,5", "1-100001", "1inf"}));
        const char *const dosis = "eine Zahl von 0 bis 100";
        const char *const bestand = "eine Zahl von -100000 bis 1000000";
        QCOMPARE(ersteAbsaetze(t.env.meldungen),
                 (QStringList{bereichsFehler("Morgen", dosis, "1e5000"), bereichsFehler("Nacht", dosis, "100.01"),
                              bereichsFehler("Stand", bestand, "1e20"), bereichsFehler("Stand", bestand, "1000000,5"),
                              bereichsFehler("Stand", bestand, "-100001"), bereichsFehler("Stand", bestand, "inf")}));
        QCOMPARE(zeileVerbunden(t, a, "CAST(stand AS TEXT), morgen, nacht"), QStringLiteral("1000000.0|100|1"));

        // Offered as "1000000", not "1e+06", it is confirmed as it stands.
        QString angeboten;
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            angeboten = teil<QLineEdit>(d, QStringLiteral("fensterStand"))->text();
            druecken(d, QStringLiteral("\u00C4ndern"));
        }));
        QCOMPARE(angeboten, QStringLiteral("1000000"));
        QCOMPARE(t.env.meldungen.size(), 6);
        QCOMPARE(t.text("detailBestand"), QStringLiteral("1000000"));
    }

    // The pharmacy window: 1 to 1000 packages, or -1000 to -1 to take a
    // booking back, and the stock they give within its range; packages of
    // more than 100000 units are not booked.
    void apotheke()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int voll = t.einnahme(p, t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"), "5 mg", 20),
                                    heute, 999990, 0, 0, 0, 0, 1);
        t.einnahme(p, t.packung(QStringLiteral("Salbe"), QStringLiteral("Riesig")), heute, 10, 0, 0, 0, 0, 2);
        Datei::ausfuehren(t.f, QStringLiteral("UPDATE sorte SET packung = 100001 WHERE handelsname = 'Riesig'"));
        t.starten();

        t.zeileWaehlen(0);
        QStringList bleibt;
        const char *const falsch[] = {"0", "1001", "-1001", "1e3", "inf", "2,0", "1"};
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            auto *feld = teil<QLineEdit>(d, QStringLiteral("fensterPackungen"));
            for (const char *text : falsch) {
                tippen(feld, QString::fromLatin1(text));
                druecken(d, QStringLiteral("Eintragen"));
                bleibt << QString::number(d->isVisible()) + feld->text() + ' ' + zeileVerbunden(t, voll, "stand");
            }
            tippen(feld, QStringLiteral("-1"));
            druecken(d, QStringLiteral("Eintragen"));
        }));
        QCOMPARE(bleibt, (QStringList{"10 999990", "11001 999990", "1-1001 999990", "11e3 999990", "1inf 999990",
                                      "12,0 999990", "11 999990"}));
        QStringList erwartet;
        for (const char *text : falsch)
            erwartet << bereichsFehler("Packung/en", "eine ganze Zahl von 1 bis 1000 oder von -1000 bis -1",
                                       QString::fromLatin1(text));
        erwartet.last() = QStringLiteral("Mit 1 Packung/en l\u00E4ge der Bestand bei 1000010, au\u00DFerhalb von "
                                         "-100000 bis 1000000.");
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);
        // Taken back: one package fewer.
        QCOMPARE(zeileVerbunden(t, voll, "stand"), QStringLiteral("999970"));

        t.zeileWaehlen(1);
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(t.env.meldungen.size(), 8);
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("wie viele Einheiten")));
    }

    // "Einheiten pro Packung" on the medication list pages: over 0 up to 100000.
    void packungseinheiten()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen')",
                      "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Tropfen', '1 ml', 20)"});
        zelleKlicken(t.tabelle("tabelleSorten"), 0, 2);
        QStringList bleibt;
        const char *const falsch[] = {"1e5", "0", "100000,5", "inf"};
        for (const char *art : {"", "Neu"}) {
            for (const char *text : falsch) {
                tippe(t, QStringLiteral("editSorte%1Packung").arg(QLatin1String(art)), QString::fromLatin1(text));
                t.knopf(*art ? "knopfSorteAendern" : "knopfSorteEintragen");
                bleibt << texteVerbunden(t.w.get(), {QStringLiteral("editSorte%1Packung").arg(QLatin1String(art))});
            }
        }
        QCOMPARE(t.wert(QStringLiteral("SELECT group_concat(packung) FROM sorte")).toString(), QStringLiteral("20.0"));
        QCOMPARE(bleibt, (QStringList{"1e5", "0", "100000,5", "inf", "1e5", "0", "100000,5", "inf"}));
        QStringList erwartet;
        for (int i = 0; i < 2; ++i)
            for (const char *text : falsch)
                erwartet << bereichsFehler("Einheiten pro Packung", "eine Zahl \u00FCber 0 bis 100000",
                                           QString::fromLatin1(text));
        QCOMPARE(ersteAbsaetze(t.env.meldungen), erwartet);

        tippe(t, QStringLiteral("editSorteNeuPackung"), QStringLiteral("100000"));
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.wert(QStringLiteral("SELECT packung FROM sorte")).toDouble(), 100000.0);
    }

    // Stored values out of range or unreadable: "ungültig" wherever a figure
    // would stand, the reason as tool tip, no mark and an empty bar. The
    // pharmacy refuses such a line; the assignment window corrects it.
    void gespeichert()
    {
        Welt t;
        const int p = t.patient(QStringLiteral("Berg"));
        const int s = t.packung(QStringLiteral("Ramipril"), QStringLiteral("Ramilich 5"));
        t.einnahme(p, s, heute.addDays(-4), 30, 1, 0, 1, 0, 1);         // 22 left: valid
        const int viel = t.einnahme(p, s, heute, 1e20, 1, 0, 1, 0, 2);  // absurd stock
        const int minus = t.einnahme(p, s, heute, 30, -1, 0, 1, 0, 3);  // negative dose
        t.einnahme(p, s, QStringLiteral("gestern"), 30, 1, 0, 1, 0, 4); // no date
        t.einnahme(p, s, heute, 30, 1, 0, 1, 0, 5);
        Datei::ausfuehren(t.f, QStringLiteral("UPDATE einnahme SET stand = NULL WHERE ordnung = 5"));
        t.termin(p, QStringLiteral("Hausarzt"), heute.addDays(30)); // a visit the old figures would run out before
        t.starten();

        const QString bestand = QStringLiteral("Bestand 1e+20 liegt au\u00DFerhalb von -100000 bis 1000000");
        const QString dosis = QStringLiteral("Dosis Morgen -1 liegt au\u00DFerhalb von 0 bis 100");
        const QString datum = QStringLiteral("Datum des Bestands \u201Egestern\u201C ist kein Datum");
        const QString fehlt = QStringLiteral("Bestand fehlt");
        auto ohneZahlen = [&](const QString &grund) {
            const QString zelle = ungueltig + '~' + grund;
            return QStringList{zelle, zelle, zelle, "", "0", "Ramilich 5", grund}.join('|');
        };
        QCOMPARE(uebersicht(t.tabelle("tabelleUebersicht")),
                 (QStringList{"22~|1.6 Wochen~|16.12.2026~|#ff0000|18|Ramilich 5|reicht noch 11 Tage",
                              ohneZahlen(bestand), ohneZahlen(dosis), ohneZahlen(datum), ohneZahlen(fehlt)}));

        // The doses: only the invalid one is said to be so, with its reason.
        QTableWidget *z = t.tabelle("tabelleZuordnung");
        QCOMPARE(zeilentexte(z, 1, 3) + ' ' + zeilentexte(z, 2, 3),
                 QStringLiteral("1-0-1-0|2 ") + ungueltig + '~' + dosis + QStringLiteral("|3"));
        QTableWidget *plan = t.tabelle("tabelleVerordnungsplan");
        QCOMPARE(zeilentexte(plan, 2, 1), QStringLiteral("5 mg|") + ungueltig + '~' + dosis + QStringLiteral("|0|1|0"));
        QCOMPARE(zeilentexte(plan, 1, 1), QStringLiteral("5 mg|1|0|1|0"));

        QStringList details;
        for (int i = 1; i <= 2; ++i) {
            t.zeileWaehlen(i);
            details << t.detailsVerbunden() + '~' + teil<QLabel>(t.w.get(), "detailMorgen")->toolTip() + '~' +
                           teil<QLabel>(t.w.get(), "detailBestand")->toolTip();
        }
        QCOMPARE(details, (QStringList{"Ramipril|1|0|1|0|5 mg|30|06.12.2026|" + ungueltig + "~~" + bestand,
                                       "Ramipril|" + ungueltig + "|0|1|0|5 mg|30|06.12.2026|" + ungueltig + '~' +
                                           dosis + '~' + dosis}));

        // The pharmacy sends the user to correct the line first.
        t.zeileWaehlen(1);
        QVERIFY(!oeffnen(t, "knopfApotheke"));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.meldungen.last().contains(bestand));
        QVERIFY(t.env.meldungen.last().contains(QStringLiteral("\u201EZuordnung bearbeiten\u201C")));

        // The assignment window asks for the stock anew and shows the bad
        // dose as stored; confirmed unchanged, both are refused.
        QStringList angeboten;
        for (int i : {1, 2}) {
            t.zeileWaehlen(i);
            QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
                angeboten << texteVerbunden(
                    d, {"fensterMorgen", "fensterMittag", "fensterAbend", "fensterNacht", "fensterStand"});
                druecken(d, QStringLiteral("\u00C4ndern"));
                tippen(teil<QLineEdit>(d, QStringLiteral("fensterMorgen")), QStringLiteral("1"));
                tippen(teil<QLineEdit>(d, QStringLiteral("fensterStand")), QStringLiteral("20"));
                druecken(d, QStringLiteral("\u00C4ndern"));
            }));
        }
        QCOMPARE(angeboten, (QStringList{"1|0|1|0|", "-1|0|1|0|"}));
        QCOMPARE(t.env.meldungen.size(), 3);
        QVERIFY(t.env.meldungen.at(1).contains(QStringLiteral("fehlt der Bestand")));
        QVERIFY(t.env.meldungen.at(2).contains(QStringLiteral("\u201EMorgen\u201C")));
        QCOMPARE(zeileVerbunden(t, viel, "stand, tag, morgen") + ' ' + zeileVerbunden(t, minus, "stand, tag, morgen"),
                 QStringLiteral("20|2026-12-06|1 20|2026-12-06|1"));
        QCOMPARE(spalte(t.tabelle("tabelleUebersicht"), 2), (QStringList{"22", "20", "20", ungueltig, ungueltig}));
    }
};

QTEST_MAIN(ZahlenTest)
#include "tst_zahlen.moc"
