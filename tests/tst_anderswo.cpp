// Another program (a second window, a second computer on a shared file)
// changes the file between what a window showed and what it stores.
#include "fensterhilfe.h"

namespace {

const QString konflikt = QStringLiteral("an anderer Stelle");

int anzahl(const Welt &t, const QString &tabelle)
{
    return t.wert(QStringLiteral("SELECT count(*) FROM ") + tabelle).toInt();
}

// How many messages tell of a change made elsewhere.
int konflikte(const Welt &t)
{
    return int(t.env.meldungen.filter(konflikt).size());
}

} // namespace

class AnderswoTest : public QObject
{
    Q_OBJECT
private slots:
    // The pharmacy and assignment windows store what the file holds when
    // they store, or nothing.
    void einnahmeFenster()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg", 20);
        const int a = t.einnahme(p, rami, heute.addDays(-10), 30, 1, 0, 0, 0, 1); // 20 today
        const int b = t.einnahme(p, rami, heute.addDays(-10), 40, 1, 0, 0, 0, 2);
        t.starten();

        // Booked after a recount elsewhere: added to the recount.
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = 7, tag = '2026-12-06' WHERE id = ?", {a});
            druecken(d, "Eintragen");
        }));
        QCOMPARE(zeile(t, a, "stand, tag"), "27|2026-12-06");
        QCOMPARE(t.text("detailBestand"), "27");

        // Booked on a line removed elsewhere: said, nothing written, the window
        // closed and the line gone from the views.
        bool offen = true;
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            Datei::ausfuehren(t.f, "DELETE FROM einnahme WHERE id = ?", {b});
            druecken(d, "Eintragen");
            offen = d->isVisible();
        }));
        QCOMPARE(konflikte(t), 1);
        QCOMPARE(anzahl(t, "einnahme"), 1);
        QVERIFY(!offen);
        QCOMPARE(t.tabelle("tabelleUebersicht")->rowCount(), 1);

        // Doses changed elsewhere are not reverted by a window that showed the
        // old ones; the window shows the file afterwards.
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            Datei::ausfuehren(t.f, "UPDATE einnahme SET morgen = 2 WHERE id = ?", {a});
            tippen(teil<QLineEdit>(d, "fensterAbend"), "1");
            druecken(d, QString::fromUtf8("\u00C4ndern"));
            offen = d->isVisible();
        }));
        QCOMPARE(konflikte(t), 2);
        QCOMPARE(zeile(t, a, "morgen, abend, stand"), "2|0|27");
        QVERIFY(!offen);
        QCOMPARE(t.tabelle("tabelleZuordnung")->item(0, 3)->text(), "2-0-0-0");

        // Unchanged elsewhere, the window stores as before.
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterAbend"), "1");
            druecken(d, QString::fromUtf8("\u00C4ndern"));
        }));
        QCOMPARE(zeile(t, a, "morgen, abend"), "2|1");
        QCOMPARE(konflikte(t), 2);
        QCOMPARE(t.env.meldungen.size(), 2);
    }

    // Nothing is written for a patient or package gone, and a line or
    // appointment removed elsewhere is not reported as removed by this window.
    void verschwundeneZeilen()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int q = t.patient("Zorn");
        const int rami = t.packung("Ramipril", "Ramilich 5");
        const int asp = t.packung("ASS", "Aspirin");
        const int a = t.einnahme(p, rami, heute, 30, 1, 0, 0, 0, 1);
        const int termin = t.termin(p, "Hausarzt", "2026-12-20");
        t.starten();

        // Assigning a package that was removed elsewhere.
        t.packungWaehlen("Aspirin");
        Datei::ausfuehren(t.f, "DELETE FROM sorte WHERE id = ?", {asp});
        t.knopf("knopfEintragen");
        QCOMPARE(konflikte(t), 1);
        QCOMPARE(anzahl(t, "einnahme"), 1);
        QVERIFY(!spalte(t.tabelle("tabelleSortenwahl"), 2).contains("Aspirin"));

        // Removing a line that is gone already.
        t.zeileWaehlen(0);
        Datei::ausfuehren(t.f, "DELETE FROM einnahme WHERE id = ?", {a});
        t.knopf("knopfZuordnungLoeschen");
        QCOMPARE(konflikte(t), 2);
        QCOMPARE(t.tabelle("tabelleZuordnung")->rowCount(), 0);

        // Changing and removing an appointment removed elsewhere.
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        Datei::ausfuehren(t.f, "DELETE FROM termine WHERE id = ?", {termin});
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten", [&](QDialog *d) { druecken(d, QString::fromUtf8("Termin \u00E4ndern")); }));
        QCOMPARE(konflikte(t), 3);
        QCOMPARE(anzahl(t, "termine"), 0);
        QCOMPARE(t.tabelle("tabelleTermine")->rowCount(), 0);

        const int zweiter = t.termin(p, "Dr. Kern", "2026-12-21");
        t.patientWaehlen("Berg");
        zelleKlicken(t.tabelle("tabelleTermine"), 0, 1);
        Datei::ausfuehren(t.f, "DELETE FROM termine WHERE id = ?", {zweiter});
        t.knopf("knopfTerminLoeschen");
        QCOMPARE(konflikte(t), 4);

        // The patient removed elsewhere gets neither a line nor an appointment.
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE id = ?", {p});
        t.packungWaehlen("Ramilich 5");
        t.knopf("knopfEintragen");
        QCOMPARE(konflikte(t), 5);
        QCOMPARE(anzahl(t, "einnahme"), 0);
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1), QStringList{"Zorn"});

        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE id = ?", {q});
        QVERIFY(oeffnen(t, "knopfTerminEintragen", [&](QDialog *d) { druecken(d, "Termin eintragen"); }));
        QCOMPARE(konflikte(t), 6);
        QCOMPARE(anzahl(t, "termine"), 0);
        QCOMPARE(t.env.meldungen.size(), 6);
    }

    // A second window's changes reach the first within seconds, which keeps
    // its patient, line and what is being typed.
    void zweiFenster()
    {
        Welt t;
        const int p = t.patient("Berg");
        const int q = t.patient("Zorn");
        const int rami = t.packung("Ramipril", "Ramilich 5", "5 mg", 20);
        t.einnahme(p, rami, heute, 30, 1, 0, 0, 0, 1);
        t.einnahme(q, rami, heute, 10, 1, 0, 0, 0, 1);
        const int b = t.einnahme(q, rami, heute, 50, 1, 0, 0, 0, 2);
        t.starten();
        t.patientWaehlen("Zorn");
        t.zeileWaehlen(1);
        tippe(t, "editMedikamentNeu", "Halbgetippt");

        // The second window on the same file books two packages; the test's
        // helpers drive whichever window is t.w.
        std::unique_ptr<MainWindow> zweites = t.env.starten();
        std::swap(t.w, zweites);
        t.patientWaehlen("Zorn");
        t.zeileWaehlen(1);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterPackungen"), "2");
            druecken(d, "Eintragen");
        }));
        std::swap(t.w, zweites);
        QCOMPARE(zeile(t, b, "stand"), "90");

        QTRY_COMPARE_WITH_TIMEOUT(spalte(t.tabelle("tabelleUebersicht"), 2), (QStringList{"10", "90"}), 5000);
        QCOMPARE(t.tabelle("tabellePatientenwahl")->currentRow(), 1);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 1);
        QCOMPARE(t.text("detailBestand"), "90");
        QCOMPARE(teil<QLineEdit>(t.w.get(), "editMedikamentNeu")->text(), "Halbgetippt");

        // The first window's own change does not make it reload itself.
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) { druecken(d, "Eintragen"); }));
        zelleKlicken(t.tabelle("tabelleZuordnung"), 0, 1);
        QTest::qWait(2500);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 0);
        QVERIFY(t.env.meldungen.isEmpty());
    }
};

QTEST_MAIN(AnderswoTest)
#include "tst_anderswo.moc"
