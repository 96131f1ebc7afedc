// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue: medications, their packages and the package chosen for assigning.
#include "fensterhilfe.h"

namespace {

const QString sorten = QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES ");

// Whether the pages "Hinzufügen", "Bearbeiten" and "Löschen" can be used (1 or 0), the
// medication named on each page, then the package on "Bearbeiten" and on "Löschen".
QString gezeigt(const Welt &t)
{
    auto *tabs = teil<QTabWidget>(t.w.get(), "medikamentTabs");
    return QString("%1%2%3|").arg(tabs->isTabEnabled(0)).arg(tabs->isTabEnabled(1)).arg(tabs->isTabEnabled(2)) +
           texteVerbunden(t.w.get(), {"anzeigeMedikament", "editMedikamentName", "anzeigeSorteNeuFuer",
                                      "anzeigeSorteBearbeitenFuer", "anzeigeSorteLoeschenFuer",
                                      "editSorteNeuHandelsname", "editSorteNeuDosis", "editSorteNeuPackung",
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

QString mal5(const QString &medikament)
{
    return (medikament + '|').repeated(5);
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
        QCOMPARE(texteVerbunden(t.w.get(), {"anzeigeSorteLoeschenFuer", "editMedikamentName", "editMedikamentNeu"}),
                 "Baldrian|Baldrian|");

        // Renamed, the medication moves and stays current and shown: the next command acts on it.
        zelleKlicken(liste, 1, 1);
        tippe(t, "editMedikamentName", "Zypresse");
        t.knopf("knopfMedikamentAendern");
        QCOMPARE(spalte(liste, 1), (QStringList{"Baldrian", "Zink", "Zypresse", "aspirin", "\u00D6l"}));
        QCOMPARE(gezeigt(t), "111|" + mal5("Zypresse") + "Brausetabletten|200 mg|10|Brausetabletten|200 mg|10");
        const QString stand = "SELECT (SELECT group_concat(id) FROM medikament) || '|' || (SELECT group_concat(id) "
                              "FROM sorte) || '|' || (SELECT group_concat(med_id) FROM einnahme)";
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.fragen, QStringList{"Soll das Medikament \u201EZypresse\u201C gel\u00F6scht werden?\n\nDabei "
                                           "werden auch 2 Packungen und 4 Zuordnungen bei 2 Patienten gel\u00F6scht."});
        // "Nein" keeps everything; so does a failing step, undoing the whole delete.
        t.env.antworten << true;
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(t.wert(stand).toString(), "1,2,3,4,5|1,2,3|1,2,1,2,3");

        Datei::ausfuehren(t.f, "DROP TRIGGER sperre");
        t.env.antworten << true;
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.wert(stand).toString(), "2,3,4,5|3|3");
        QCOMPARE(spalte(t.tabelle("tabelleSortenwahl"), 2), QStringList{"Dragees"});
        // The first medication left is current and shown.
        QCOMPARE(gezeigt(t), "111|" + mal5("Baldrian") + "Dragees|450 mg|60|Dragees|450 mg|60");

        for (int i = 0; i < 4; ++i) {
            t.env.antworten << true;
            t.knopf("knopfMedikamentLoeschen");
        }
        QVERIFY(t.env.fragen.at(3).contains("1 Packung und 1 Zuordnung bei 1 Patienten"));
        QCOMPARE(t.wert(stand).toString(), QString());
        QCOMPARE(texteVerbunden(t.w.get(), {"tabelleMedikamente", "tabelleSortenwahl"}, "rowCount"), "0|0");
        QCOMPARE(gezeigt(t), "000" + QString(11, '|'));
        // Without a medication, renaming and deleting ask and say nothing.
        t.knopf("knopfMedikamentAendern");
        t.knopf("knopfMedikamentLoeschen");
        QCOMPARE(t.env.fragen.size() + t.env.meldungen.size(), 8);
    }

    void packungen()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Baldrian')"});
        auto *liste = t.tabelle("tabelleMedikamente");
        auto *sorte = t.tabelle("tabelleSorten");
        auto *wahl = t.tabelle("tabelleSortenwahl");
        // The current rows of the medications, the packages and the choice for assigning.
        auto aktuell = [&] { return QList<int>{liste->currentRow(), sorte->currentRow(), wahl->currentRow()}; };
        zelleKlicken(liste, 1, 1);
        packung(t, "", {"Filmtabletten", "5 mg", "20"});
        packung(t, "", {"Filmtabletten", "10 mg", "20"});
        // Text order of the dose, in both tables; the new package is current and shown though it sorts first.
        QCOMPARE(spalte(sorte, 3) + spalte(wahl, 3), (QStringList{"10 mg", "5 mg", "10 mg", "5 mg"}));
        QCOMPARE(aktuell(), (QList<int>{1, 0, -1}));
        QCOMPARE(gezeigt(t), "111|" + mal5("Ibuprofen") + "Filmtabletten|10 mg|20|Filmtabletten|10 mg|20");

        // Chosen for assigning: the choice resets the typed doses.
        const QStringList zuordnen{"anzeigeZuordnenSorte", "anzeigeZuordnenDosis", "anzeigeZuordnenPackung",
                                   "editZuordnenMorgen", "editZuordnenAbend"};
        tippe(t, "editZuordnenMorgen", "2");
        zelleKlicken(wahl, 0, 2);
        tippe(t, "editZuordnenAbend", "1");

        // Changed, the package moves in both tables and stays current, shown and
        // chosen, with the typed doses.
        Datei::ausfuehren(t.f, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 2, 10, 1), "
                               "(1, 2, 5, 2), (2, 2, 5, 1), (2, 1, 5, 2)");
        zelleKlicken(sorte, 0, 2);
        packung(t, "Neu", {"Tropfen", "7 mg", "12,5"});
        QCOMPARE(spalte(sorte, 3) + spalte(wahl, 2), (QStringList{"5 mg", "7 mg", "Filmtabletten", "Tropfen"}));
        QCOMPARE(aktuell(), (QList<int>{1, 1, 1}));
        QCOMPARE(gezeigt(t), "111|" + mal5("Ibuprofen") + "Tropfen|7 mg|12.5|Tropfen|7 mg|12.5");
        QCOMPARE(texteVerbunden(t.w.get(), zuordnen), "Tropfen|7 mg|12.5|0|1");
        packung(t, "Neu", {"Tropfen", "7 mg", "zwanzig"});
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(t.wert("SELECT packung FROM sorte WHERE id = 2").toString(), "12.5");

        // Deleting asks first, naming the package and the intake lines that
        // keep it; "Nein" keeps everything.
        const QString stand = "SELECT (SELECT group_concat(id) FROM sorte) || '|' || (SELECT group_concat(med_id) "
                              "FROM einnahme)";
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.fragen,
                 QStringList{"Soll die Packung \u201ETropfen\u201C (7 mg) gel\u00F6scht werden?\n\nSie wird "
                             "in 3 Zuordnungen bei 2 Patienten verwendet. Diese Zuordnungen bleiben "
                             "erhalten, zeigen danach aber kein Medikament mehr an."});
        QCOMPARE(t.wert(stand).toString(), "1,2|2,2,2,1");
        // "Ja": the intake lines using it stay, the choice goes.
        t.env.antworten << true;
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.wert(stand).toString(), "1|2,2,2,1");
        QCOMPARE(aktuell(), (QList<int>{1, 0, -1}));
        QCOMPARE(gezeigt(t), "111|" + mal5("Ibuprofen") + "Filmtabletten|5 mg|20|Filmtabletten|5 mg|20");
        QCOMPARE(texteVerbunden(t.w.get(), zuordnen.mid(0, 3)), "||");
        t.env.antworten << true;
        t.knopf("knopfSorteLoeschen");
        QCOMPARE(t.env.fragen.last(), "Soll die Packung \u201EFilmtabletten\u201C (5 mg) gel\u00F6scht werden?\n\nSie "
                                      "wird in 1 Zuordnung bei 1 Patienten verwendet. Diese Zuordnung bleibt erhalten, "
                                      "zeigt danach aber kein Medikament mehr an.");
        QCOMPARE(texteVerbunden(t.w.get(), {"tabelleSorten", "tabelleSortenwahl"}, "rowCount"), "0|0");
        QCOMPARE(gezeigt(t), "100|" + mal5("Ibuprofen") + "|||||");
    }

    void packungseinheiten()
    {
        Welt t;
        mitListen(t, {"INSERT INTO medikament (medizin) VALUES ('Ibuprofen')"});
        QStringList bleibt;
        for (const char *eingabe : {"20", "2,5", "2.5", "", "zwanzig", "-1"}) {
            packung(t, "", {"Tropfen", "1 ml", eingabe});
            bleibt << texteVerbunden(t.w.get(), {"editSorteHandelsname", "editSorteDosis", "editSortePackung"});
        }
        QCOMPARE(t.wert("SELECT group_concat(packung || typeof(packung), ' ') FROM sorte").toString(),
                 "20.0real 2.5real 2.5real");
        // Each refusal is said, naming the field, and what was typed stays.
        QCOMPARE(t.env.meldungen.join("").count("\u201EEinheiten pro Packung\u201C"), 3);
        QCOMPARE(bleibt, (QStringList{"||", "||", "||", "Tropfen|1 ml|", "Tropfen|1 ml|zwanzig", "Tropfen|1 ml|-1"}));
    }
};

QTEST_MAIN(KatalogTest)
#include "tst_katalog.moc"
