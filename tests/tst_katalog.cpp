#include "testhilfe.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

void listenEinschalten(MainWindow *w)
{
    teil<QAction>(w, QStringLiteral("aktionListen"))->trigger();
}

// Types text, umlauts too, into a line edit, replacing what it held.
void schreiben(MainWindow *w, const QString &feldName, const QString &text)
{
    auto *feld = teil<QLineEdit>(w, feldName);
    tippen(feld, QString());
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString text(MainWindow *w, const QString &name)
{
    if (auto *l = w->findChild<QLabel *>(name))
        return l->text();
    return teil<QLineEdit>(w, name)->text();
}

void druecken(MainWindow *w, const QString &name)
{
    klicken(teil<QPushButton>(w, name));
}

// Which of the pages "Hinzufügen", "Bearbeiten", "Löschen" are enabled.
QList<bool> seitenAktiv(MainWindow *w)
{
    auto *tabs = teil<QTabWidget>(w, QStringLiteral("medikamentTabs"));
    return {tabs->isTabEnabled(0), tabs->isTabEnabled(1), tabs->isTabEnabled(2)};
}

// The name labels of the medication group and of the three pages.
QStringList namenAnzeigen(MainWindow *w)
{
    return {text(w, "anzeigeMedikament"), text(w, "editMedikamentName"), text(w, "anzeigeSorteNeuFuer"),
            text(w, "anzeigeSorteBearbeitenFuer"), text(w, "anzeigeSorteLoeschenFuer")};
}

// The package shown on the pages "Bearbeiten" and "Löschen".
QStringList gezeigtePackung(MainWindow *w)
{
    return {text(w, "editSorteNeuHandelsname"), text(w, "editSorteNeuDosis"), text(w, "editSorteNeuPackung"),
            text(w, "anzeigeSorteHandelsname"), text(w, "anzeigeSorteDosis"), text(w, "anzeigeSortePackung")};
}

QStringList zweimal(const QString &h, const QString &d, const QString &p)
{
    return {h, d, p, h, d, p};
}

void packungEintragen(MainWindow *w, const QString &handelsname, const QString &dosis, const QString &packung)
{
    schreiben(w, "editSorteHandelsname", handelsname);
    schreiben(w, "editSorteDosis", dosis);
    schreiben(w, "editSortePackung", packung);
    druecken(w, "knopfSorteEintragen");
}

QStringList mal(int n, const QString &t)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << t;
    return l;
}

int anzahl(const QString &pfad, const QString &sql)
{
    return Datei::wert(pfad, sql).toInt();
}

} // namespace

class KatalogTest : public QObject
{
    Q_OBJECT
private slots:
    void medikamenteAnlegen();
    void umbenennen();
    void loeschenMitAbhaengigen();
    void loeschenGanzOderGarNicht();
    void packungen();
    void packungseinheiten_data();
    void packungseinheiten();
    void gewaehltePackungBleibt();
};

void KatalogTest::medikamenteAnlegen()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *tabelle = teil<QTableWidget>(w.get(), QStringLiteral("tabelleMedikamente"));

    // Without a medication, renaming and deleting do nothing.
    QCOMPARE(tabelle->rowCount(), 0);
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{false, false, false}));
    schreiben(w.get(), "editMedikamentName", "X");
    druecken(w.get(), "knopfMedikamentAendern");
    druecken(w.get(), "knopfMedikamentLoeschen");
    QVERIFY(env.fragen.isEmpty());
    QVERIFY(env.meldungen.isEmpty());
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament"), 0);

    schreiben(w.get(), "editMedikamentNeu", "Zink");
    druecken(w.get(), "knopfMedikamentHinzufuegen");
    QCOMPARE(Datei::zeilen(db, "SELECT id, medizin FROM medikament"), (QList<QVariantList>{{1, "Zink"}}));
    QCOMPARE(spalte(tabelle, 1), QStringList{"Zink"});
    QCOMPARE(tabelle->currentRow(), 0);
    QCOMPARE(namenAnzeigen(w.get()).mid(0, 3), (QStringList{"Zink", "Zink", "Zink"}));
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, false, false}));
    QCOMPARE(text(w.get(), "editMedikamentNeu"), QString());

    // Byte-wise order: capitals first, umlauts after z.
    for (const char *name : {"aspirin", "\xC3\x96l", "Baldrian"}) {
        schreiben(w.get(), "editMedikamentNeu", QString::fromUtf8(name));
        druecken(w.get(), "knopfMedikamentHinzufuegen");
    }
    QCOMPARE(spalte(tabelle, 1), (QStringList{"Baldrian", "Zink", "aspirin", "\u00D6l"}));
    QCOMPARE(tabelle->currentRow(), 0);
    QCOMPARE(text(w.get(), "anzeigeMedikament"), QStringLiteral("Baldrian"));
}

void KatalogTest::umbenennen()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    for (const char *name : {"Baldrian", "Ibuprofen", "Magnesium"})
        Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES (?)", {QString::fromLatin1(name)});
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (3, 'Kapseln', '400 mg', 50)");
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *tabelle = teil<QTableWidget>(w.get(), QStringLiteral("tabelleMedikamente"));
    auto *sorten = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSorten"));

    // Renamed so that it sorts first: it stays current and shown.
    zelleKlicken(tabelle, 2, 1);
    schreiben(w.get(), "editMedikamentName", "Aspirin");
    druecken(w.get(), "knopfMedikamentAendern");
    QCOMPARE(Datei::wert(db, "SELECT medizin FROM medikament WHERE id = 3").toString(), QStringLiteral("Aspirin"));
    QCOMPARE(spalte(tabelle, 1), (QStringList{"Aspirin", "Baldrian", "Ibuprofen"}));
    QCOMPARE(tabelle->currentRow(), 0);
    QCOMPARE(namenAnzeigen(w.get()), mal(5, QStringLiteral("Aspirin")));
    QCOMPARE(spalte(sorten, 2), QStringList{"Kapseln"});
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Kapseln", "400 mg", "50"));

    // Renamed so that it sorts last.
    zelleKlicken(tabelle, 1, 1);
    schreiben(w.get(), "editMedikamentName", "Zink");
    druecken(w.get(), "knopfMedikamentAendern");
    QCOMPARE(spalte(tabelle, 1), (QStringList{"Aspirin", "Ibuprofen", "Zink"}));
    QCOMPARE(tabelle->currentRow(), 2);
    QCOMPARE(text(w.get(), "anzeigeMedikament"), QStringLiteral("Zink"));
    QCOMPARE(sorten->rowCount(), 0);
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, false, false}));

    // The next command acts on the medication shown.
    druecken(w.get(), "knopfMedikamentLoeschen");
    QCOMPARE(env.fragen.size(), 1);
    QVERIFY(env.fragen.first().contains(QStringLiteral("\u201EZink\u201C")));
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament"), 3);
}

void KatalogTest::loeschenMitAbhaengigen()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    Datei::ausfuehren(db, "INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', 'Muster', '01.02.1940')");
    Datei::ausfuehren(db, "INSERT INTO patient (firstname, lastname, birth) VALUES ('Hans', 'Berg', '02.03.1941')");
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Baldrian')");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Filmtabletten', '400 mg', 20)");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Brausetabletten', '200 mg', 10)");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (2, 'Dragees', '450 mg', 60)");
    for (int pat : {1, 2})
        for (int sorte : {1, 2})
            Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (?, ?, 10, ?)",
                              {pat, sorte, sorte});
    Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 3, 10, 3)");
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *tabelle = teil<QTableWidget>(w.get(), QStringLiteral("tabelleMedikamente"));
    auto *wahl = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSortenwahl"));
    QCOMPARE(spalte(wahl, 2), (QStringList{"Brausetabletten", "Dragees", "Filmtabletten"}));

    zelleKlicken(tabelle, 1, 1);
    QCOMPARE(text(w.get(), "anzeigeMedikament"), QStringLiteral("Ibuprofen"));
    druecken(w.get(), "knopfMedikamentLoeschen");
    QCOMPARE(env.fragen, QStringList{QStringLiteral("Soll das Medikament \u201EIbuprofen\u201C gel\u00F6scht werden?\n\n"
                                                    "Dabei werden auch 2 Packungen und 4 Zuordnungen bei 2 Patienten "
                                                    "gel\u00F6scht.")});
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament"), 2);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte"), 3);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 5);

    env.antworten << true;
    druecken(w.get(), "knopfMedikamentLoeschen");
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament WHERE id = 1"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte WHERE medizin_id = 1"), 0);
    QCOMPARE(Datei::zeilen(db, "SELECT pat_id, med_id FROM einnahme"), (QList<QVariantList>{{1, 3}}));
    QCOMPARE(spalte(wahl, 2), QStringList{"Dragees"});
    // The remaining medication is shown, and is what the next command acts on.
    QCOMPARE(spalte(tabelle, 1), QStringList{"Baldrian"});
    QCOMPARE(tabelle->currentRow(), 0);
    QCOMPARE(namenAnzeigen(w.get()), mal(5, QStringLiteral("Baldrian")));
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Dragees", "450 mg", "60"));
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, true, true}));

    // The last medication: everything empties and every page is disabled.
    env.antworten << true;
    druecken(w.get(), "knopfMedikamentLoeschen");
    QVERIFY(env.fragen.last().contains(QStringLiteral("1 Packung und 1 Zuordnung bei 1 Patienten")));
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 0);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM patient"), 2);
    QCOMPARE(tabelle->rowCount(), 0);
    QCOMPARE(wahl->rowCount(), 0);
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{false, false, false}));
    QCOMPARE(namenAnzeigen(w.get()), mal(5, QString()));
    QCOMPARE(gezeigtePackung(w.get()), mal(6, QString()));
    QVERIFY(env.meldungen.isEmpty());
}

void KatalogTest::loeschenGanzOderGarNicht()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Filmtabletten', '400 mg', 20)");
    Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 1, 10, 1)");
    // The last step of the delete fails.
    Datei::ausfuehren(db, "CREATE TRIGGER sperre BEFORE DELETE ON medikament BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    auto w = env.starten();
    listenEinschalten(w.get());

    env.antworten << true;
    druecken(w.get(), "knopfMedikamentLoeschen");
    QCOMPARE(env.meldungen.size(), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM medikament"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte"), 1);
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM einnahme"), 1);
    QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabelleMedikamente")), 1), QStringList{"Ibuprofen"});
    QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabelleSortenwahl")), 2), QStringList{"Filmtabletten"});
}

void KatalogTest::packungen()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Baldrian')");
    auto w = env.starten();
    listenEinschalten(w.get());
    auto *tabelle = teil<QTableWidget>(w.get(), QStringLiteral("tabelleMedikamente"));
    auto *sorten = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSorten"));
    auto *wahl = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSortenwahl"));

    // A medication without packages: only "Hinzufügen" is open.
    zelleKlicken(tabelle, 1, 1);
    QCOMPARE(sorten->rowCount(), 0);
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, false, false}));

    packungEintragen(w.get(), "Filmtabletten", "5 mg", "20");
    packungEintragen(w.get(), "Filmtabletten", "10 mg", "20");
    QCOMPARE(Datei::zeilen(db, "SELECT id, medizin_id, handelsname, dosis, packung FROM sorte ORDER BY id"),
             (QList<QVariantList>{{1, 1, "Filmtabletten", "5 mg", 20.0}, {2, 1, "Filmtabletten", "10 mg", 20.0}}));
    // Text order of the dose; the last row is shown and is current.
    QCOMPARE(spalte(sorten, 3), (QStringList{"10 mg", "5 mg"}));
    QCOMPARE(sorten->currentRow(), 1);
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Filmtabletten", "5 mg", "20"));
    QCOMPARE(tabelle->currentRow(), 1);
    QCOMPARE(namenAnzeigen(w.get()), mal(5, QStringLiteral("Ibuprofen")));
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, true, true}));
    QCOMPARE(spalte(wahl, 3), (QStringList{"10 mg", "5 mg"}));
    QCOMPARE(text(w.get(), "editSorteHandelsname"), QString());

    // An intake line of the package that is about to change and go.
    Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 2, 10, 1)");

    // Change: the changed package stays current and shown, wherever it sorts.
    zelleKlicken(sorten, 0, 2);
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Filmtabletten", "10 mg", "20"));
    schreiben(w.get(), "editSorteNeuHandelsname", "Brausetabletten");
    schreiben(w.get(), "editSorteNeuDosis", "7 mg");
    schreiben(w.get(), "editSorteNeuPackung", "12,5");
    druecken(w.get(), "knopfSorteAendern");
    QCOMPARE(Datei::zeilen(db, "SELECT medizin_id, handelsname, dosis, packung FROM sorte WHERE id = 2"),
             (QList<QVariantList>{{1, "Brausetabletten", "7 mg", 12.5}}));
    QCOMPARE(spalte(sorten, 3), (QStringList{"5 mg", "7 mg"}));
    QCOMPARE(sorten->currentRow(), 1);
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Brausetabletten", "7 mg", "12.5"));
    QCOMPARE(spalte(wahl, 2), (QStringList{"Brausetabletten", "Filmtabletten"}));

    // A units text that is no number changes nothing.
    schreiben(w.get(), "editSorteNeuPackung", "zwanzig");
    druecken(w.get(), "knopfSorteAendern");
    QCOMPARE(env.meldungen.size(), 1);
    QCOMPARE(Datei::wert(db, "SELECT packung FROM sorte WHERE id = 2").toDouble(), 12.5);
    QCOMPARE(text(w.get(), "editSorteNeuPackung"), QStringLiteral("zwanzig"));

    // Delete acts on the package shown; its intake line stays.
    druecken(w.get(), "knopfSorteLoeschen");
    QVERIFY(env.fragen.isEmpty());
    QCOMPARE(Datei::zeilen(db, "SELECT id FROM sorte"), (QList<QVariantList>{{1}}));
    QCOMPARE(Datei::zeilen(db, "SELECT pat_id, med_id FROM einnahme"), (QList<QVariantList>{{1, 2}}));
    QCOMPARE(tabelle->currentRow(), 1);
    QCOMPARE(namenAnzeigen(w.get()), mal(5, QStringLiteral("Ibuprofen")));
    QCOMPARE(spalte(sorten, 3), QStringList{"5 mg"});
    QCOMPARE(sorten->currentRow(), 0);
    QCOMPARE(gezeigtePackung(w.get()), zweimal("Filmtabletten", "5 mg", "20"));
    QCOMPARE(spalte(wahl, 2), QStringList{"Filmtabletten"});

    // Deleting the last package closes "Bearbeiten" and "Löschen".
    druecken(w.get(), "knopfSorteLoeschen");
    QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte"), 0);
    QCOMPARE(sorten->rowCount(), 0);
    QCOMPARE(seitenAktiv(w.get()), (QList<bool>{true, false, false}));
    QCOMPARE(gezeigtePackung(w.get()), mal(6, QString()));
    QCOMPARE(text(w.get(), "anzeigeMedikament"), QStringLiteral("Ibuprofen"));
    QCOMPARE(wahl->rowCount(), 0);
}

void KatalogTest::packungseinheiten_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QVariant>("gespeichert"); // invalid: nothing stored
    QTest::addColumn<QString>("angezeigt");
    QTest::newRow("ganz") << "20" << QVariant(20.0) << "20";
    QTest::newRow("Komma") << "2,5" << QVariant(2.5) << "2.5";
    QTest::newRow("Punkt") << "2.5" << QVariant(2.5) << "2.5";
    QTest::newRow("leer") << "" << QVariant() << "";
    QTest::newRow("Wort") << "zwanzig" << QVariant() << "";
    QTest::newRow("negativ") << "-1" << QVariant() << "";
}

void KatalogTest::packungseinheiten()
{
    QFETCH(QString, eingabe);
    QFETCH(QVariant, gespeichert);
    QFETCH(QString, angezeigt);
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
    auto w = env.starten();
    listenEinschalten(w.get());

    packungEintragen(w.get(), "Tropfen", "1 ml", eingabe);
    if (gespeichert.isValid()) {
        QVERIFY(env.meldungen.isEmpty());
        QCOMPARE(Datei::zeilen(db, "SELECT packung, typeof(packung) FROM sorte"),
                 (QList<QVariantList>{{gespeichert, "real"}}));
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabelleSorten")), 4), QStringList{angezeigt});
        QCOMPARE(text(w.get(), "editSortePackung"), QString());
    } else {
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(QStringLiteral("\u201EEinheiten pro Packung\u201C")));
        QCOMPARE(anzahl(db, "SELECT COUNT(*) FROM sorte"), 0);
        QCOMPARE(text(w.get(), "editSorteHandelsname"), QStringLiteral("Tropfen"));
        QCOMPARE(text(w.get(), "editSorteDosis"), QStringLiteral("1 ml"));
        QCOMPARE(text(w.get(), "editSortePackung"), eingabe);
    }
}

void KatalogTest::gewaehltePackungBleibt()
{
    Umgebung env;
    const QString db = env.standardDatei();
    env.datenbankAnlegen(db);
    Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Filmtabletten', '400 mg', 20)");
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (1, 'Brausetabletten', '200 mg', 10)");
    auto w = env.starten();
    auto *wahl = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSortenwahl"));

    // Choosing a package resets the typed doses.
    schreiben(w.get(), "editZuordnenMorgen", "2");
    zelleKlicken(wahl, 1, 2);
    QCOMPARE(text(w.get(), "anzeigeZuordnenSorte"), QStringLiteral("Filmtabletten"));
    QCOMPARE(text(w.get(), "anzeigeZuordnenDosis"), QStringLiteral("400 mg"));
    QCOMPARE(text(w.get(), "anzeigeZuordnenPackung"), QStringLiteral("20"));
    for (const char *feld : {"editZuordnenMorgen", "editZuordnenMittag", "editZuordnenAbend", "editZuordnenNacht"})
        QCOMPARE(text(w.get(), QString::fromLatin1(feld)), QStringLiteral("0"));
    schreiben(w.get(), "editZuordnenAbend", "1");

    // Changing the chosen package in the catalogue keeps it chosen and shows its new texts.
    listenEinschalten(w.get());
    auto *sorten = teil<QTableWidget>(w.get(), QStringLiteral("tabelleSorten"));
    QCOMPARE(spalte(sorten, 2), (QStringList{"Brausetabletten", "Filmtabletten"}));
    zelleKlicken(sorten, 1, 2);
    schreiben(w.get(), "editSorteNeuHandelsname", "Retardtabletten");
    druecken(w.get(), "knopfSorteAendern");
    QCOMPARE(spalte(wahl, 2), (QStringList{"Brausetabletten", "Retardtabletten"}));
    QCOMPARE(wahl->currentRow(), 1);
    QCOMPARE(text(w.get(), "anzeigeZuordnenSorte"), QStringLiteral("Retardtabletten"));
    QCOMPARE(text(w.get(), "editZuordnenAbend"), QStringLiteral("1"));

    // Deleting it leaves no package chosen and none shown.
    druecken(w.get(), "knopfSorteLoeschen");
    QCOMPARE(spalte(wahl, 2), QStringList{"Brausetabletten"});
    QCOMPARE(wahl->currentRow(), -1);
    QCOMPARE(text(w.get(), "anzeigeZuordnenSorte"), QString());
    QCOMPARE(text(w.get(), "anzeigeZuordnenDosis"), QString());
    QCOMPARE(text(w.get(), "anzeigeZuordnenPackung"), QString());
}

QTEST_MAIN(KatalogTest)
#include "tst_katalog.moc"
