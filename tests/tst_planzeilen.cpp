// SPDX-License-Identifier: GPL-3.0-or-later
// Intake lines from an imported medication plan whose dose is words or
// missing: shown for what they are, never as a range from an invented dose.
#include "fensterhilfe.h"

namespace {

// The table as the import writes it, made here independently of the program.
const QString planTabelle = QStringLiteral(
    "CREATE TABLE einnahme_bmp (einnahme_id INTEGER PRIMARY KEY, dosis_text VARCHAR (20), ohne_dosis BOOLEAN, "
    "wochentag INTEGER, einheit VARCHAR (20), form VARCHAR (10), hinweis VARCHAR (80), grund VARCHAR (50), "
    "zusatz VARCHAR (200), abschnitt VARCHAR (50))");

// A patient with a line of words ("laut INR-Ausweis"), one without a dose
// and an ordinary one, started.
struct PlanWelt : Welt {
    int text = 0, ohne = 0, normal = 0;
    PlanWelt()
    {
        const int p = patient("Weber");
        text = einnahme(p, packung("Phenprocoumon", "Gerinnex 3 mg"), "2026-12-01", 20, 0, 0, 0, 0, 1);
        ohne = einnahme(p, packung("Ibuprofen", "Dolorin"), "2026-12-01", 10, 0, 0, 0, 0, 2);
        normal = einnahme(p, packung("Ramipril", "Ramilan"), "2026-12-01", 30, 1, 0, 0, 0, 3);
        Datei::ausfuehren(f, planTabelle);
        Datei::ausfuehren(f, "INSERT INTO einnahme_bmp (einnahme_id, dosis_text) VALUES (?, 'laut INR-Ausweis')",
                          {text});
        Datei::ausfuehren(f, "INSERT INTO einnahme_bmp (einnahme_id, ohne_dosis) VALUES (?, 1)", {ohne});
        starten();
    }
};

} // namespace

class PlanzeilenTest : public QObject
{
    Q_OBJECT
private slots:
    void uebersichtOhneReichweite()
    {
        PlanWelt t;
        QCOMPARE(spalte(t.tabelle("tabelleUebersicht"), 3),
                 (QStringList{"Dosis als Text", "keine Dosis", "3.6 Wochen"}));
    }

    void uebersichtOhneLetztenTag()
    {
        PlanWelt t;
        QCOMPARE(spalte(t.tabelle("tabelleUebersicht"), 4).mid(0, 2), (QStringList{"", ""}));
    }

    void uebersichtOhneWarnung()
    {
        PlanWelt t;
        QCOMPARE(marke(t.tabelle("tabelleUebersicht"), 0), QString());
    }

    void warumKeineReichweite()
    {
        PlanWelt t;
        QCOMPARE(balken(t.tabelle("tabelleUebersicht"), 0)->toolTip().contains("\u201Elaut INR-Ausweis\u201C"), true);
    }

    void zuordnungZeigtDenText()
    {
        PlanWelt t;
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 3),
                 (QStringList{"laut INR-Ausweis", "ohne Dosisangabe", "1-0-0-0"}));
    }

    void verordnungsplanZeigtDenText()
    {
        PlanWelt t;
        QTableWidget *plan = t.tabelle("tabelleVerordnungsplan");
        QCOMPARE(spalte(plan, 2), (QStringList{"laut INR-Ausweis", "ohne Dosisangabe", "1"}));
        QCOMPARE(plan->columnSpan(0, 2), 4);
    }

    void detailsZeigenDenText()
    {
        PlanWelt t;
        t.zeileWaehlen(0);
        QCOMPARE(t.details().mid(1, 4), (QStringList{"laut INR-Ausweis", "", "", ""}));
    }

    void vierDosenBleibenNull()
    {
        PlanWelt t;
        QCOMPARE(zeile(t, t.text, "morgen, mittag, abend, nacht"), (QStringList{"0", "0", "0", "0"}));
    }

    void dateiBleibtEineKalvoriaDatei()
    {
        PlanWelt t;
        QCOMPARE(datenbankMangel(t.f), QString());
    }

    void dosenImFensterMachenEinenZeitplan()
    {
        PlanWelt t;
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterMorgen"), "1");
            druecken(d, "\u00C4ndern");
        }));
        QCOMPARE(t.wert("SELECT dosis_text FROM einnahme_bmp WHERE einnahme_id = ?", {t.text}).isNull(), true);
        QCOMPARE(spalte(t.tabelle("tabelleUebersicht"), 3).value(0), QStringLiteral("2.9 Wochen"));
    }

    void zeileEinesAnderenPatienten()
    {
        // A row left by an earlier version's delete names no line of the patient.
        PlanWelt t;
        Datei::ausfuehren(t.f, "INSERT INTO einnahme_bmp (einnahme_id, dosis_text) VALUES (999, 'alt')");
        t.starten();
        QCOMPARE(spalte(t.tabelle("tabelleZuordnung"), 3).last(), QStringLiteral("1-0-0-0"));
    }
};

QTEST_MAIN(PlanzeilenTest)
#include "tst_planzeilen.moc"
