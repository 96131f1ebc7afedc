// The patient lists, the search, and adding, changing and deleting patients.
#include "fensterhilfe.h"

namespace {

const QString patienten =
    QStringLiteral("INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES ");

const QStringList gewaehlt{"anzeigeName", "anzeigeVorname", "anzeigeGeburtstag", "anzeigePlz", "anzeigeOrt",
                           "anzeigeStrasse", "anzeigeNr", "kopfzeilePatient", "kopfzeileZeit"};
const QStringList bearbeitet{"editName", "editVorname", "editPlz", "editOrt", "editStrasse", "editNr", "editGeburtstag"};

} // namespace

class PatientenTest : public QObject
{
    Q_OBJECT
private slots:
    void listenUndSuche()
    {
        Welt t;
        mitListen(t, {patienten + "('Tom_Ma', 'abel', '01.01.1931', '52062', 'Gera', 'Domhof', '1'), "
                                  "('Erika', 'Muster', '01.02.1940', '53111', 'Bonn', 'Hauptstra\u00DFe', '7a'), "
                                  "('B\u00E4rbel', 'Myers', '', '', '', '', ''), "
                                  "('\u00C4nne', 'M\u00FCller', '03.03.1933', '', 'Essen', '', ''), "
                                  "('Udo', 'Zeisig', '', '', 'Ulm', '', ''), (NULL, 'Ohne', '', '', 'Hof', '', '')"});
        auto *wahl = t.tabelle("tabellePatientenwahl");
        auto *liste = t.tabelle("tabellePatienten");
        // Byte order; the list of all patients is in key order and, being a search on the first name, lacks NULL.
        QCOMPARE(spalte(wahl, 1) + spalte(liste, 1), (QStringList{"Muster", "Myers", "M\u00FCller", "Ohne", "Zeisig",
                                                                  "abel", "abel", "Muster", "Myers", "M\u00FCller",
                                                                  "Zeisig"}));
        QCOMPARE(texte(t.w.get(), gewaehlt + QStringList{"editName"}),
                 "Muster|Erika|01.02.1940|53111|Bonn|Hauptstra\u00DFe|7a| - Patient: Muster, Erika | *01.02.1940|"
                 "erstellt am: 06.12.2026 - 10:30:00 Uhr |abel");
        // A click chooses the patient and takes the time anew; the edit fields stay.
        t.env.zeit = t.env.zeit.addSecs(3724);
        zelleKlicken(wahl, 2, 1);
        QCOMPARE(texte(t.w.get(), {"anzeigeOrt", "kopfzeilePatient", "kopfzeileZeit", "editName"}),
                 "Essen| - Patient: M\u00FCller, \u00C4nne | *03.03.1933|erstellt am: 06.12.2026 - 11:32:04 Uhr |abel");

        auto *art = teil<QComboBox>(t.w.get(), "auswahlSuchspalte");
        t.knopf("radioPatientSuchen");
        auto suchen = [&](int spaltenArt, const QString &begriff) {
            art->setCurrentIndex(spaltenArt);
            tippe(t, "editSuchbegriff", begriff);
            t.knopf("knopfPatientSuchen");
            return spalte(liste, 1).join('|');
        };
        // First name (0), last name (1) or place (2): A to Z ignore case, umlauts do not; % and _ are wildcards.
        const struct {
            int art;
            const char *begriff, *gefunden;
        } faelle[] = {{0, "O", "abel|Zeisig"}, {0, "\u00E4", "Myers"}, {0, "\u00C4", "M\u00FCller"},
                      {1, "ER", "Muster|Myers|M\u00FCller"}, {0, "m_m", "abel"},
                      {0, "%", "abel|Muster|Myers|M\u00FCller|Zeisig"}, {2, "_", "abel|Muster|M\u00FCller|Zeisig|Ohne"},
                      {2, "", "abel|Muster|Myers|M\u00FCller|Zeisig|Ohne"}};
        for (const auto &f : faelle)
            QCOMPARE(suchen(f.art, f.begriff) + " for " + f.begriff, QString(f.gefunden) + " for " + f.begriff);

        // A click on a found row loads the hidden columns as well.
        QCOMPARE(suchen(2, "e"), "abel|M\u00FCller");
        zelleKlicken(liste, 0, 1);
        QCOMPARE(texte(t.w.get(), bearbeitet), "abel|Tom_Ma|52062|Gera|Domhof|1|01.01.1931");
        // "default" is an ordinary text; finding nothing keeps the loaded patient.
        QCOMPARE(suchen(0, "default") + texte(t.w.get(), {"editName"}), "abel");
        // Only the three known columns reach the statement.
        art->setItemData(1, "lastname LIKE '%' OR lastname");
        QCOMPARE(suchen(1, "abel"), QString());
        art->setItemData(1, "strasse");
        QCOMPARE(suchen(1, "Domhof") + t.env.meldungen.join(""), QString());
    }

    void aendernLoeschenHinzufuegen()
    {
        Welt t;
        mitListen(t, {patienten + "('Erika', 'Muster', '01.02.1940', '', '', '', ''), ('Hans', 'Berg', '02.03.1941', "
                                  "'', '', '', '')",
                      "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 1, 9, 1), (1, 1, 9, 2), "
                      "(2, 1, 9, 1)",
                      "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', '2027-01-05'), "
                      "(2, 'Hausarzt', '2027-01-05'), (2, 'Hausarzt', '2027-01-05')",
                      "CREATE TRIGGER sperre BEFORE DELETE ON termine BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"});
        auto *liste = t.tabelle("tabellePatienten");
        auto *wahl = t.tabelle("tabellePatientenwahl");
        // Which patients, intake lines and appointments the file holds.
        const QString stand = "SELECT (SELECT group_concat(id) FROM patient) || '|' || (SELECT group_concat(pat_id) "
                              "FROM einnahme) || '|' || (SELECT group_concat(pata_id) FROM termine)";

        // A change keeps the key, and with it the patient's lines and appointments.
        zelleKlicken(liste, 1, 1);
        tippe(t, "editName", "Zeller");
        teil<QDateEdit>(t.w.get(), "editGeburtstag")->setDate(QDate(1941, 3, 12));
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert("SELECT lastname || firstname || birth FROM patient WHERE id = 2").toString(),
                 "ZellerHans12.03.1941");
        QCOMPARE(spalte(liste, 1) + spalte(wahl, 1), (QStringList{"Muster", "Zeller", "Muster", "Zeller"}));

        // "Nein" changes nothing, nor does a failing step, which undoes the
        // whole delete and leaves the patient loaded.
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.fragen, QStringList{"Soll der Patient \u201EZeller, Hans\u201C (*12.03.1941) gel\u00F6scht "
                                           "werden?\n\nDabei werden auch 1 zugeordnetes Medikament und 2 Arzttermine "
                                           "des Patienten gel\u00F6scht."});
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(t.wert(stand).toString(), "1,2|1,1,2|1,2,2");
        QCOMPARE(texte(t.w.get(), {"editName"}), "Zeller");

        // "Ja" removes only that patient's lines and appointments.
        Datei::ausfuehren(t.f, "DROP TRIGGER sperre");
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.wert(stand).toString(), "1|1,1|1");
        QCOMPARE(texte(t.w.get(), {"editName", "kopfzeilePatient"}), "Muster| - Patient: Muster, Erika | *01.02.1940");

        // The last patient: nothing of it stays chosen, loaded or shown in any table.
        const QStringList tabellen{"tabelleZuordnung", "tabelleTermine", "tabelleUebersicht", "tabelleVerordnungsplan"};
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), "2|1|2|2");
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QVERIFY(t.env.fragen.last().contains("2 zugeordnete Medikamente und 1 Arzttermin "));
        QCOMPARE(t.wert(stand).toString(), QString());
        QCOMPARE(texte(t.w.get(), gewaehlt + bearbeitet), QString(15, '|') + "01.01.2000");
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), "0|0|0|0");
        // Nothing is loaded any more: no question, nothing happens.
        t.knopf("knopfPatientEntfernen");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.env.fragen.size() + t.env.meldungen.size(), 5);

        // Each choice shows its group; switching to the search and back clears what was typed.
        const QStringList gruppen{"gruppeNeuerPatient", "gruppePatientSuchen"};
        t.knopf("radioPatientHinzufuegen");
        tippe(t, "neuName", "Adler");
        QString gezeigt = texte(t.w.get(), gruppen, "visible");
        t.knopf("radioPatientSuchen");
        gezeigt += ' ' + texte(t.w.get(), gruppen, "visible");
        t.knopf("radioPatientHinzufuegen");
        QCOMPARE(gezeigt + texte(t.w.get(), {"neuName"}), "true|false false|true");

        const QStringList felder{"neuName", "neuVorname", "neuPlz", "neuOrt", "neuStrasse", "neuNr"};
        const QStringList werte{"Adler", "Greta", "01067", "Dresden", "Altmarkt", "3b"};
        for (int i = 0; i < felder.size(); ++i)
            tippe(t, felder[i], werte[i]);
        teil<QDateEdit>(t.w.get(), "neuGeburtstag")->setDate(QDate(1950, 3, 1));
        t.knopf("knopfPatientEintragen");
        QCOMPARE(t.wert("SELECT id || lastname || firstname || birth || plz || ort || strasse || nr FROM patient")
                     .toString(), "3AdlerGreta01.03.195001067DresdenAltmarkt3b");
        QCOMPARE(spalte(liste, 1) + spalte(wahl, 1), (QStringList{"Adler", "Adler"}));
        // The group closes emptied: the next new patient does not inherit the date of birth unseen.
        QVERIFY(teil<QRadioButton>(t.w.get(), "radioAusblenden")->isChecked());
        QCOMPARE(texte(t.w.get(), QStringList{"anzeigeName", "editName", "neuGeburtstag"} + felder),
                 "Adler|Adler|01.01.2000||||||");
    }
};

QTEST_MAIN(PatientenTest)
#include "tst_patienten.moc"
