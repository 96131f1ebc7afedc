// SPDX-License-Identifier: GPL-3.0-or-later
// The patient lists, the search, and adding, changing and deleting patients.
#include "fensterhilfe.h"

namespace {

const QString patienten = QStringLiteral(
    "INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES ");

const QStringList gewaehlt{"anzeigeName",    "anzeigeVorname", "anzeigeGeburtstag", "anzeigePlz",   "anzeigeOrt",
                           "anzeigeStrasse", "anzeigeNr",      "kopfzeilePatient",  "kopfzeileZeit"};
const QStringList bearbeitet{"editName",    "editVorname", "editPlz",       "editOrt",
                             "editStrasse", "editNr",      "editGeburtstag"};

// The window looks for changes made elsewhere, as its watcher does every few seconds.
void nachsehen(const Welt &t)
{
    QMetaObject::invokeMethod(teil<QTimer>(t.w.get(), "aenderungsWaechter"), "timeout");
}

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
        QCOMPARE(spalte(wahl, 1) + spalte(liste, 1),
                 (QStringList{"Muster", "Myers", "M\u00FCller", "Ohne", "Zeisig", "abel", "abel", "Muster", "Myers",
                              "M\u00FCller", "Zeisig"}));
        QCOMPARE(texteVerbunden(t.w.get(), gewaehlt + QStringList{"editName"}),
                 "Muster|Erika|01.02.1940|53111|Bonn|Hauptstra\u00DFe|7a| - Patient: Muster, Erika | *01.02.1940|"
                 "erstellt am: 06.12.2026 - 10:30:00 Uhr |abel");
        // A click chooses the patient and takes the time anew; the edit fields stay.
        t.env.zeit = t.env.zeit.addSecs(3724);
        zelleKlicken(wahl, 2, 1);
        QCOMPARE(texteVerbunden(t.w.get(), {"anzeigeOrt", "kopfzeilePatient", "kopfzeileZeit", "editName"}),
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
        } faelle[] = {{0, "O", "abel|Zeisig"},
                      {0, "\u00E4", "Myers"},
                      {0, "\u00C4", "M\u00FCller"},
                      {1, "ER", "Muster|Myers|M\u00FCller"},
                      {0, "m_m", "abel"},
                      {0, "%", "abel|Muster|Myers|M\u00FCller|Zeisig"},
                      {2, "_", "abel|Muster|M\u00FCller|Zeisig|Ohne"},
                      {2, "", "abel|Muster|Myers|M\u00FCller|Zeisig|Ohne"}};
        for (const auto &f : faelle)
            QCOMPARE(suchen(f.art, f.begriff) + " for " + f.begriff, QString(f.gefunden) + " for " + f.begriff);

        // A click on a found row loads the hidden columns as well.
        QCOMPARE(suchen(2, "e"), "abel|M\u00FCller");
        zelleKlicken(liste, 0, 1);
        QCOMPARE(texteVerbunden(t.w.get(), bearbeitet), "abel|Tom_Ma|52062|Gera|Domhof|1|01.01.1931");
        // "default" is an ordinary text; finding nothing keeps the loaded patient.
        QCOMPARE(suchen(0, "default") + texteVerbunden(t.w.get(), {"editName"}), "abel");
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
        QCOMPARE(texteVerbunden(t.w.get(), {"editName"}), "Zeller");

        // "Ja" removes only that patient's lines and appointments.
        Datei::ausfuehren(t.f, "DROP TRIGGER sperre");
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.wert(stand).toString(), "1|1,1|1");
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "kopfzeilePatient"}),
                 "Muster| - Patient: Muster, Erika | *01.02.1940");

        // The last patient: nothing of it stays chosen, loaded or shown in any table.
        const QStringList tabellen{"tabelleZuordnung", "tabelleTermine", "tabelleUebersicht", "tabelleVerordnungsplan"};
        QCOMPARE(texteVerbunden(t.w.get(), tabellen, "rowCount"), "2|1|2|2");
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QVERIFY(t.env.fragen.last().contains("2 zugeordnete Medikamente und 1 Arzttermin "));
        QCOMPARE(t.wert(stand).toString(), QString());
        QCOMPARE(texteVerbunden(t.w.get(), gewaehlt + bearbeitet), QString(15, '|') + "unbekannt");
        QCOMPARE(texteVerbunden(t.w.get(), tabellen, "rowCount"), "0|0|0|0");
        // Nothing is loaded any more: no question, nothing happens.
        t.knopf("knopfPatientEntfernen");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.env.fragen.size() + t.env.meldungen.size(), 5);

        // Each choice shows its group; switching to the search and back clears what was typed.
        const QStringList gruppen{"gruppeNeuerPatient", "gruppePatientSuchen"};
        t.knopf("radioPatientHinzufuegen");
        tippe(t, "neuName", "Adler");
        QString gezeigt = texteVerbunden(t.w.get(), gruppen, "visible");
        t.knopf("radioPatientSuchen");
        gezeigt += ' ' + texteVerbunden(t.w.get(), gruppen, "visible");
        t.knopf("radioPatientHinzufuegen");
        QCOMPARE(gezeigt + texteVerbunden(t.w.get(), {"neuName"}), "true|false false|true");

        const QStringList felder{"neuName", "neuVorname", "neuPlz", "neuOrt", "neuStrasse", "neuNr"};
        const QStringList werte{"Adler", "Greta", "01067", "Dresden", "Altmarkt", "3b"};
        for (int i = 0; i < felder.size(); ++i)
            tippe(t, felder[i], werte[i]);
        teil<QDateEdit>(t.w.get(), "neuGeburtstag")->setDate(QDate(1950, 3, 1));
        t.knopf("knopfPatientEintragen");
        QCOMPARE(t.wert("SELECT id || lastname || firstname || birth || plz || ort || strasse || nr FROM patient")
                     .toString(),
                 "3AdlerGreta01.03.195001067DresdenAltmarkt3b");
        QCOMPARE(spalte(liste, 1) + spalte(wahl, 1), (QStringList{"Adler", "Adler"}));
        // The group closes emptied: the next new patient does not inherit the date of birth unseen.
        QVERIFY(teil<QRadioButton>(t.w.get(), "radioAusblenden")->isChecked());
        QCOMPARE(texteVerbunden(t.w.get(), QStringList{"anzeigeName", "editName", "neuGeburtstag"} + felder),
                 "Adler|Adler|unbekannt||||||");
    }

    // After a search, "Daten ändern" and a refill because the file changed
    // elsewhere keep the found rows and the patient being edited, by key,
    // with what was typed for it; a patient gone elsewhere is no longer
    // edited, and nothing typed for it lands in another patient.
    void sucheUndBearbeitungBleiben()
    {
        Welt t;
        mitListen(t, {patienten + "('Erika', 'Adam', '', '1', 'Bonn', '', ''), ('Hans', 'Berger', '', '2', 'Kiel', "
                                  "'', ''), ('Ida', 'Meier', '', '3', 'Ulm', '', ''), ('Jan', 'Bauer', '', '4', 'Hof', "
                                  "'', '')"});
        auto *liste = t.tabelle("tabellePatienten");
        const QString stand = "SELECT group_concat(lastname || firstname || plz || ort, ' ') FROM patient";
        t.knopf("radioPatientSuchen");
        teil<QComboBox>(t.w.get(), "auswahlSuchspalte")->setCurrentIndex(1);
        tippe(t, "editSuchbegriff", "er");
        t.knopf("knopfPatientSuchen");
        zelleKlicken(liste, 1, 1);
        tippe(t, "editOrt", "Gera");
        t.knopf("knopfPatientAendern");
        QCOMPARE(spalte(liste, 1), (QStringList{"Berger", "Meier", "Bauer"}));
        QCOMPARE(liste->currentRow(), 1);
        tippe(t, "editPlz", "07545");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(stand).toString(), "AdamErika1Bonn BergerHans2Kiel MeierIda07545Gera BauerJan4Hof");

        // Renamed so that the search no longer finds it: it stays loaded, and the next change is its own.
        tippe(t, "editName", "Schmidt");
        t.knopf("knopfPatientAendern");
        QCOMPARE(spalte(liste, 1), (QStringList{"Berger", "Bauer"}));
        Datei::ausfuehren(t.f, "UPDATE patient SET ort = 'Suhl' WHERE lastname = 'Schmidt'");
        nachsehen(t);
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editOrt"}), "Schmidt|Suhl");
        tippe(t, "editVorname", "Ina");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(stand).toString(), "AdamErika1Bonn BergerHans2Kiel SchmidtIna07545Suhl BauerJan4Hof");

        // Another program changes the file while a name is being typed.
        zelleKlicken(liste, 1, 1);
        tippe(t, "editVorname", "Jana");
        Datei::ausfuehren(t.f, "UPDATE patient SET ort = 'Jena' WHERE lastname = 'Bauer'");
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Berger'");
        Datei::ausfuehren(t.f, patienten + "('Eva', 'Weber', '', '5', 'Gotha', '', '')");
        nachsehen(t);
        QCOMPARE(spalte(liste, 1), (QStringList{"Bauer", "Weber"}));
        QCOMPARE(liste->currentRow(), 0);
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editVorname", "editOrt"}), "Bauer|Jana|Jena");

        // Gone elsewhere while typed for: nothing of it stays to be stored into another patient.
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Bauer'");
        nachsehen(t);
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editVorname", "editOrt"}), "||");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(stand).toString(), "AdamErika1Bonn SchmidtIna07545Suhl WeberEva5Gotha");

        // Leaving the search lists all patients again, keeping the one being edited and what was typed.
        zelleKlicken(liste, 0, 1);
        tippe(t, "editVorname", "Evi");
        t.knopf("radioAusblenden");
        QCOMPARE(spalte(liste, 1), (QStringList{"Adam", "Schmidt", "Weber"}));
        QCOMPARE(liste->currentRow(), 2);
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editVorname"}), "Weber|Evi");
        QVERIFY(t.env.meldungen.isEmpty());
    }

    // A birth date the date field cannot show reads "unbekannt" instead of
    // the former patient's, and stays as stored unless the user sets one;
    // a new patient's untouched birth date is stored empty.
    void geburtstagWieGespeichert()
    {
        Welt t;
        mitListen(t,
                  {patienten + "('Erika', 'Adler', '01.02.1940', '', '', '', ''), ('Hans', 'Berg', '1940-02-01', "
                               "'', '', '', ''), ('Ida', 'Claus', '', '', '', '', ''), ('Jan', 'Dorn', NULL, '', '', "
                               "'', ''), ('Kai', 'Ernst', '01.01.1850', '', '', '', '')"});
        auto *liste = t.tabelle("tabellePatienten");
        auto *datum = teil<QDateEdit>(t.w.get(), "editGeburtstag");
        t.patientWaehlen("Ernst");
        QStringList gezeigt;
        for (int z : {1, 2, 3, 4}) {
            zelleKlicken(liste, 0, 1);
            zelleKlicken(liste, z, 1);
            gezeigt << datum->text();
        }
        QCOMPARE(gezeigt, (QStringList{"unbekannt", "unbekannt", "unbekannt", "unbekannt"}));

        const QString geburtstage = "SELECT group_concat(quote(birth), ' ') FROM patient";
        for (int z = 0; z < 5; ++z) {
            zelleKlicken(liste, z, 1);
            tippe(t, "editNr", "9");
            t.knopf("knopfPatientAendern");
        }
        QCOMPARE(t.wert(geburtstage).toString(), "'01.02.1940' '1940-02-01' '' NULL '01.01.1850'");
        // A date set replaces the stored one; set to "unbekannt" it is stored empty.
        zelleKlicken(liste, 2, 1);
        datum->setDate(QDate(1950, 4, 3));
        t.knopf("knopfPatientAendern");
        zelleKlicken(liste, 0, 1);
        datum->setDate(datum->minimumDate());
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(geburtstage).toString(), "'' '1940-02-01' '03.04.1950' NULL '01.01.1850'");

        // A refill shows a birth date stored elsewhere, but keeps one the user set.
        zelleKlicken(liste, 3, 1);
        Datei::ausfuehren(t.f, "UPDATE patient SET birth = '05.06.1945' WHERE lastname = 'Dorn'");
        nachsehen(t);
        gezeigt = QStringList{datum->text()};
        datum->setDate(QDate(1946, 7, 8));
        Datei::ausfuehren(t.f, "UPDATE patient SET birth = '09.10.1947' WHERE lastname = 'Dorn'");
        nachsehen(t);
        QCOMPARE(gezeigt << datum->text(), (QStringList{"05.06.1945", "08.07.1946"}));

        t.knopf("radioPatientHinzufuegen");
        tippe(t, "neuName", "Fuchs");
        QCOMPARE(texteVerbunden(t.w.get(), {"neuGeburtstag"}), "unbekannt");
        t.knopf("knopfPatientEintragen");
        QCOMPARE(t.wert("SELECT quote(birth) FROM patient WHERE lastname = 'Fuchs'").toString(), "''");
        // The new patient is the one loaded for editing; the patient chosen for the plan stays chosen.
        QCOMPARE(texteVerbunden(t.w.get(), {"editName", "editGeburtstag"}), "Fuchs|unbekannt");
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Ernst, Kai | *01.01.1850");
    }
};

QTEST_MAIN(PatientenTest)
#include "tst_patienten.moc"
