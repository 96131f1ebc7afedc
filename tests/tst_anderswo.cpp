// SPDX-License-Identifier: GPL-3.0-or-later
// Another program (a second window, a second computer on a shared file)
// changes or deletes rows between what a window showed and what it stores:
// nothing is written over the other's change, the user is told once, and
// the views show the file without anything typed for a row that is gone.
#include "fensterhilfe.h"

#include "app/seams.h"

namespace {

const QString konfliktSatz = QStringLiteral(
    "Dieser Eintrag wurde inzwischen an anderer Stelle ge\u00E4ndert oder gel\u00F6scht; es wurde nichts gespeichert, "
    "und die Anzeige zeigt jetzt den gespeicherten Stand.");

// Runs the steps, ';' between them, as a user would: "tabelleX:column:text"
// chooses the row showing text, "editX=text" types, "knopfX" clicks, and
// "knopfX>Text" clicks and then presses the button "Text" of the window
// that opens, noting in offen whether the window stayed open.
void schritte(const Welt &t, const QString &folge, bool &offen)
{
    for (const QString &s : folge.split(';', Qt::SkipEmptyParts)) {
        if (s.contains('='))
            tippe(t, s.section('=', 0, 0), s.section('=', 1));
        else if (s.count(':') == 2)
            t.waehlen(qPrintable(s.section(':', 0, 0)), s.section(':', 1, 1).toInt(), s.section(':', 2));
        else if (s.contains('>'))
            QVERIFY(oeffnen(t, qPrintable(s.section('>', 0, 0)), [&](QDialog *d) {
                druecken(d, s.section('>', 1));
                offen = d->isVisible();
            }));
        else
            t.knopf(qPrintable(s));
    }
}

// A command on something another program changes meanwhile: the steps that
// choose it, the statement run elsewhere ("?" first: while the question is
// open, answered "Ja"), the steps of the command; then the questions asked, a
// query on the file (after SELECT) and what it gives, and a table's column (or
// a field) and what it shows.
struct Anderswo {
    const char *name, *waehlen, *anderswo, *tun;
    int fragen;
    const char *datei, *inDatei, *sicht, *gezeigt;
};

} // namespace

Q_DECLARE_METATYPE(Anderswo)

class AnderswoTest : public QObject
{
    Q_OBJECT
private slots:
    // The file: Berg (1) with a line of Ramilich 5 (package 1 of Ramipril)
    // and an appointment, Zorn (2) with a line of Kapseln (package 3 of
    // Zink); ASS (2) has the package Aspirin (2).
    void geloeschtOderGeaendert_data()
    {
        const char *const ramilich = "tabelleMedikamente:1:Ramipril;tabelleSorten:2:Ramilich 5";
        faelle<Anderswo>({
            {"Zeile entfernen, Zeile weg", "tabelleZuordnung:1:Ramipril", "DELETE FROM einnahme WHERE id = 1",
             "knopfZuordnungLoeschen", 0, "count(*) FROM einnahme", "1", "tabelleZuordnung:1", ""},
            {"zuordnen, Packung weg", "tabelleSortenwahl:2:Aspirin", "DELETE FROM sorte WHERE id = 2", "knopfEintragen",
             0, "count(*) FROM einnahme", "2", "tabelleSortenwahl:2", "Kapseln,Ramilich 5"},
            {"zuordnen, Patient weg", "tabelleSortenwahl:2:Aspirin", "DELETE FROM patient WHERE id = 1",
             "knopfEintragen", 0, "count(*) FROM einnahme", "2", "tabellePatientenwahl:1", "Zorn"},
            {"Apotheke, Zeile weg", "tabelleZuordnung:1:Ramipril", "DELETE FROM einnahme WHERE id = 1",
             "knopfApotheke>Eintragen", 0, "count(*) FROM einnahme", "1", "tabelleUebersicht:2", ""},
            {"Zuordnung bearbeiten, Dosis anderswo", "tabelleZuordnung:1:Ramipril",
             "UPDATE einnahme SET morgen = 2 WHERE id = 1", "knopfZuordnungBearbeiten>\u00C4ndern", 0,
             "CAST(stand AS INTEGER) || ' ' || CAST(morgen AS INTEGER) FROM einnahme WHERE id = 1", "30 2",
             "tabelleZuordnung:3", "2-0-0-0"},
            {"Termin aendern, Termin weg", "tabelleTermine:1:Hausarzt", "DELETE FROM termine",
             "knopfTerminBearbeiten>Termin \u00E4ndern", 0, "count(*) FROM termine", "0", "tabelleTermine:1", ""},
            {"Termin entfernen, Termin weg", "tabelleTermine:1:Hausarzt", "DELETE FROM termine", "knopfTerminLoeschen",
             0, "count(*) FROM termine", "0", "tabelleTermine:1", ""},
            {"Termin eintragen, Patient weg", "", "DELETE FROM patient WHERE id = 1",
             "knopfTerminEintragen>Termin eintragen", 0, "count(*) FROM termine", "1", "tabellePatientenwahl:1",
             "Zorn"},
            {"Patient aendern, Patient weg", "tabellePatienten:1:Berg", "DELETE FROM patient WHERE id = 1",
             "editVorname=Hanna;knopfPatientAendern", 0, "group_concat(firstname) FROM patient", "Anna", "editVorname",
             ""},
            {"Patient entfernen, Patient weg", "tabellePatienten:1:Berg", "DELETE FROM patient WHERE id = 1",
             "knopfPatientEntfernen", 0, "count(*) FROM termine", "1", "tabellePatienten:1", "Zorn"},
            {"Patient entfernen, weg bei der Frage", "tabellePatienten:1:Berg", "?DELETE FROM patient WHERE id = 1",
             "knopfPatientEntfernen", 1, "count(*) FROM termine", "1", "tabellePatientenwahl:1", "Zorn"},
            {"Medikament umbenennen, Medikament weg", "tabelleMedikamente:1:ASS", "DELETE FROM medikament WHERE id = 2",
             "editMedikamentName=ASS 100;knopfMedikamentAendern", 0, "group_concat(medizin) FROM medikament",
             "Ramipril,Zink", "tabelleMedikamente:1", "Ramipril,Zink"},
            {"Packung zufuegen, Medikament weg", "tabelleMedikamente:1:ASS", "DELETE FROM medikament WHERE id = 2",
             "editSortePackung=20;knopfSorteEintragen", 0, "count(*) FROM sorte", "3", "tabelleMedikamente:1",
             "Ramipril,Zink"},
            {"Medikament entfernen, weg bei der Frage", "tabelleMedikamente:1:Zink",
             "?DELETE FROM medikament WHERE id = 3", "knopfMedikamentLoeschen", 1,
             "count(*) FROM sorte WHERE medizin_id = 3", "1", "tabelleMedikamente:1", "ASS,Ramipril"},
            {"Medikament entfernen, Medikament weg", "tabelleMedikamente:1:Zink", "DELETE FROM medikament WHERE id = 3",
             "knopfMedikamentLoeschen", 0, "count(*) FROM einnahme WHERE med_id = 3", "1", "tabelleMedikamente:1",
             "ASS,Ramipril"},
            {"Packung aendern, Packung weg", ramilich, "DELETE FROM sorte WHERE id = 1",
             "editSorteNeuHandelsname=Tropfen;knopfSorteAendern", 0, "group_concat(handelsname) FROM sorte",
             "Aspirin,Kapseln", "editSorteNeuHandelsname", ""},
            {"Packung aendern, Medikament weg", ramilich, "DELETE FROM medikament WHERE id = 1",
             "editSorteNeuDosis=50 mg;knopfSorteAendern", 0, "dosis FROM sorte WHERE id = 1", "5 mg",
             "tabelleMedikamente:1", "ASS,Zink"},
            {"Packung entfernen, Packung weg", ramilich, "DELETE FROM sorte WHERE id = 1", "knopfSorteLoeschen", 0,
             "count(*) FROM sorte", "2", "tabelleSorten:2", ""},
            {"Packung entfernen, weg bei der Frage", ramilich, "?DELETE FROM sorte WHERE id = 1", "knopfSorteLoeschen",
             1, "count(*) FROM einnahme", "2", "tabelleSortenwahl:2", "Aspirin,Kapseln"},
        });
    }
    void geloeschtOderGeaendert()
    {
        QFETCH(Anderswo, fall);
        const QString anderswo = fall.anderswo, sicht = fall.sicht;
        Welt t;
        const int berg = t.patient("Berg");
        const int zorn = t.patient("Zorn");
        t.einnahme(berg, t.packung("Ramipril", "Ramilich 5"), heute, 30, 1, 0, 0, 0, 1);
        t.packung("ASS", "Aspirin");
        t.einnahme(zorn, t.packung("Zink", "Kapseln"), heute, 30, 1, 0, 0, 0, 1);
        t.termin(berg, "Hausarzt", "2026-12-20");
        mitListen(t, {});
        bool offen = false;
        schritte(t, fall.waehlen, offen);

        if (anderswo.startsWith('?')) {
            t.env.antworten << true;
            Seams::frage = [&](const QString &text) {
                t.env.fragen << text;
                Datei::ausfuehren(t.f, anderswo.mid(1));
                return true;
            };
        } else {
            Datei::ausfuehren(t.f, anderswo);
        }
        schritte(t, fall.tun, offen);

        QCOMPARE(t.env.meldungen, QStringList{konfliktSatz});
        QCOMPARE(t.env.fragen.size(), fall.fragen);
        QVERIFY2(!offen, "the window stays open on what is gone");
        QCOMPARE(t.wert("SELECT " + QString(fall.datei)).toString(), fall.inDatei);
        if (sicht.startsWith("tabelle"))
            QCOMPARE(spalte(t.tabelle(qPrintable(sicht.section(':', 0, 0))), sicht.section(':', 1).toInt()).join(','),
                     fall.gezeigt);
        else
            QCOMPARE(feld(t, sicht), fall.gezeigt);
    }

    // A booking after a recount elsewhere is added to the recount.
    void apothekeNachZaehlungAnderswo()
    {
        Welt t;
        const int a = t.einnahme(t.patient("Berg"), t.packung("Ramipril", "Ramilich 5", "5 mg", 20), heute.addDays(-10),
                                 30, 1, 0, 0, 0, 1);
        t.starten();
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            Datei::ausfuehren(t.f, "UPDATE einnahme SET stand = 7, tag = '2026-12-06' WHERE id = ?", {a});
            druecken(d, "Eintragen");
        }));
        QCOMPARE(zeile(t, a, "stand, tag"), (QStringList{"27", "2026-12-06"}));
        QCOMPARE(t.text("detailBestand"), "27");
        QCOMPARE(t.env.meldungen, QStringList());
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
        QCOMPARE(zeile(t, b, "stand"), QStringList{"90"});

        QTRY_COMPARE_WITH_TIMEOUT(spalte(t.tabelle("tabelleUebersicht"), 2), (QStringList{"10", "90"}), 2000);
        QCOMPARE(t.tabelle("tabellePatientenwahl")->currentRow(), 1);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 1);
        QCOMPARE(t.text("detailBestand"), "90");
        QCOMPARE(feld(t, "editMedikamentNeu"), "Halbgetippt");

        // The first window's own change does not make it reload itself.
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) { druecken(d, "Eintragen"); }));
        zelleKlicken(t.tabelle("tabelleZuordnung"), 0, 1);
        QTest::qWait(600);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 0);
        QCOMPARE(t.env.meldungen, QStringList());
    }
};

QTEST_MAIN(AnderswoTest)
#include "tst_anderswo.moc"
