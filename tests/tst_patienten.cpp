#include "testhilfe.h"

#include <QTest>
#include <QtWidgets>

namespace {

void patient(const QString &db, const QVariant &vorname, const QString &name, const QString &geburt,
             const QString &ort = {}, const QString &plz = {}, const QString &strasse = {}, const QString &nr = {})
{
    Datei::ausfuehren(db, "INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES (?,?,?,?,?,?,?)",
                      {vorname, name, geburt, plz, ort, strasse, nr});
}

int zahl(const QString &db, const char *sql) { return Datei::wert(db, QString::fromLatin1(sql)).toInt(); }

// The texts of labels and line edits, in the order named.
QStringList texte(QWidget *w, const QStringList &namen)
{
    QStringList t;
    for (const QString &n : namen)
        t << (w->findChild<QLabel *>(n) ? w->findChild<QLabel *>(n)->text() : teil<QLineEdit>(w, n)->text());
    return t;
}

// Types text (umlauts too) into a line edit, replacing what it held.
void schreiben(QWidget *w, const QString &name, const QString &text)
{
    auto *feld = teil<QLineEdit>(w, name);
    tippen(feld, QString());
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList leer(int n)
{
    QStringList l;
    while (l.size() < n)
        l << QString();
    return l;
}

void druecken(QWidget *w, const QString &name) { klicken(teil<QAbstractButton>(w, name)); }

std::unique_ptr<MainWindow> mitListen(Umgebung &env)
{
    auto w = env.starten();
    teil<QAction>(w.get(), "aktionListen")->trigger();
    return w;
}

const QStringList gewaehlt{"anzeigeName", "anzeigeVorname", "anzeigeGeburtstag", "anzeigePlz", "anzeigeOrt",
                           "anzeigeStrasse", "anzeigeNr"};

} // namespace

class PatientenTest : public QObject
{
    Q_OBJECT
private slots:
    void listenUndKopfzeile()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        for (const char *name : {"abel", "M\xC3\xBCller", "Zander", "Myers"})
            patient(db, "Anna", QString::fromUtf8(name), "03.03.1933");
        patient(db, "Erika", "Muster", "01.02.1940", "Bonn", "53111", "Hauptstra\u00DFe", "7a");
        patient(db, QVariant(), "Ohnevorname", "07.07.1977");
        auto w = env.starten();
        auto *wahl = teil<QTableWidget>(w.get(), "tabellePatientenwahl");

        QCOMPARE(spalte(wahl, 1), (QStringList{"Muster", "Myers", "M\u00FCller", "Ohnevorname", "Zander", "abel"}));
        // The list of all patients is ordered by key and, being a search on the first name, lacks NULL.
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), "tabellePatienten"), 1),
                 (QStringList{"abel", "M\u00FCller", "Zander", "Myers", "Muster"}));
        QCOMPARE(texte(w.get(), gewaehlt + QStringList{"kopfzeilePatient", "kopfzeileZeit", "editName"}),
                 (QStringList{"Muster", "Erika", "01.02.1940", "53111", "Bonn", "Hauptstra\u00DFe", "7a",
                              " - Patient: Muster, Erika | *01.02.1940", "erstellt am: 06.12.2026 - 10:30:00 Uhr ",
                              "abel"}));

        // A click chooses the patient and takes the time anew; the edit fields stay.
        for (int sekunden : {3723, 1}) {
            env.zeit = env.zeit.addSecs(sekunden);
            zelleKlicken(wahl, 2, 1);
            QCOMPARE(wahl->currentRow(), 2);
            QCOMPARE(wahl->rowCount(), 6);
        }
        QCOMPARE(texte(w.get(), {"anzeigeName", "anzeigeOrt", "kopfzeilePatient", "kopfzeileZeit", "editName"}),
                 (QStringList{"M\u00FCller", "", " - Patient: M\u00FCller, Anna | *03.03.1933",
                              "erstellt am: 06.12.2026 - 11:32:04 Uhr ", "abel"}));
    }

    void suche()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        patient(db, "Anna", "Eins", "01.01.1931", "Aachen", "52062", "Domhof", "1");
        patient(db, "B\u00E4rbel", "Zwei", "02.02.1932", "");
        patient(db, "\u00C4nne", "Drei", "03.03.1933", "Essen");
        patient(db, "Udo", "Vier", "04.04.1934", "Ulm");
        patient(db, "Tom_Ma", "F%nf", "05.05.1935", "Gera");
        patient(db, QVariant(), "Sechs", "06.06.1936", "Hof");
        auto w = mitListen(env);
        auto *art = teil<QComboBox>(w.get(), "auswahlSuchspalte");
        druecken(w.get(), "radioPatientSuchen");
        auto suchen = [&](int spaltenArt, const QString &begriff) {
            art->setCurrentIndex(spaltenArt);
            schreiben(w.get(), "editSuchbegriff", begriff);
            druecken(w.get(), "knopfPatientSuchen");
            return spalte(teil<QTableWidget>(w.get(), "tabellePatienten"), 1);
        };
        const int vorname = 0, nachname = 1, wohnort = 2;

        QCOMPARE(suchen(vorname, "O"), (QStringList{"Vier", "F%nf"}));
        QCOMPARE(suchen(vorname, "\u00E4"), QStringList{"Zwei"});
        QCOMPARE(suchen(vorname, "\u00C4"), QStringList{"Drei"});
        QCOMPARE(suchen(nachname, "EI"), (QStringList{"Eins", "Zwei", "Drei"}));
        QCOMPARE(suchen(vorname, "m_m"), QStringList{"F%nf"});
        QCOMPARE(suchen(wohnort, "_"), (QStringList{"Eins", "Drei", "Vier", "F%nf", "Sechs"}));
        QCOMPARE(suchen(wohnort, ""), (QStringList{"Eins", "Zwei", "Drei", "Vier", "F%nf", "Sechs"}));
        QCOMPARE(suchen(vorname, "%"), (QStringList{"Eins", "Zwei", "Drei", "Vier", "F%nf"}));

        // A click on a found row loads the hidden columns as well.
        QCOMPARE(suchen(wohnort, "e"), (QStringList{"Eins", "Drei", "F%nf"}));
        zelleKlicken(teil<QTableWidget>(w.get(), "tabellePatienten"), 0, 1);
        QCOMPARE(texte(w.get(), {"editName", "editVorname", "editPlz", "editOrt", "editStrasse", "editNr"}),
                 (QStringList{"Eins", "Anna", "52062", "Aachen", "Domhof", "1"}));
        QCOMPARE(teil<QDateEdit>(w.get(), "editGeburtstag")->date(), QDate(1931, 1, 1));

        // "default" is an ordinary text; finding nothing keeps the loaded patient.
        QCOMPARE(suchen(vorname, "default"), QStringList{});
        QCOMPARE(texte(w.get(), {"editName"}), QStringList{"Eins"});

        // Only the three known columns reach the statement.
        art->setItemData(nachname, "lastname LIKE '%' OR lastname");
        QCOMPARE(suchen(nachname, "Eins"), QStringList{});
        art->setItemData(nachname, "strasse");
        QCOMPARE(suchen(nachname, "Domhof"), QStringList{});
        QVERIFY(env.meldungen.isEmpty());
    }

    void hinzufuegenAendernUndGruppen()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        patient(db, "Erika", "Muster", "01.02.1940");
        patient(db, "Hans", "Berg", "02.03.1941");
        Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (2, 1, 10, 1)");
        Datei::ausfuehren(db, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (2, 'Hausarzt', '2027-01-05')");
        auto w = mitListen(env);
        auto *neu = teil<QGroupBox>(w.get(), "gruppeNeuerPatient");
        auto *suche = teil<QGroupBox>(w.get(), "gruppePatientSuchen");
        auto *liste = teil<QTableWidget>(w.get(), "tabellePatienten");
        auto *wahl = teil<QTableWidget>(w.get(), "tabellePatientenwahl");

        // Switching to the search and back clears what was typed.
        druecken(w.get(), "radioPatientHinzufuegen");
        QVERIFY(neu->isVisible() && !suche->isVisible());
        schreiben(w.get(), "neuName", "Adler");
        druecken(w.get(), "radioPatientSuchen");
        QVERIFY(!neu->isVisible() && suche->isVisible());
        druecken(w.get(), "radioPatientHinzufuegen");
        QCOMPARE(texte(w.get(), {"neuName"}), QStringList{""});

        const QStringList felder{"neuName", "neuVorname", "neuPlz", "neuOrt", "neuStrasse", "neuNr"};
        const QStringList werte{"Adler", "Greta", "01067", "Dresden", "Altmarkt", "3b"};
        for (int i = 0; i < felder.size(); ++i)
            schreiben(w.get(), felder[i], werte[i]);
        teil<QDateEdit>(w.get(), "neuGeburtstag")->setDate(QDate(1950, 3, 1));
        druecken(w.get(), "knopfPatientEintragen");
        QCOMPARE(Datei::zeilen(db, "SELECT lastname, firstname, plz, ort, strasse, nr, birth FROM patient WHERE id = 3"),
                 (QList<QVariantList>{{"Adler", "Greta", "01067", "Dresden", "Altmarkt", "3b", "01.03.1950"}}));
        QCOMPARE(spalte(liste, 1), (QStringList{"Muster", "Berg", "Adler"}));
        QCOMPARE(spalte(wahl, 1), (QStringList{"Adler", "Berg", "Muster"}));
        QCOMPARE(texte(w.get(), QStringList{"anzeigeName", "editName"} + felder),
                 (QStringList{"Adler", "Muster", "", "", "", "", "", ""}));
        QVERIFY(!neu->isVisible() && !suche->isVisible());
        QVERIFY(teil<QRadioButton>(w.get(), "radioAusblenden")->isChecked());
        // The next new patient does not inherit the date of birth unseen.
        QCOMPARE(teil<QDateEdit>(w.get(), "neuGeburtstag")->text(), QStringLiteral("01.01.2000"));

        // A change keeps the key, and with it the patient's lines and appointments.
        zelleKlicken(liste, 1, 1);
        schreiben(w.get(), "editName", "Zeller");
        teil<QDateEdit>(w.get(), "editGeburtstag")->setDate(QDate(1941, 3, 12));
        druecken(w.get(), "knopfPatientAendern");
        QCOMPARE(Datei::zeilen(db, "SELECT lastname, firstname, birth FROM patient WHERE id = 2"),
                 (QList<QVariantList>{{"Zeller", "Hans", "12.03.1941"}}));
        QCOMPARE(zahl(db, "SELECT COUNT(*) FROM einnahme WHERE pat_id = 2") + zahl(db, "SELECT COUNT(*) FROM termine WHERE pata_id = 2"), 2);
        QCOMPARE(spalte(liste, 1), (QStringList{"Muster", "Zeller", "Adler"}));
        QCOMPARE(spalte(wahl, 1), (QStringList{"Adler", "Muster", "Zeller"}));
        QCOMPARE(texte(w.get(), {"editName"}), QStringList{"Zeller"});
    }

    void loeschen()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        patient(db, "Erika", "Muster", "01.02.1940");
        patient(db, "Hans", "Berg", "02.03.1941");
        for (int pat : {1, 1, 2})
            Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (?, 1, 10, 1)", {pat});
        for (int pat : {1, 2, 2})
            Datei::ausfuehren(db, "INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (?, 'Hausarzt', '2027-01-05')", {pat});
        Datei::ausfuehren(db, "CREATE TRIGGER sperre BEFORE DELETE ON termine BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        auto w = mitListen(env);
        // Which patients, intake lines and appointments the file holds.
        auto stand = [&] {
            return Datei::wert(db, "SELECT ifnull((SELECT group_concat(id) FROM patient), '') || '|' || ifnull((SELECT "
                                   "group_concat(pat_id) FROM einnahme), '') || '|' || ifnull((SELECT "
                                   "group_concat(pata_id) FROM termine), '')").toString();
        };
        const QString vorher = stand();
        QCOMPARE(vorher, QStringLiteral("1,2|1,1,2|1,2,2"));

        // "Nein" changes nothing.
        zelleKlicken(teil<QTableWidget>(w.get(), "tabellePatienten"), 1, 1);
        druecken(w.get(), "knopfPatientEntfernen");
        QCOMPARE(env.fragen, QStringList{"Soll der Patient \u201EBerg, Hans\u201C (*02.03.1941) gel\u00F6scht werden?\n\n"
                                         "Dabei werden auch 1 zugeordnetes Medikament und 2 Arzttermine des Patienten "
                                         "gel\u00F6scht."});
        QCOMPARE(stand(), vorher);
        // A failing step undoes the whole delete, and the patient stays loaded.
        env.antworten << true;
        druecken(w.get(), "knopfPatientEntfernen");
        QCOMPARE(env.meldungen.size(), 1);
        QCOMPARE(stand(), vorher);
        QCOMPARE(texte(w.get(), {"editName"}), QStringList{"Berg"});

        Datei::ausfuehren(db, "DROP TRIGGER sperre");
        env.antworten << true;
        druecken(w.get(), "knopfPatientEntfernen");
        QCOMPARE(stand(), QStringLiteral("1|1,1|1"));
        QCOMPARE(texte(w.get(), {"editName", "anzeigeName", "kopfzeilePatient"}),
                 (QStringList{"Muster", "Muster", " - Patient: Muster, Erika | *01.02.1940"}));

        // The last patient: fields, date, chosen patient and headline empty,
        // and none of the deleted patient's lines or appointments shown.
        auto zeilenZahl = [&] {
            QList<int> n;
            for (const char *t : {"tabelleZuordnung", "tabelleTermine", "tabelleUebersicht", "tabelleVerordnungsplan"})
                n << teil<QTableWidget>(w.get(), t)->rowCount();
            return n;
        };
        QCOMPARE(zeilenZahl(), (QList<int>{2, 1, 2, 2}));
        env.antworten << true;
        druecken(w.get(), "knopfPatientEntfernen");
        QVERIFY(env.fragen.last().contains("2 zugeordnete Medikamente und 1 Arzttermin "));
        QCOMPARE(stand(), QStringLiteral("||"));
        QCOMPARE(texte(w.get(), gewaehlt + QStringList{"editName", "editVorname", "editPlz", "editOrt", "editStrasse",
                                                       "editNr", "kopfzeilePatient", "kopfzeileZeit"}),
                 leer(15));
        QCOMPARE(teil<QDateEdit>(w.get(), "editGeburtstag")->date(), QDate(2000, 1, 1));
        QCOMPARE(zeilenZahl(), (QList<int>{0, 0, 0, 0}));
        // Nothing is loaded any more: no question, nothing happens.
        druecken(w.get(), "knopfPatientEntfernen");
        druecken(w.get(), "knopfPatientAendern");
        QCOMPARE(env.fragen.size(), 4);
        QCOMPARE(env.meldungen.size(), 1);
    }
};

QTEST_MAIN(PatientenTest)
#include "tst_patienten.moc"
