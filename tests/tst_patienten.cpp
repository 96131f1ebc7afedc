#include "testhilfe.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

// Inserts a patient; a null first name stays NULL in the file.
void patient(const QString &pfad, const QVariant &vorname, const QString &name, const QString &geburtstag,
             const QString &ort = QString(), const QString &plz = QString(), const QString &strasse = QString(),
             const QString &nr = QString())
{
    Datei::ausfuehren(pfad,
                      QStringLiteral("INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                      {vorname, name, geburtstag, plz, ort, strasse, nr});
}

void listenEinschalten(MainWindow *w)
{
    teil<QAction>(w, QStringLiteral("aktionListen"))->trigger();
}

QString text(MainWindow *w, const QString &name)
{
    if (auto *l = w->findChild<QLabel *>(name))
        return l->text();
    return teil<QLineEdit>(w, name)->text();
}

// Types text, umlauts too, into a line edit, replacing what it held.
void schreiben(QLineEdit *feld, const QString &text)
{
    tippen(feld, QString());
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

int anzahl(const QString &pfad, const QString &sql)
{
    return Datei::wert(pfad, sql).toInt();
}

} // namespace

class PatientenTest : public QObject
{
    Q_OBJECT
private slots:
    void listenUndKopfzeile();
    void suche();
    void hinzufuegenUndAendern();
    void gruppenUmschalten();
    void loeschen();
    void loeschenGanzOderGarNicht();
};

void PatientenTest::listenUndKopfzeile()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    patient(db, QStringLiteral("Anna"), QStringLiteral("abel"), QStringLiteral("03.03.1933"));
    patient(db, QStringLiteral("Udo"), QStringLiteral("M\u00FCller"), QStringLiteral("04.04.1944"));
    patient(db, QStringLiteral("Erika"), QStringLiteral("Muster"), QStringLiteral("01.02.1940"), QStringLiteral("Bonn"),
            QStringLiteral("53111"), QStringLiteral("Hauptstra\u00DFe"), QStringLiteral("7a"));
    patient(db, QStringLiteral("Max"), QStringLiteral("Zander"), QStringLiteral("05.05.1955"));
    patient(db, QStringLiteral("Mia"), QStringLiteral("Myers"), QStringLiteral("06.06.1966"));
    patient(db, QVariant(QVariant::String), QStringLiteral("Ohnevorname"), QStringLiteral("07.07.1977"));
    auto w = env.starten();
    auto *wahl = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl"));
    auto *liste = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatienten"));

    // Byte-wise order: capitals first, umlauts after z.
    QCOMPARE(spalte(wahl, 1), (QStringList{"Muster", "Myers", "M\u00FCller", "Ohnevorname", "Zander", "abel"}));
    // The list of all patients is a search on the first name: NULL is missing.
    QCOMPARE(spalte(liste, 1), (QStringList{"abel", "M\u00FCller", "Muster", "Zander", "Myers"}));
    QCOMPARE(spalte(liste, 0), (QStringList{"1", "2", "3", "4", "5"}));

    QCOMPARE(wahl->currentRow(), 0);
    QCOMPARE(text(w.get(), "kopfzeilePatient"), QStringLiteral(" - Patient: Muster, Erika | *01.02.1940"));
    QCOMPARE(text(w.get(), "kopfzeileZeit"), QStringLiteral("erstellt am: 06.12.2026 - 10:30:00 Uhr "));
    QCOMPARE(text(w.get(), "anzeigeName"), QStringLiteral("Muster"));
    QCOMPARE(text(w.get(), "anzeigeVorname"), QStringLiteral("Erika"));
    QCOMPARE(text(w.get(), "anzeigeGeburtstag"), QStringLiteral("01.02.1940"));
    QCOMPARE(text(w.get(), "anzeigePlz"), QStringLiteral("53111"));
    QCOMPARE(text(w.get(), "anzeigeOrt"), QStringLiteral("Bonn"));
    QCOMPARE(text(w.get(), "anzeigeStrasse"), QStringLiteral("Hauptstra\u00DFe"));
    QCOMPARE(text(w.get(), "anzeigeNr"), QStringLiteral("7a"));
    // The edit fields hold the patient with the smallest key.
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("abel"));

    // A click chooses the patient and takes the time anew.
    env.zeit = env.zeit.addSecs(3723);
    zelleKlicken(wahl, 2, 1);
    QCOMPARE(wahl->currentRow(), 2);
    QCOMPARE(text(w.get(), "kopfzeilePatient"), QStringLiteral(" - Patient: M\u00FCller, Udo | *04.04.1944"));
    QCOMPARE(text(w.get(), "kopfzeileZeit"), QStringLiteral("erstellt am: 06.12.2026 - 11:32:03 Uhr "));
    QCOMPARE(text(w.get(), "anzeigeOrt"), QString());
    // Choosing the current patient does not touch the edit fields.
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("abel"));

    env.zeit = env.zeit.addSecs(1);
    zelleKlicken(wahl, 2, 2);
    QCOMPARE(wahl->currentRow(), 2);
    QCOMPARE(wahl->rowCount(), 6);
    QCOMPARE(text(w.get(), "kopfzeileZeit"), QStringLiteral("erstellt am: 06.12.2026 - 11:32:04 Uhr "));
}

void PatientenTest::suche()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    patient(db, QStringLiteral("Anna"), QStringLiteral("Eins"), QStringLiteral("01.01.1931"), QStringLiteral("Aachen"),
            QStringLiteral("52062"), QStringLiteral("Domhof"), QStringLiteral("1"));
    patient(db, QStringLiteral("B\u00E4rbel"), QStringLiteral("Zwei"), QStringLiteral("02.02.1932"), QStringLiteral(""));
    patient(db, QStringLiteral("\u00C4nne"), QStringLiteral("Drei"), QStringLiteral("03.03.1933"), QStringLiteral("Essen"));
    patient(db, QStringLiteral("Udo"), QStringLiteral("Vier"), QStringLiteral("04.04.1934"), QStringLiteral("Ulm"),
            QStringLiteral("89073"), QStringLiteral("M\u00FCnsterplatz"), QStringLiteral("21"));
    patient(db, QStringLiteral("Tom_Ma"), QStringLiteral("F%nf"), QStringLiteral("05.05.1935"), QStringLiteral("Gera"));
    patient(db, QVariant(QVariant::String), QStringLiteral("Sechs"), QStringLiteral("06.06.1936"), QStringLiteral("Hof"));
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *liste = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatienten"));
    auto *art = teil<QComboBox>(w.get(), QStringLiteral("auswahlSuchspalte"));
    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioPatientSuchen")));

    auto suchen = [&](int spaltenArt, const QString &begriff) {
        art->setCurrentIndex(spaltenArt);
        schreiben(teil<QLineEdit>(w.get(), QStringLiteral("editSuchbegriff")), begriff);
        klicken(teil<QPushButton>(w.get(), QStringLiteral("knopfPatientSuchen")));
        return spalte(liste, 1);
    };
    const int vorname = 0, nachname = 1, wohnort = 2;
    QCOMPARE(art->currentText(), QStringLiteral("Vorname"));

    // A to Z ignore case, umlauts do not.
    QCOMPARE(suchen(vorname, "O"), (QStringList{"Vier", "F%nf"}));
    QCOMPARE(suchen(vorname, "\u00E4"), QStringList{"Zwei"});
    QCOMPARE(suchen(vorname, "\u00C4"), QStringList{"Drei"});
    QCOMPARE(suchen(nachname, "EI"), (QStringList{"Eins", "Zwei", "Drei"}));
    // "%" and "_" act as wildcards; an empty text finds every non-NULL value.
    QCOMPARE(suchen(wohnort, "_"), (QStringList{"Eins", "Drei", "Vier", "F%nf", "Sechs"}));
    QCOMPARE(suchen(nachname, "%"), (QStringList{"Eins", "Zwei", "Drei", "Vier", "F%nf", "Sechs"}));
    QCOMPARE(suchen(vorname, "m_m"), QStringList{"F%nf"});
    QCOMPARE(suchen(wohnort, ""), (QStringList{"Eins", "Zwei", "Drei", "Vier", "F%nf", "Sechs"}));
    QCOMPARE(suchen(vorname, ""), (QStringList{"Eins", "Zwei", "Drei", "Vier", "F%nf"}));

    // A click on a found row loads its hidden columns too.
    QCOMPARE(suchen(wohnort, "u"), (QStringList{"Vier"}));
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Vier"));
    QCOMPARE(suchen(wohnort, "e"), (QStringList{"Eins", "Drei", "F%nf"}));
    zelleKlicken(liste, 0, 1);
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Eins"));
    QCOMPARE(text(w.get(), "editVorname"), QStringLiteral("Anna"));
    QCOMPARE(teil<QDateEdit>(w.get(), QStringLiteral("editGeburtstag"))->date(), QDate(1931, 1, 1));
    QCOMPARE(text(w.get(), "editPlz"), QStringLiteral("52062"));
    QCOMPARE(text(w.get(), "editOrt"), QStringLiteral("Aachen"));
    QCOMPARE(text(w.get(), "editStrasse"), QStringLiteral("Domhof"));
    QCOMPARE(text(w.get(), "editNr"), QStringLiteral("1"));

    // "default" is an ordinary search text; finding nothing keeps the loaded patient.
    QCOMPARE(suchen(vorname, "default"), QStringList{});
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Eins"));

    // Only the three known columns reach the statement.
    art->setItemData(nachname, QStringLiteral("lastname LIKE '%' OR lastname"));
    QCOMPARE(suchen(nachname, "Eins"), QStringList{});
    art->setItemData(nachname, QStringLiteral("strasse"));
    QCOMPARE(suchen(nachname, "M"), QStringList{});
    QVERIFY(env.meldungen.isEmpty());
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 6);
}

void PatientenTest::hinzufuegenUndAendern()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    patient(db, QStringLiteral("Erika"), QStringLiteral("Muster"), QStringLiteral("01.02.1940"));
    patient(db, QStringLiteral("Hans"), QStringLiteral("Berg"), QStringLiteral("02.03.1941"));
    Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (2, 1, 10, 1)");
    Datei::ausfuehren(db, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (2, 'Hausarzt', '2027-01-05')");
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *wahl = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl"));
    auto *liste = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatienten"));

    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioPatientHinzufuegen")));
    QVERIFY(teil<QGroupBox>(w.get(), QStringLiteral("gruppeNeuerPatient"))->isVisible());
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuName")), QStringLiteral("Adler"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuVorname")), QStringLiteral("Greta"));
    teil<QDateEdit>(w.get(), QStringLiteral("neuGeburtstag"))->setDate(QDate(1950, 3, 1));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuPlz")), QStringLiteral("01067"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuOrt")), QStringLiteral("Dresden"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuStrasse")), QStringLiteral("Altmarkt"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuNr")), QStringLiteral("3b"));
    klicken(teil<QPushButton>(w.get(), QStringLiteral("knopfPatientEintragen")));

    QCOMPARE(Datei::zeilen(db, "SELECT id, firstname, lastname, birth, plz, ort, strasse, nr FROM patient WHERE id = 3"),
             (QList<QVariantList>{{3, "Greta", "Adler", "01.03.1950", "01067", "Dresden", "Altmarkt", "3b"}}));
    QCOMPARE(spalte(liste, 1), (QStringList{"Muster", "Berg", "Adler"}));
    QCOMPARE(spalte(wahl, 1), (QStringList{"Adler", "Berg", "Muster"}));
    QCOMPARE(wahl->currentRow(), 0);
    QCOMPARE(text(w.get(), "anzeigeName"), QStringLiteral("Adler"));
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Muster"));
    QVERIFY(!teil<QGroupBox>(w.get(), QStringLiteral("gruppeNeuerPatient"))->isVisible());
    QVERIFY(teil<QRadioButton>(w.get(), QStringLiteral("radioAusblenden"))->isChecked());
    QCOMPARE(text(w.get(), "neuName"), QString());
    QCOMPARE(text(w.get(), "neuNr"), QString());

    // Change: the key stays, and with it the patient's lines and appointments.
    zelleKlicken(liste, 1, 1);
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Berg"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("editName")), QStringLiteral("Zeller"));
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("editOrt")), QStringLiteral("Jena"));
    teil<QDateEdit>(w.get(), QStringLiteral("editGeburtstag"))->setDate(QDate(1941, 3, 12));
    klicken(teil<QPushButton>(w.get(), QStringLiteral("knopfPatientAendern")));
    QCOMPARE(Datei::zeilen(db, "SELECT lastname, firstname, birth, ort FROM patient WHERE id = 2"),
             (QList<QVariantList>{{"Zeller", "Hans", "12.03.1941", "Jena"}}));
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 3);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme WHERE pat_id = 2"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine WHERE pata_id = 2"), 1);
    // Moves within the choice list, not within the list ordered by key.
    QCOMPARE(spalte(liste, 1), (QStringList{"Muster", "Zeller", "Adler"}));
    QCOMPARE(spalte(wahl, 1), (QStringList{"Adler", "Muster", "Zeller"}));
    QCOMPARE(liste->currentRow(), 1);
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Zeller"));
    QCOMPARE(text(w.get(), "anzeigeName"), QStringLiteral("Adler"));
}

void PatientenTest::gruppenUmschalten()
{
    Umgebung env;
    env.datenbankAnlegen(env.standardDatei());
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *neu = teil<QGroupBox>(w.get(), QStringLiteral("gruppeNeuerPatient"));
    auto *suche = teil<QGroupBox>(w.get(), QStringLiteral("gruppePatientSuchen"));
    seiteZeigen(neu);
    QVERIFY(!neu->isVisible() && !suche->isVisible());

    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioPatientHinzufuegen")));
    QVERIFY(neu->isVisible() && !suche->isVisible());
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuName")), QStringLiteral("Adler"));
    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioPatientSuchen")));
    QVERIFY(!neu->isVisible() && suche->isVisible());
    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioPatientHinzufuegen")));
    QVERIFY(neu->isVisible() && !suche->isVisible());
    QCOMPARE(text(w.get(), "neuName"), QString());
    tippen(teil<QLineEdit>(w.get(), QStringLiteral("neuName")), QStringLiteral("Adler"));
    klicken(teil<QRadioButton>(w.get(), QStringLiteral("radioAusblenden")));
    QVERIFY(!neu->isVisible() && !suche->isVisible());
    QCOMPARE(text(w.get(), "neuName"), QString());
}

void PatientenTest::loeschen()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    patient(db, QStringLiteral("Erika"), QStringLiteral("Muster"), QStringLiteral("01.02.1940"));
    patient(db, QStringLiteral("Hans"), QStringLiteral("Berg"), QStringLiteral("02.03.1941"));
    for (int pat : {1, 1, 2})
        Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (?, 1, 10, 1)", {pat});
    for (int pat : {1, 2, 2})
        Datei::ausfuehren(db, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (?, 'Hausarzt', '2027-01-05')",
                          {pat});
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *liste = teil<QTableWidget>(w.get(), QStringLiteral("tabellePatienten"));
    auto *entfernen = teil<QPushButton>(w.get(), QStringLiteral("knopfPatientEntfernen"));

    // "Nein" (also the answer when none is given) changes nothing.
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Muster"));
    klicken(entfernen);
    QCOMPARE(env.fragen.size(), 1);
    QCOMPARE(env.fragen.first(),
             QStringLiteral("Soll der Patient \u201EMuster, Erika\u201C (*01.02.1940) gel\u00F6scht werden?\n\n"
                            "Dabei werden auch 2 zugeordnete Medikamente und 1 Arzttermin des Patienten "
                            "gel\u00F6scht."));
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 2);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 3);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine"), 3);
    QCOMPARE(liste->rowCount(), 2);

    env.antworten << true;
    klicken(entfernen);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient WHERE id = 1"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme WHERE pat_id = 1"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine WHERE pata_id = 1"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme WHERE pat_id = 2"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine WHERE pata_id = 2"), 2);
    QCOMPARE(spalte(liste, 1), QStringList{"Berg"});
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Berg"));
    QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1), QStringList{"Berg"});
    QCOMPARE(text(w.get(), "anzeigeName"), QStringLiteral("Berg"));
    QCOMPARE(text(w.get(), "kopfzeilePatient"), QStringLiteral(" - Patient: Berg, Hans | *02.03.1941"));

    // The last patient: every field and label empties, the date goes to 01.01.2000.
    env.antworten << true;
    klicken(entfernen);
    QVERIFY(env.fragen.last().contains(QStringLiteral("1 zugeordnetes Medikament und 2 Arzttermine")));
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine"), 0);
    QCOMPARE(liste->rowCount(), 0);
    for (const char *feld : {"editName", "editVorname", "editPlz", "editOrt", "editStrasse", "editNr", "anzeigeName",
                             "anzeigeVorname", "anzeigeGeburtstag", "anzeigePlz", "anzeigeOrt", "anzeigeStrasse",
                             "anzeigeNr", "kopfzeilePatient", "kopfzeileZeit"})
        QCOMPARE(text(w.get(), QString::fromLatin1(feld)), QString());
    QCOMPARE(teil<QDateEdit>(w.get(), QStringLiteral("editGeburtstag"))->date(), QDate(2000, 1, 1));

    // Nothing is loaded any more: no question, nothing happens.
    const int gefragt = env.fragen.size();
    klicken(entfernen);
    klicken(teil<QPushButton>(w.get(), QStringLiteral("knopfPatientAendern")));
    QCOMPARE(env.fragen.size(), gefragt);
    QVERIFY(env.meldungen.isEmpty());
}

void PatientenTest::loeschenGanzOderGarNicht()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    patient(db, QStringLiteral("Erika"), QStringLiteral("Muster"), QStringLiteral("01.02.1940"));
    Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 1, 10, 1)");
    Datei::ausfuehren(db, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (1, 'Hausarzt', '2027-01-05')");
    // The last step of the delete fails.
    Datei::ausfuehren(db, "CREATE TRIGGER sperre BEFORE DELETE ON termine BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    auto w = env.starten();
    listenEinschalten(w.get());

    env.antworten << true;
    klicken(teil<QPushButton>(w.get(), QStringLiteral("knopfPatientEntfernen")));
    QCOMPARE(env.meldungen.size(), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM termine"), 1);
    QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatienten")), 1), QStringList{"Muster"});
    QCOMPARE(text(w.get(), "editName"), QStringLiteral("Muster"));
}

QTEST_MAIN(PatientenTest)
#include "tst_patienten.moc"
