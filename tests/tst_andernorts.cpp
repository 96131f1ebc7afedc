// Patients, medications and packages changed or deleted through rows that
// another program or a second window deleted after this window showed them:
// nothing is written, the user is told once, and the views no longer show
// the row nor anything typed for it.
#include "fensterhilfe.h"

#include "app/seams.h"

namespace {

const QString konflikt = QStringLiteral(
    "Dieser Eintrag wurde inzwischen an anderer Stelle ge\u00E4ndert oder gel\u00F6scht; es wurde nichts gespeichert, "
    "und die Anzeige zeigt jetzt den gespeicherten Stand.");

const QString sorten = QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES ");

// The user clicks before the window's watcher has looked for changes made elsewhere.
void nichtNachsehen(MainWindow *w)
{
    teil<QTimer>(w, "aenderungsWaechter")->stop();
}

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

class AndernortsTest : public QObject
{
    Q_OBJECT
private slots:
    void patient()
    {
        Welt t;
        mitListen(t, {"INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Adam', ''), "
                      "('Hans', 'Berg', ''), ('Ida', 'Claus', '')",
                      "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', '2027-01-05')"});
        nichtNachsehen(t.w.get());
        auto *liste = t.tabelle("tabellePatienten");
        const QString stand = "SELECT group_concat(lastname || firstname, ' ') FROM patient";

        zelleKlicken(liste, 1, 1);
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Berg'");
        tippe(t, "editVorname", "Hanna");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.env.meldungen, QStringList{konflikt});
        QCOMPARE(t.wert(stand).toString(), "AdamErika ClausIda");
        QCOMPARE(spalte(liste, 1) + spalte(t.tabelle("tabellePatientenwahl"), 1),
                 (QStringList{"Adam", "Claus", "Adam", "Claus"}));
        QCOMPARE(texte(t.w.get(), {"editName", "editVorname"}), "|");
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
        QCOMPARE(texte(t.w.get(), {"tabellePatienten", "tabellePatientenwahl"}, "rowCount"), "0|0");
    }

    // A second window deletes a medication; the first, still showing it, renames it.
    void medikament()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Baldrian'), ('Ibuprofen'), ('Zink'), ('Zypresse')",
                      sorten + "(2, 'Filmtabletten', '400 mg', 20), (3, 'Kapseln', '25 mg', 30), "
                               "(4, 'Tropfen', '1 ml', 50)",
                      "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 3, 5, 1)"});
        nichtNachsehen(t.w.get());
        auto *liste = t.tabelle("tabelleMedikamente");
        zelleKlicken(liste, 1, 1);
        {
            auto zweites = t.env.starten();
            nichtNachsehen(zweites.get());
            teil<QAction>(zweites.get(), "aktionListen")->trigger();
            zelleKlicken(teil<QTableWidget>(zweites.get(), "tabelleMedikamente"), 1, 1);
            t.env.antworten << true;
            klicken(teil<QPushButton>(zweites.get(), "knopfMedikamentLoeschen"));
        }
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Ibuprofen", "Zink", "Zypresse"}));
        tippe(t, "editMedikamentName", "Ibuprofen akut");
        t.knopf("knopfMedikamentAendern");
        QCOMPARE(t.env.meldungen, QStringList{konflikt});
        const QString stand = "SELECT group_concat(medizin, '|') FROM medikament";
        QCOMPARE(t.wert(stand).toString(), "Baldrian|Zink|Zypresse");
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Zink", "Zypresse"}));
        QCOMPARE(texte(t.w.get(), {"anzeigeMedikament", "editMedikamentName"}), "Baldrian|Baldrian");

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
        nichtNachsehen(t.w.get());
        auto *sorte = t.tabelle("tabelleSorten");
        const QString stand = "SELECT group_concat(handelsname || dosis || packung, '|') FROM sorte";

        zelleKlicken(sorte, 1, 2);
        Datei::ausfuehren(t.f, "DELETE FROM sorte WHERE handelsname = 'Filmtabletten'");
        tippe(t, "editSorteNeuHandelsname", "Tropfen");
        t.knopf("knopfSorteAendern");
        QCOMPARE(t.env.meldungen, QStringList{konflikt});
        QCOMPARE(t.wert(stand).toString(), "Brausetabletten200 mg10.0|Dragees600 mg30.0|Kapseln25 mg30.0");
        QCOMPARE(spalte(sorte, 2) + spalte(t.tabelle("tabelleSortenwahl"), 2),
                 (QStringList{"Brausetabletten", "Dragees", "Brausetabletten", "Dragees", "Kapseln"}));
        QCOMPARE(texte(t.w.get(), {"editSorteNeuHandelsname", "anzeigeSorteHandelsname"}),
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

QTEST_MAIN(AndernortsTest)
#include "tst_andernorts.moc"
