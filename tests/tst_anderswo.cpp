// SPDX-License-Identifier: GPL-3.0-or-later
// Another program (a second window, a second computer on a shared file)
// changes or deletes rows between what a window showed and what it stores:
// nothing is written over the other's change, the user is told once, and
// the views show the file without anything typed for a row that is gone.
#include "fensterhilfe.h"

#include "app/seams.h"

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


const QString konfliktSatz = QStringLiteral(
    "Dieser Eintrag wurde inzwischen an anderer Stelle ge\u00E4ndert oder gel\u00F6scht; es wurde nichts gespeichert, "
    "und die Anzeige zeigt jetzt den gespeicherten Stand.");

const QString sorten = QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES ");


// Another program runs sql on the file while the next question is open;
// the question is then answered as the test's answers say.
void waehrendDerFrage(const Welt &t, const QString &sql)
{
    const auto antworten = Seams::frage;
    Seams::frage = [&t, sql, antworten, erledigt = false](const QString &text) mutable {
        if (!std::exchange(erledigt, true))
            Datei::ausfuehren(t.f, sql);
        return antworten(text);
    };
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
        QCOMPARE(zeileVerbunden(t, a, "stand, tag"), "27|2026-12-06");
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
        QCOMPARE(zeileVerbunden(t, a, "morgen, abend, stand"), "2|0|27");
        QVERIFY(!offen);
        QCOMPARE(t.tabelle("tabelleZuordnung")->item(0, 3)->text(), "2-0-0-0");

        // Unchanged elsewhere, the window stores as before.
        QVERIFY(oeffnen(t, "knopfZuordnungBearbeiten", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterAbend"), "1");
            druecken(d, QString::fromUtf8("\u00C4ndern"));
        }));
        QCOMPARE(zeileVerbunden(t, a, "morgen, abend"), "2|1");
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
        QVERIFY(oeffnen(t, "knopfTerminBearbeiten",
                        [&](QDialog *d) { druecken(d, QString::fromUtf8("Termin \u00E4ndern")); }));
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
        MainWindow::waechterAbstandMs = 200;
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
        QCOMPARE(zeileVerbunden(t, b, "stand"), "90");

        QTRY_COMPARE_WITH_TIMEOUT(spalte(t.tabelle("tabelleUebersicht"), 2), (QStringList{"10", "90"}), 2000);
        QCOMPARE(t.tabelle("tabellePatientenwahl")->currentRow(), 1);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 1);
        QCOMPARE(t.text("detailBestand"), "90");
        QCOMPARE(teil<QLineEdit>(t.w.get(), "editMedikamentNeu")->text(), "Halbgetippt");

        // The first window's own change does not make it reload itself.
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) { druecken(d, "Eintragen"); }));
        zelleKlicken(t.tabelle("tabelleZuordnung"), 0, 1);
        QTest::qWait(600);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 0);
        QVERIFY(t.env.meldungen.isEmpty());
    }

    void patient()
    {
        Welt t;
        mitListen(t, {"INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Adam', ''), "
                      "('Hans', 'Berg', ''), ('Ida', 'Claus', '')",
                      "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', '2027-01-05')"});
        auto *liste = t.tabelle("tabellePatienten");
        const QString stand = "SELECT group_concat(lastname || firstname, ' ') FROM patient";

        zelleKlicken(liste, 1, 1);
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Berg'");
        tippe(t, "editVorname", "Hanna");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.env.meldungen, QStringList{konfliktSatz});
        QCOMPARE(t.wert(stand).toString(), "AdamErika ClausIda");
        QCOMPARE(spalte(liste, 1) + spalte(t.tabelle("tabellePatientenwahl"), 1),
                 (QStringList{"Adam", "Claus", "Adam", "Claus"}));
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editVorname"}), "|");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(stand).toString(), "AdamErika ClausIda");

        // Deleted elsewhere before "Patient entfernen": no question about it.
        zelleKlicken(liste, 1, 1);
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Claus'");
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.fragen, QStringList());
        QCOMPARE(t.env.meldungen.size(), 2);
        QCOMPARE(spalte(liste, 1), QStringList{"Adam"});

        // Deleted elsewhere while the question was open: not even the appointments go.
        zelleKlicken(liste, 0, 1);
        t.env.antworten << true;
        waehrendDerFrage(t, "DELETE FROM patient WHERE lastname = 'Adam'");
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.meldungen.size(), 3);
        QCOMPARE(t.wert("SELECT COUNT(*) FROM termine").toInt(), 1);
        QCOMPARE(texteVerbunden(t.w.get(), {"tabellePatienten", "tabellePatientenwahl"}, "rowCount"), "0|0");
    }

    // A second window deletes a medication; the first, still showing it, renames it.
    void medikament()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Baldrian'), ('Ibuprofen'), ('Zink'), ('Zypresse')",
                      sorten + "(2, 'Filmtabletten', '400 mg', 20), (3, 'Kapseln', '25 mg', 30), "
                               "(4, 'Tropfen', '1 ml', 50)",
                      "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 3, 5, 1)"});
        auto *liste = t.tabelle("tabelleMedikamente");
        zelleKlicken(liste, 1, 1);
        {
            auto zweites = t.env.starten();
            teil<QAction>(zweites.get(), "aktionListen")->trigger();
            zelleKlicken(teil<QTableWidget>(zweites.get(), "tabelleMedikamente"), 1, 1);
            t.env.antworten << true;
            klicken(teil<QPushButton>(zweites.get(), "knopfMedikamentLoeschen"));
        }
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Ibuprofen", "Zink", "Zypresse"}));
        tippe(t, "editMedikamentName", "Ibuprofen akut");
        t.knopf("knopfMedikamentAendern");
        QCOMPARE(t.env.meldungen, QStringList{konfliktSatz});
        const QString stand = "SELECT group_concat(medizin, '|') FROM medikament";
        QCOMPARE(t.wert(stand).toString(), "Baldrian|Zink|Zypresse");
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Zink", "Zypresse"}));
        QCOMPARE(texteVerbunden(t.w.get(), {"anzeigeMedikament", "editMedikamentName"}), "Baldrian|Baldrian");

        // Deleted by a program that leaves its packages and lines behind: no
        // package is added to it, and deleting it takes none of them.
        zelleKlicken(liste, 1, 1);
        Datei::ausfuehren(t.f, "DELETE FROM medikament WHERE medizin = 'Zink'");
        tippe(t, "editSorteHandelsname", "Brausetabletten");
        tippe(t, "editSorteDosis", "10 mg");
        tippe(t, "editSortePackung", "20");
        t.knopf("knopfSorteEintragen");
        QCOMPARE(t.env.meldungen.size(), 2);
        QCOMPARE(t.wert("SELECT group_concat(handelsname, '|') FROM sorte").toString(), "Kapseln|Tropfen");
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Zypresse"}));

        zelleKlicken(liste, 1, 1);
        t.env.antworten << true;
        waehrendDerFrage(t, "DELETE FROM medikament WHERE medizin = 'Zypresse'");
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.meldungen.size(), 3);
        QCOMPARE(t.wert("SELECT group_concat(handelsname, '|') FROM sorte").toString(), "Kapseln|Tropfen");
        QCOMPARE(t.wert("SELECT COUNT(*) FROM einnahme").toInt(), 1);

        Datei::ausfuehren(t.f, "DELETE FROM medikament WHERE medizin = 'Baldrian'");
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.fragen.size(), 2);
        QCOMPARE(t.env.meldungen.size(), 4);
        QCOMPARE(liste->rowCount(), 0);
    }

    void packung()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Zink')",
                      sorten + "(1, 'Brausetabletten', '200 mg', 10), (1, 'Filmtabletten', '400 mg', 20), "
                               "(1, 'Dragees', '600 mg', 30), (2, 'Kapseln', '25 mg', 30)"});
        auto *sorte = t.tabelle("tabelleSorten");
        const QString stand = "SELECT group_concat(handelsname || dosis || packung, '|') FROM sorte";

        zelleKlicken(sorte, 1, 2);
        Datei::ausfuehren(t.f, "DELETE FROM sorte WHERE handelsname = 'Filmtabletten'");
        tippe(t, "editSorteNeuHandelsname", "Tropfen");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.env.meldungen, QStringList{konfliktSatz});
        QCOMPARE(t.wert(stand).toString(), "Brausetabletten200 mg10.0|Dragees600 mg30.0|Kapseln25 mg30.0");
        QCOMPARE(spalte(sorte, 2) + spalte(t.tabelle("tabelleSortenwahl"), 2),
                 (QStringList{"Brausetabletten", "Dragees", "Brausetabletten", "Dragees", "Kapseln"}));
        QCOMPARE(texteVerbunden(t.w.get(), {"editSorteNeuHandelsname", "anzeigeSorteHandelsname"}),
                 "Brausetabletten|Brausetabletten");

        Datei::ausfuehren(t.f, "DELETE FROM sorte WHERE handelsname = 'Brausetabletten'");
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.fragen, QStringList());
        QCOMPARE(t.env.meldungen.size(), 2);
        QCOMPARE(spalte(sorte, 2), QStringList{"Dragees"});

        t.env.antworten << true;
        waehrendDerFrage(t, "DELETE FROM sorte WHERE handelsname = 'Dragees'");
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.meldungen.size(), 3);
        QCOMPARE(sorte->rowCount(), 0);

        // The medication alone deleted elsewhere: its package is not written again.
        zelleKlicken(t.tabelle("tabelleMedikamente"), 1, 1);
        Datei::ausfuehren(t.f, "DELETE FROM medikament WHERE medizin = 'Zink'");
        tippe(t, "editSorteNeuDosis", "50 mg");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.env.meldungen.size(), 4);
        QCOMPARE(t.wert(stand).toString(), "Kapseln25 mg30.0");
    }
};

QTEST_MAIN(AnderswoTest)
#include "tst_anderswo.moc"
