// SPDX-License-Identifier: GPL-3.0-or-later
// The patient lists, the search, and adding, changing and deleting patients.
#include "fensterhilfe.h"

namespace {

const QString patienten = QStringLiteral(
    "INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES ");
// Six patients: umlauts, a wildcard in a name, a place and no first name.
const QString sechs = patienten +
                      QStringLiteral("('Tom_Ma', 'abel', '01.01.1931', '52062', 'Gera', 'Domhof', '1'), "
                                     "('Erika', 'Muster', '01.02.1940', '53111', 'Bonn', 'Hauptstra\u00DFe', '7a'), "
                                     "('B\u00E4rbel', 'Myers', '', '', '', '', ''), "
                                     "('\u00C4nne', 'M\u00FCller', '03.03.1933', '', 'Essen', '', ''), "
                                     "('Udo', 'Zeisig', '', '', 'Ulm', '', ''), (NULL, 'Ohne', '', '', 'Hof', '', '')");

const QStringList bearbeitet{"editName",    "editVorname", "editPlz",       "editOrt",
                             "editStrasse", "editNr",      "editGeburtstag"};

// The window looks for changes made elsewhere, as its watcher does every few seconds.
void nachsehen(const Welt &t)
{
    if (aufServer())
        Datei::mitteilen(t.w.get(), t.f);
    else
        QMetaObject::invokeMethod(teil<QTimer>(t.w.get(), "aenderungsWaechter"), "timeout");
}

// Searches the column (0 first name, 1 last name, 2 place) for the term; the last names found.
QStringList suchen(const Welt &t, int art, const QString &begriff)
{
    t.knopf("radioPatientSuchen");
    teil<QComboBox>(t.w.get(), "auswahlSuchspalte")->setCurrentIndex(art);
    tippe(t, "editSuchbegriff", begriff);
    t.knopf("knopfPatientSuchen");
    return spalte(t.tabelle("tabellePatienten"), 1);
}

// Every row of a patient table: its height and each cell's text, "^" marking a centred one.
QStringList zeilen(QTableWidget *t)
{
    QStringList z;
    for (int r = 0; r < t->rowCount(); ++r) {
        z << QString::number(t->rowHeight(r));
        for (int s = 0; s < 8; ++s) {
            const QTableWidgetItem *i = t->item(r, s);
            z.last() += "|" + (i ? i->text() + (i->textAlignment() == Qt::AlignCenter ? "^" : "") : "<kein Feld>");
        }
    }
    return z;
}

// The same for the file's patients: columns 3, 4 and 7 centred, every row hoehe high.
QStringList erwartet(const Welt &t, const QString &wo, int hoehe)
{
    QStringList z;
    for (const QVariantList &r :
         Datei::zeilen(t.f, "SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient " + wo))
        z << QStringLiteral("%1|%2|%3|%4|%5^|%6^|%7|%8|%9^")
                 .arg(hoehe)
                 .arg(r.value(0).toString(), r.value(1).toString(), r.value(2).toString(), r.value(3).toString(),
                      r.value(4).toString(), r.value(5).toString(), r.value(6).toString(), r.value(7).toString());
    return z;
}

// The column searched (0 first name, 1 last name, 2 place), the term, and the last names found.
struct Suche {
    const char *name;
    int art;
    const char *begriff, *gefunden;
};

} // namespace

Q_DECLARE_METATYPE(Suche)

class PatientenTest : public QObject
{
    Q_OBJECT
private slots:
    // Byte order in the choice; the list of all patients is in key order
    // and, being a search on the first name, lacks the one without. The
    // first is shown; a click chooses another and takes the time anew.
    void listen()
    {
        Welt t;
        mitListen(t, {sechs});
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1),
                 (QStringList{"Muster", "Myers", "M\u00FCller", "Ohne", "Zeisig", "abel"}));
        QCOMPARE(spalte(t.tabelle("tabellePatienten"), 1),
                 (QStringList{"abel", "Muster", "Myers", "M\u00FCller", "Zeisig"}));
        QCOMPARE(texte(t.w.get(), {"anzeigeName", "anzeigeVorname", "anzeigeGeburtstag", "anzeigePlz", "anzeigeOrt",
                                   "anzeigeStrasse", "anzeigeNr"}),
                 (QStringList{"Muster", "Erika", "01.02.1940", "53111", "Bonn", "Hauptstra\u00DFe", "7a"}));
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Muster, Erika | *01.02.1940");
        QCOMPARE(t.text("kopfzeileZeit"), "erstellt am: 06.12.2026 - 10:30:00 Uhr ");
        QCOMPARE(feld(t, "editName"), "abel");

        t.env.zeit = t.env.zeit.addSecs(3724);
        t.patientWaehlen("M\u00FCller");
        QCOMPARE(t.text("anzeigeOrt"), "Essen");
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: M\u00FCller, \u00C4nne | *03.03.1933");
        QCOMPARE(t.text("kopfzeileZeit"), "erstellt am: 06.12.2026 - 11:32:04 Uhr ");
        QCOMPARE(feld(t, "editName"), "abel");
    }

    // A to Z ignore case, umlauts do not; % and _ are wildcards; "default"
    // is an ordinary text.
    void suche_data()
    {
        faelle<Suche>({{"Vorname O", 0, "O", "abel,Zeisig"},
                       {"Vorname \u00E4", 0, "\u00E4", "Myers"},
                       {"Vorname \u00C4", 0, "\u00C4", "M\u00FCller"},
                       {"Nachname ER", 1, "ER", "Muster,Myers,M\u00FCller"},
                       {"Vorname m_m", 0, "m_m", "abel"},
                       {"Vorname %", 0, "%", "abel,Muster,Myers,M\u00FCller,Zeisig"},
                       {"Ort _", 2, "_", "abel,Muster,M\u00FCller,Zeisig,Ohne"},
                       {"Ort leer", 2, "", "abel,Muster,Myers,M\u00FCller,Zeisig,Ohne"},
                       {"Vorname default", 0, "default", ""},
                       {"Nachname nichts", 1, "nichts", ""}});
    }
    void suche()
    {
        QFETCH(Suche, fall);
        Welt t;
        mitListen(t, {sechs});
        QCOMPARE(suchen(t, fall.art, fall.begriff).join(','), fall.gefunden);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A click on a found row loads the hidden columns as well; finding
    // nothing keeps it loaded. Only the three known columns reach the statement.
    void gefundenBearbeiten()
    {
        Welt t;
        mitListen(t, {sechs});
        QCOMPARE(suchen(t, 2, "e"), (QStringList{"abel", "M\u00FCller"}));
        zelleKlicken(t.tabelle("tabellePatienten"), 0, 1);
        QCOMPARE(texte(t.w.get(), bearbeitet),
                 (QStringList{"abel", "Tom_Ma", "52062", "Gera", "Domhof", "1", "01.01.1931"}));
        QCOMPARE(suchen(t, 0, "nichts"), QStringList());
        QCOMPARE(feld(t, "editName"), "abel");

        auto *art = teil<QComboBox>(t.w.get(), "auswahlSuchspalte");
        art->setItemData(1, "lastname LIKE '%' OR lastname");
        QCOMPARE(suchen(t, 1, "abel"), QStringList());
        art->setItemData(1, "strasse");
        QCOMPARE(suchen(t, 1, "Domhof"), QStringList());
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A change keeps the key, and with it the patient's lines and
    // appointments. Deleting asks; "Nein" changes nothing, nor does a
    // failing step, which undoes the whole delete; "Ja" removes only that
    // patient's lines and appointments, and nothing of the last patient stays.
    void aendernUndLoeschen()
    {
        Welt t;
        mitListen(t, {patienten + "('Erika', 'Muster', '01.02.1940', '', '', '', ''), ('Hans', 'Berg', '02.03.1941', "
                                  "'', '', '', '')",
                      "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 1, 9, 1), (1, 1, 9, 2), "
                      "(2, 1, 9, 1)",
                      "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', '2027-01-05'), "
                      "(2, 'Hausarzt', '2027-01-05'), (2, 'Hausarzt', '2027-01-05')",
                      "CREATE TRIGGER sperre BEFORE DELETE ON termine BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"});
        const auto zeilenVon = [&](const char *tabelle, const char *spalte) {
            return t.wert(QStringLiteral("SELECT group_concat(%1) FROM %2").arg(spalte, tabelle)).toString();
        };
        zelleKlicken(t.tabelle("tabellePatienten"), 1, 1);
        tippe(t, "editName", "Zeller");
        teil<QDateEdit>(t.w.get(), "editGeburtstag")->setDate(QDate(1941, 3, 12));
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert("SELECT lastname || ' ' || firstname || ' ' || birth FROM patient WHERE id = 2").toString(),
                 "Zeller Hans 12.03.1941");
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1), (QStringList{"Muster", "Zeller"}));

        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.fragen, QStringList{"Soll der Patient \u201EZeller, Hans\u201C (*12.03.1941) gel\u00F6scht "
                                           "werden?\n\nDabei werden auch 1 zugeordnetes Medikament und 2 Arzttermine "
                                           "des Patienten gel\u00F6scht."});
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(t.env.meldungen.size(), 1);
        QCOMPARE(zeilenVon("patient", "id"), "1,2");
        QCOMPARE(zeilenVon("einnahme", "pat_id"), "1,1,2");
        QCOMPARE(zeilenVon("termine", "pata_id"), "1,2,2");
        QCOMPARE(feld(t, "editName"), "Zeller");

        Datei::ausfuehren(t.f, "DROP TRIGGER sperre");
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(zeilenVon("patient", "id"), "1");
        QCOMPARE(zeilenVon("einnahme", "pat_id"), "1,1");
        QCOMPARE(zeilenVon("termine", "pata_id"), "1");
        QCOMPARE(feld(t, "editName"), "Muster");
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Muster, Erika | *01.02.1940");

        const QStringList tabellen{"tabelleZuordnung", "tabelleTermine", "tabelleUebersicht", "tabelleVerordnungsplan"};
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), (QStringList{"2", "1", "2", "2"}));
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        QVERIFY(t.env.fragen.last().contains("2 zugeordnete Medikamente und 1 Arzttermin "));
        QCOMPARE(zeilenVon("patient", "id"), QString());
        QCOMPARE(texte(t.w.get(),
                       {"anzeigeName", "anzeigeVorname", "anzeigeGeburtstag", "kopfzeilePatient", "kopfzeileZeit"}),
                 lauter(5));
        QCOMPARE(texte(t.w.get(), bearbeitet), lauter(6) << "unbekannt");
        QCOMPARE(texte(t.w.get(), tabellen, "rowCount"), lauter(4, "0"));
        // Nothing is loaded any more: no question, nothing happens.
        const QStringList fragen = t.env.fragen;
        t.knopf("knopfPatientEntfernen");
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.env.fragen, fragen);
        QCOMPARE(t.env.meldungen.size(), 1);
    }

    // Each choice shows its group; switching to the search and back clears
    // what was typed. The new patient is stored with every field, and the
    // group closes emptied: the next one does not inherit the date of birth unseen.
    void hinzufuegen()
    {
        Welt t;
        mitListen(t, {});
        const QStringList gruppen{"gruppeNeuerPatient", "gruppePatientSuchen"};
        t.knopf("radioPatientHinzufuegen");
        QCOMPARE(texte(t.w.get(), gruppen, "visible"), (QStringList{"true", "false"}));
        tippe(t, "neuName", "Adler");
        t.knopf("radioPatientSuchen");
        QCOMPARE(texte(t.w.get(), gruppen, "visible"), (QStringList{"false", "true"}));
        t.knopf("radioPatientHinzufuegen");
        QCOMPARE(feld(t, "neuName"), QString());

        const QStringList felder{"neuName", "neuVorname", "neuPlz", "neuOrt", "neuStrasse", "neuNr"};
        const QStringList werte{"Adler", "Greta", "01067", "Dresden", "Altmarkt", "3b"};
        for (int i = 0; i < felder.size(); ++i)
            tippe(t, felder[i], werte[i]);
        teil<QDateEdit>(t.w.get(), "neuGeburtstag")->setDate(QDate(1950, 3, 1));
        t.knopf("knopfPatientEintragen");
        QCOMPARE(Datei::zeilen(t.f, "SELECT lastname, firstname, birth, plz, ort, strasse, nr FROM patient"),
                 (QList<QVariantList>{{"Adler", "Greta", "01.03.1950", "01067", "Dresden", "Altmarkt", "3b"}}));
        QCOMPARE(spalte(t.tabelle("tabellePatienten"), 1), QStringList{"Adler"});
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1), QStringList{"Adler"});
        QCOMPARE(t.text("anzeigeName"), "Adler");
        QCOMPARE(feld(t, "editName"), "Adler");
        QVERIFY(teil<QRadioButton>(t.w.get(), "radioAusblenden")->isChecked());
        QCOMPARE(texte(t.w.get(), felder), lauter(6));
        QCOMPARE(texte(t.w.get(), {"neuGeburtstag"}), QStringList{"unbekannt"});
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
        suchen(t, 1, "er");
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
        QCOMPARE(texte(t.w.get(), {"editName", "editOrt"}), (QStringList{"Schmidt", "Suhl"}));
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
        QCOMPARE(texte(t.w.get(), {"editName", "editVorname", "editOrt"}), (QStringList{"Bauer", "Jana", "Jena"}));

        // Gone elsewhere while typed for: nothing of it stays to be stored into another patient.
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Bauer'");
        nachsehen(t);
        QCOMPARE(texte(t.w.get(), {"editName", "editVorname", "editOrt"}), lauter(3));
        t.knopf("knopfPatientAendern");
        QCOMPARE(t.wert(stand).toString(), "AdamErika1Bonn SchmidtIna07545Suhl WeberEva5Gotha");

        // Leaving the search lists all patients again, keeping the one being edited and what was typed.
        zelleKlicken(liste, 0, 1);
        tippe(t, "editVorname", "Evi");
        t.knopf("radioAusblenden");
        QCOMPARE(spalte(liste, 1), (QStringList{"Adam", "Schmidt", "Weber"}));
        QCOMPARE(liste->currentRow(), 2);
        QCOMPARE(texte(t.w.get(), {"editName", "editVorname"}), (QStringList{"Weber", "Evi"}));
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // Another program changed the file: the next click in the choice list
    // and every search after it show each change in every column, hidden
    // ones included, whatever the lists showed before; then fewer patients
    // than rows, then none.
    void listenFolgenDerDatei()
    {
        Welt t;
        const QString neu = "INSERT INTO patient (lastname, firstname, birth, plz, ort, strasse, nr) VALUES ";
        mitListen(t, {neu + "('Berg', 'Anna', '01.02.1940', '28195', 'Bremen', 'Am Markt', '1'), "
                            "('Adler', 'Otto', '02.03.1941', '24103', 'Kiel', 'Ring', '2'), "
                            "('Zorn', 'Eva', '03.04.1942', '89073', 'Ulm', 'Au', '3')"});
        QTableWidget *wahl = t.tabelle("tabellePatientenwahl"), *liste = t.tabelle("tabellePatienten");
        const int hoehe = liste->rowHeight(0);
        zelleKlicken(wahl, 2, 1);

        Datei::ausfuehren(t.f, "UPDATE patient SET ort = 'Bonn', birth = '03.03.1933', plz = '53111', nr = NULL "
                               "WHERE lastname = 'Berg'");
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname = 'Adler'");
        Datei::ausfuehren(t.f, neu + "('Ahrens', 'Ida', '04.05.1943', '95028', 'Hof', 'Tor', '4a'), "
                                     "('Meier', 'Jan', '05.06.1944', '07545', 'Gera', 'Markt', '')");
        t.termin(t.letzte("patient"), "Dr. Kunz", heute.addDays(3));
        Datei::mitteilen(t.w.get(), t.f);
        zelleKlicken(wahl, 0, 1);
        zelleKlicken(wahl, 2, 1);
        QCOMPARE(zeilen(wahl), erwartet(t, "ORDER BY lastname", 26));
        // One chosen row, and the window follows the chosen patient.
        QCOMPARE(wahl->currentRow(), 2);
        QCOMPARE(wahl->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Meier, Jan | *05.06.1944");
        QCOMPARE(spalte(t.tabelle("tabelleTermine"), 1), QStringList{"Dr. Kunz"});

        // The rows each search must find; the first find is chosen, its hidden number in the edit box.
        for (const auto &[art, begriff, wo] :
             std::vector<std::tuple<int, QString, QString>>{{0, "a", "lower(firstname) LIKE '%a%'"},
                                                            {2, "u", "lower(ort) LIKE '%u%'"},
                                                            {1, "e", "lower(lastname) LIKE '%e%'"},
                                                            {0, "nichts", "1 = 0"},
                                                            {2, "", "1 = 1"}}) {
            suchen(t, art, begriff);
            QCOMPARE(zeilen(liste), erwartet(t, "WHERE " + wo + " ORDER BY id", hoehe));
            QCOMPARE(liste->currentRow(), liste->rowCount() > 0 ? 0 : -1);
            if (liste->rowCount() > 0)
                QCOMPARE(feld(t, "editNr"), liste->item(0, 7)->text());
        }

        // Fewer patients than rows shown, then none: a click on the last row
        // shown chooses that patient by key, wherever the new list has it,
        // and nobody once nobody is left.
        Datei::ausfuehren(t.f, "DELETE FROM patient WHERE lastname NOT IN ('Berg', 'Zorn')");
        Datei::mitteilen(t.w.get(), t.f);
        zelleKlicken(wahl, wahl->rowCount() - 1, 1);
        QCOMPARE(zeilen(wahl), erwartet(t, "ORDER BY lastname", 26));
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Zorn, Eva | *03.04.1942");
        Datei::ausfuehren(t.f, "DELETE FROM patient");
        Datei::mitteilen(t.w.get(), t.f);
        // On the server, the list is empty already.
        if (wahl->rowCount() > 0)
            zelleKlicken(wahl, wahl->rowCount() - 1, 1);
        QCOMPARE(wahl->rowCount(), 0);
        QCOMPARE(t.text("kopfzeilePatient"), QString());
        QCOMPARE(t.env.meldungen, QStringList());
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
        for (int z : {1, 2, 3, 4}) {
            zelleKlicken(liste, 0, 1);
            zelleKlicken(liste, z, 1);
            QCOMPARE(datum->text(), "unbekannt");
        }

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
        QCOMPARE(datum->text(), "05.06.1945");
        datum->setDate(QDate(1946, 7, 8));
        Datei::ausfuehren(t.f, "UPDATE patient SET birth = '09.10.1947' WHERE lastname = 'Dorn'");
        nachsehen(t);
        QCOMPARE(datum->text(), "08.07.1946");

        t.knopf("radioPatientHinzufuegen");
        tippe(t, "neuName", "Fuchs");
        t.knopf("knopfPatientEintragen");
        QCOMPARE(t.wert("SELECT quote(birth) FROM patient WHERE lastname = 'Fuchs'").toString(), "''");
        // The new patient is the one loaded for editing; the patient chosen for the plan stays chosen.
        QCOMPARE(texte(t.w.get(), {"editName", "editGeburtstag"}), (QStringList{"Fuchs", "unbekannt"}));
        QCOMPARE(t.text("kopfzeilePatient"), " - Patient: Ernst, Kai | *01.01.1850");
    }
};

QTEST_MAIN(PatientenTest)
#include "tst_patienten.moc"
