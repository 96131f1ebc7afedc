// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue: medications, their packages and the package chosen for assigning.
#include "fensterhilfe.h"

namespace {

const QString sorten = QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES ");

// Whether the pages "Hinzufügen", "Bearbeiten" and "Löschen" can be used.
QList<bool> seitenOffen(const Welt &t)
{
    auto *tabs = teil<QTabWidget>(t.w.get(), "medikamentTabs");
    return {tabs->isTabEnabled(0), tabs->isTabEnabled(1), tabs->isTabEnabled(2)};
}

// The medication named on the pages, in the five places that name it.
QStringList medikamentGezeigt(const Welt &t)
{
    return texte(t.w.get(), {"anzeigeMedikament", "editMedikamentName", "anzeigeSorteNeuFuer",
                             "anzeigeSorteBearbeitenFuer", "anzeigeSorteLoeschenFuer"});
}

// The package on "Bearbeiten" and on "Löschen": name, dose and units each.
QStringList packungGezeigt(const Welt &t)
{
    return texte(t.w.get(), {"editSorteNeuHandelsname", "editSorteNeuDosis", "editSorteNeuPackung",
                             "anzeigeSorteHandelsname", "anzeigeSorteDosis", "anzeigeSortePackung"});
}

// Enters a package ("") or changes the current one ("Neu").
void packung(const Welt &t, const QString &art, const QStringList &werte)
{
    const QStringList felder{"Handelsname", "Dosis", "Packung"};
    for (int i = 0; i < 3; ++i)
        tippe(t, "editSorte" + art + felder.at(i), werte.at(i));
    t.knopf(art.isEmpty() ? "knopfSorteEintragen" : "knopfSorteAendern");
}

QString ids(const Welt &t, const char *sql)
{
    return t.wert(sql).toString();
}

} // namespace

class KatalogTest : public QObject
{
    Q_OBJECT
private slots:
    void medikamente()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Baldrian'), ('\u00D6l')",
                      sorten + "(1, 'Filmtabletten', '400 mg', 20), (1, 'Brausetabletten', '200 mg', 10), "
                               "(2, 'Dragees', '450 mg', 60)",
                      "INSERT INTO einnahme (pat_id, med_id) VALUES (1, 1), (1, 2), (2, 1), (2, 2), (1, 3)",
                      "CREATE TRIGGER sperre BEFORE DELETE ON medikament BEGIN SELECT RAISE(ABORT, 'x'); END"});
        auto *liste = t.tabelle("tabelleMedikamente");
        for (const char *name : {"Zink", "aspirin"}) {
            tippe(t, "editMedikamentNeu", name);
            t.knopf("knopfMedikamentHinzufuegen");
        }
        // Byte order; the first is shown, the typed name is gone.
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Ibuprofen", "Zink", "aspirin", "\u00D6l"}));
        QCOMPARE(medikamentGezeigt(t), lauter(5, "Baldrian"));
        QCOMPARE(feld(t, "editMedikamentNeu"), QString());

        // Renamed, the medication moves and stays current and shown: the next command acts on it.
        zelleKlicken(liste, 1, 1);
        tippe(t, "editMedikamentName", "Zypresse");
        t.knopf("knopfMedikamentAendern");
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Zink", "Zypresse", "aspirin", "\u00D6l"}));
        QCOMPARE(seitenOffen(t), (QList<bool>{true, true, true}));
        QCOMPARE(medikamentGezeigt(t), lauter(5, "Zypresse"));
        QCOMPARE(packungGezeigt(t),
                 (QStringList{"Brausetabletten", "200 mg", "10", "Brausetabletten", "200 mg", "10"}));
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.fragen, QStringList{"Soll das Medikament \u201EZypresse\u201C gel\u00F6scht werden?\n\nDabei "
                                           "werden auch 2 Packungen und 4 Zuordnungen bei 2 Patienten gel\u00F6scht."});
        // "Nein" keeps everything; so does a failing step, undoing the whole delete.
        t.env.antworten << true;
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM medikament"), "1,2,3,4,5");
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM sorte"), "1,2,3");
        QCOMPARE(ids(t, "SELECT group_concat(med_id) FROM einnahme"), "1,2,1,2,3");

        Datei::ausfuehren(t.f, "DROP TRIGGER sperre");
        t.env.antworten << true;
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM medikament"), "2,3,4,5");
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM sorte"), "3");
        QCOMPARE(ids(t, "SELECT group_concat(med_id) FROM einnahme"), "3");
        QCOMPARE(spalte(t.tabelle("tabelleSortenwahl"), 2), QStringList{"Dragees"});
        // The first medication left is current and shown.
        QCOMPARE(medikamentGezeigt(t), lauter(5, "Baldrian"));
        QCOMPARE(packungGezeigt(t), (QStringList{"Dragees", "450 mg", "60", "Dragees", "450 mg", "60"}));

        for (int i = 0; i < 4; ++i) {
            t.env.antworten << true;
            t.knopf("knopfMedikamentLoeschen");
        }
        QVERIFY(t.env.fragen.at(3).contains("1 Packung und 1 Zuordnung bei 1 Patienten"));
        QCOMPARE(ids(t, "SELECT count(*) FROM medikament"), "0");
        QCOMPARE(liste->rowCount(), 0);
        QCOMPARE(t.tabelle("tabelleSortenwahl")->rowCount(), 0);
        QCOMPARE(seitenOffen(t), (QList<bool>{false, false, false}));
        QCOMPARE(medikamentGezeigt(t), lauter(5));
        QCOMPARE(packungGezeigt(t), lauter(6));
        // Without a medication, renaming and deleting ask and say nothing.
        t.knopf("knopfMedikamentAendern");
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.fragen.size(), 7);
        QCOMPARE(t.env.meldungen.size(), 1);
    }

    void packungen()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Baldrian')"});
        auto *liste = t.tabelle("tabelleMedikamente");
        auto *sorte = t.tabelle("tabelleSorten");
        auto *wahl = t.tabelle("tabelleSortenwahl");
        zelleKlicken(liste, 1, 1);
        packung(t, "", {"Filmtabletten", "5 mg", "20"});
        packung(t, "", {"Filmtabletten", "10 mg", "20"});
        QCOMPARE(texte(t.w.get(), {"editSorteHandelsname", "editSorteDosis", "editSortePackung"}), lauter(3));
        // Text order of the dose, in both tables; the new package is current and shown though it sorts first.
        QCOMPARE(spalte(sorte, 3), (QStringList{"10 mg", "5 mg"}));
        QCOMPARE(spalte(wahl, 3), (QStringList{"10 mg", "5 mg"}));
        QCOMPARE(liste->currentRow(), 1);
        QCOMPARE(sorte->currentRow(), 0);
        QCOMPARE(wahl->currentRow(), -1);
        QCOMPARE(medikamentGezeigt(t), lauter(5, "Ibuprofen"));
        QCOMPARE(packungGezeigt(t), (QStringList{"Filmtabletten", "10 mg", "20", "Filmtabletten", "10 mg", "20"}));

        // Chosen for assigning: the choice resets the typed doses.
        const QStringList zuordnen{"anzeigeZuordnenSorte", "anzeigeZuordnenDosis", "anzeigeZuordnenPackung"};
        tippe(t, "editZuordnenMorgen", "2");
        zelleKlicken(wahl, 0, 2);
        QCOMPARE(feld(t, "editZuordnenMorgen"), "0");
        tippe(t, "editZuordnenAbend", "1");

        // Changed, the package moves in both tables and stays current, shown and
        // chosen, with the typed doses.
        Datei::ausfuehren(t.f, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 2, 10, 1), "
                               "(1, 2, 5, 2), (2, 2, 5, 1), (2, 1, 5, 2)");
        zelleKlicken(sorte, 0, 2);
        packung(t, "Neu", {"Tropfen", "7 mg", "12,5"});
        QCOMPARE(spalte(sorte, 3), (QStringList{"5 mg", "7 mg"}));
        QCOMPARE(spalte(wahl, 2), (QStringList{"Filmtabletten", "Tropfen"}));
        QCOMPARE(sorte->currentRow(), 1);
        QCOMPARE(wahl->currentRow(), 1);
        QCOMPARE(packungGezeigt(t), (QStringList{"Tropfen", "7 mg", "12.5", "Tropfen", "7 mg", "12.5"}));
        QCOMPARE(texte(t.w.get(), zuordnen), (QStringList{"Tropfen", "7 mg", "12.5"}));
        QCOMPARE(feld(t, "editZuordnenAbend"), "1");

        // Deleting asks first, naming the package and the intake lines that
        // keep it; "Nein" keeps everything.
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.fragen,
                 QStringList{"Soll die Packung \u201ETropfen\u201C (7 mg) gel\u00F6scht werden?\n\nSie wird "
                             "in 3 Zuordnungen bei 2 Patienten verwendet. Diese Zuordnungen bleiben "
                             "erhalten, zeigen danach aber kein Medikament mehr an."});
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM sorte"), "1,2");
        // "Ja": the intake lines using it stay, the choice goes.
        t.env.antworten << true;
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(ids(t, "SELECT group_concat(id) FROM sorte"), "1");
        QCOMPARE(ids(t, "SELECT group_concat(med_id) FROM einnahme"), "2,2,2,1");
        QCOMPARE(sorte->currentRow(), 0);
        QCOMPARE(wahl->currentRow(), -1);
        QCOMPARE(packungGezeigt(t), (QStringList{"Filmtabletten", "5 mg", "20", "Filmtabletten", "5 mg", "20"}));
        QCOMPARE(texte(t.w.get(), zuordnen), lauter(3));
        t.env.antworten << true;
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.fragen.last(), "Soll die Packung \u201EFilmtabletten\u201C (5 mg) gel\u00F6scht werden?\n\nSie "
                                      "wird in 1 Zuordnung bei 1 Patienten verwendet. Diese Zuordnung bleibt erhalten, "
                                      "zeigt danach aber kein Medikament mehr an.");
        QCOMPARE(sorte->rowCount(), 0);
        QCOMPARE(wahl->rowCount(), 0);
        QCOMPARE(seitenOffen(t), (QList<bool>{true, false, false}));
        QCOMPARE(medikamentGezeigt(t), lauter(5, "Ibuprofen"));
        QCOMPARE(packungGezeigt(t), lauter(6));
    }
};

QTEST_MAIN(KatalogTest)
#include "tst_katalog.moc"
