// SPDX-License-Identifier: GPL-3.0-or-later
// The two windows on an intake line: the pharmacy adds bought packages to
// today's stock, "Zuordnung bearbeiten" corrects doses, stock and aid flag.
#include "fensterhilfe.h"

namespace {

const char *const apothekenKnopf = "knopfApotheke";
const char *const bearbeitenKnopf = "knopfZuordnungBearbeiten";

// Berg's one line of Ramilich 5, counted vorTagen ago, chosen in the running program.
int bergsZeile(Welt &t, double stand, int vorTagen, double morgen, const QVariant &einheiten = 20, int hilfe = 0)
{
    const int id = t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", einheiten),
                              heute.addDays(-vorTagen), stand, morgen, 0, morgen, 0, 1, hilfe);
    t.starten();
    t.zeileWaehlen(0);
    return id;
}

} // namespace

class EinnahmefensterTest : public QObject
{
    Q_OBJECT
private slots:
    void ohneZeileKeinFenster_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::newRow("Apotheke") << apothekenKnopf;
        QTest::newRow("Zuordnung bearbeiten") << bearbeitenKnopf;
    }
    void ohneZeileKeinFenster()
    {
        QFETCH(QString, knopf);
        Welt t;
        t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 1, 0, 1);
        t.starten();
        QVERIFY(!oeffnen(t, qPrintable(knopf)));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains("Zeile"), qPrintable(t.env.meldungen.first()));
    }

    // "Abbrechen" and the frame store nothing, and the next opening offers
    // the line again, not what was typed.
    void abbrechenSpeichertNichts_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("feldName");
        QTest::addColumn<QString>("angebot");
        QTest::addColumn<bool>("rahmen");
        QTest::newRow("Apotheke, Abbrechen") << apothekenKnopf << QString("fensterPackungen") << "1" << false;
        QTest::newRow("Apotheke, Rahmen") << apothekenKnopf << QString("fensterPackungen") << "1" << true;
        QTest::newRow("bearbeiten, Abbrechen") << bearbeitenKnopf << QString("fensterStand") << "10" << false;
        QTest::newRow("bearbeiten, Rahmen") << bearbeitenKnopf << QString("fensterMorgen") << "1" << true;
    }
    void abbrechenSpeichertNichts()
    {
        QFETCH(QString, knopf);
        QFETCH(QString, feldName);
        QFETCH(QString, angebot);
        QFETCH(bool, rahmen);
        Welt t;
        const int a = bergsZeile(t, 30, 10, 1); // 10 today
        QStringList angeboten;
        for (int mal = 0; mal < 2; ++mal)
            QVERIFY(oeffnen(t, qPrintable(knopf), [&](QDialog *d) {
                angeboten << teil<QLineEdit>(d, feldName)->text();
                tippen(teil<QLineEdit>(d, feldName), "4");
                rahmen ? void(d->close()) : druecken(d, "Abbrechen");
            }));
        QCOMPARE(angeboten, (QStringList{angebot, angebot}));
        QCOMPARE(zeile(t, a), (QStringList{"30", "2026-11-26", "1", "0", "1", "0", "0"}));
    }

    // The window names the line and offers one package; what is bought is
    // added to the stock counted to today, with the package's units as they are.
    void apotheke_data()
    {
        QTest::addColumn<double>("stand");
        QTest::addColumn<double>("morgen"); // and as much in the evening, for ten days
        QTest::addColumn<double>("einheiten");
        QTest::addColumn<QString>("packungen"); // "" leaves the one offered
        QTest::addColumn<QString>("neu");
        QTest::newRow("verbraucht seit dem Zaehlen") << 30.0 << 1.0 << 20.0 << QString("2") << "50";
        QTest::newRow("unter null") << 5.0 << 0.5 << 20.0 << QString() << "15";
        QTest::newRow("halbe Einheiten") << 10.0 << 0.0 << 2.5 << QString("2") << "15";
    }
    void apotheke()
    {
        QFETCH(double, stand);
        QFETCH(double, morgen);
        QFETCH(double, einheiten);
        QFETCH(QString, packungen);
        QFETCH(QString, neu);
        Welt t;
        const int a = bergsZeile(t, stand, 10, morgen, einheiten);
        QStringList gezeigt;
        QString angeboten;
        QPointer<QLineEdit> feld; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, apothekenKnopf, [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            feld = teil<QLineEdit>(d, "fensterPackungen");
            angeboten = feld->text();
            if (!packungen.isEmpty())
                tippen(feld, packungen);
            druecken(d, "Eintragen");
        }));
        QCOMPARE(gezeigt.mid(1, 9),
                 (QStringList{"Ramilich 5", "Menge:", QString::number(einheiten), "Dosis/Einheit:", "5 mg",
                              "Stand:", QString::number(stand - 20 * morgen), "Heute:", "06.12.2026"}));
        QCOMPARE(angeboten, "1");
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{neu, "2026-12-06"}));
        QCOMPARE(t.text("detailBestand"), neu);
        QVERIFY(feld);
        QVERIFY(!feld->parent());
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // Without units per package nothing can be booked: said, no window.
    void apothekeOhneEinheiten_data()
    {
        QTest::addColumn<QVariant>("einheiten");
        QTest::newRow("Packung geloescht") << QVariant();
        QTest::newRow("mehr als 100000 Einheiten") << QVariant(100001);
    }
    void apothekeOhneEinheiten()
    {
        QFETCH(QVariant, einheiten);
        Welt t;
        if (einheiten.isNull())
            Datei::ausfuehren(t.f, "CREATE TRIGGER weg AFTER INSERT ON einnahme BEGIN DELETE FROM sorte; END");
        const int a = bergsZeile(t, 30, 10, 1, einheiten);
        QVERIFY(!oeffnen(t, apothekenKnopf));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.first().contains("wie viele Einheiten"), qPrintable(t.env.meldungen.first()));
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"30", "2026-11-26"}));
    }

    // 30 units ten days ago at 2 a day are offered as 10; corrected to 14,
    // stored as of today, and the views count from it.
    void zuordnungKorrigieren()
    {
        Welt t;
        const int a = bergsZeile(t, 30, 10, 1);
        QStringList gezeigt, angeboten;
        QPointer<QLineEdit> stand; // lent to the window, kept by the main window
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            gezeigt = beschriftungen(d);
            angeboten = texte(d, {"fensterMorgen", "fensterMittag", "fensterAbend", "fensterNacht", "fensterStand"});
            tippen(stand = teil<QLineEdit>(d, "fensterStand"), "14");
            druecken(d, "\u00C4ndern");
        }));
        QVERIFY2(gezeigt.contains("Ramilich 5"), qPrintable(gezeigt.join('|')));
        QCOMPARE(angeboten, (QStringList{"1", "0", "1", "0", "10"}));
        QCOMPARE(zeile(t, a), (QStringList{"14", "2026-12-06", "1", "0", "1", "0", "0"}));
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip(), "reicht noch 7 Tage");
        QCOMPARE(t.text("detailBestand"), "14");
        QVERIFY(stand);
        QVERIFY(!stand->parent());
    }

    // Confirmed unchanged, the stock of today is stored; an empty stock is
    // refused, the window staying open.
    void zuordnungBestand()
    {
        Welt t;
        const int a = bergsZeile(t, 30, 5, 0.5);
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) { druecken(d, "\u00C4ndern"); }));
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"25", "2026-12-06"}));

        bool offen = false;
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterStand"), " ");
            druecken(d, "\u00C4ndern");
            offen = d->isVisible();
        }));
        QVERIFY(offen);
        QCOMPARE(t.env.meldungen.value(0).section("\n\n", 0, 0), "Bei \u201EStand\u201C fehlt der Bestand.");
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"25", "2026-12-06"}));
    }

    // An aid opens checked; unchecked, it is stored as 0 and enters the plan.
    void hilfsmittel()
    {
        Welt t;
        const int a = bergsZeile(t, 50, 0, 0, 100, 1);
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 0);
        bool angehakt = false;
        QVERIFY(oeffnen(t, bearbeitenKnopf, [&](QDialog *d) {
            angehakt = teil<QCheckBox>(d, "fensterHilfe")->isChecked();
            klicken(teil<QCheckBox>(d, "fensterHilfe"));
            druecken(d, "\u00C4ndern");
        }));
        QVERIFY(angehakt);
        QCOMPARE(zeile(t, a, "hilfe"), QStringList{"0"});
        QCOMPARE(t.tabelle("tabelleVerordnungsplan")->rowCount(), 1);
    }
};

QTEST_MAIN(EinnahmefensterTest)
#include "tst_einnahmefenster.moc"
