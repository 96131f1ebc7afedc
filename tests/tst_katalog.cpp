#include "testhilfe.h"

#include <QTest>
#include <QtWidgets>

namespace {

int zahl(const QString &db, const char *sql) { return Datei::wert(db, QString::fromLatin1(sql)).toInt(); }

void sorte(const QString &db, int medikament, const QString &handelsname, const QString &dosis, double packung)
{
    Datei::ausfuehren(db, "INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (?, ?, ?, ?)",
                      {medikament, handelsname, dosis, packung});
}

// The texts of labels and line edits, in the order named.
QStringList texte(QWidget *w, const QStringList &namen)
{
    QStringList t;
    for (const QString &n : namen)
        t << (w->findChild<QLabel *>(n) ? w->findChild<QLabel *>(n)->text() : teil<QLineEdit>(w, n)->text());
    return t;
}

QStringList mal(int n, const QString &text)
{
    QStringList l;
    while (l.size() < n)
        l << text;
    return l;
}

// Types text (umlauts too) into a line edit, replacing what it held.
void schreiben(QWidget *w, const QString &name, const QString &text)
{
    auto *feld = teil<QLineEdit>(w, name);
    tippen(feld, QString());
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void druecken(QWidget *w, const QString &name) { klicken(teil<QAbstractButton>(w, name)); }

std::unique_ptr<MainWindow> mitListen(Umgebung &env)
{
    auto w = env.starten();
    teil<QAction>(w.get(), "aktionListen")->trigger();
    return w;
}

// Enabled state of the pages "Hinzufügen", "Bearbeiten" and "Löschen".
QList<bool> seiten(QWidget *w)
{
    auto *tabs = teil<QTabWidget>(w, "medikamentTabs");
    return {tabs->isTabEnabled(0), tabs->isTabEnabled(1), tabs->isTabEnabled(2)};
}

const QStringList namen{"anzeigeMedikament", "editMedikamentName", "anzeigeSorteNeuFuer", "anzeigeSorteBearbeitenFuer",
                        "anzeigeSorteLoeschenFuer"};
// The package shown on "Bearbeiten" and on "Löschen".
const QStringList gezeigt{"editSorteNeuHandelsname", "editSorteNeuDosis", "editSorteNeuPackung",
                          "anzeigeSorteHandelsname", "anzeigeSorteDosis", "anzeigeSortePackung"};
QStringList zweimal(const QStringList &l) { return l + l; }

void packungEintragen(QWidget *w, const QString &handelsname, const QString &dosis, const QString &packung)
{
    schreiben(w, "editSorteHandelsname", handelsname);
    schreiben(w, "editSorteDosis", dosis);
    schreiben(w, "editSortePackung", packung);
    druecken(w, "knopfSorteEintragen");
}

} // namespace

class KatalogTest : public QObject
{
    Q_OBJECT
private slots:
    void anlegenUndUmbenennen()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        auto w = mitListen(env);
        auto *tabelle = teil<QTableWidget>(w.get(), "tabelleMedikamente");

        // Without a medication, renaming and deleting do nothing.
        schreiben(w.get(), "editMedikamentName", "X");
        druecken(w.get(), "knopfMedikamentAendern");
        druecken(w.get(), "knopfMedikamentLoeschen");
        QVERIFY(env.fragen.isEmpty() && env.meldungen.isEmpty());
        QCOMPARE(seiten(w.get()), (QList<bool>{false, false, false}));

        schreiben(w.get(), "editMedikamentNeu", "Zink");
        druecken(w.get(), "knopfMedikamentHinzufuegen");
        QCOMPARE(Datei::zeilen(db, "SELECT id, medizin FROM medikament"), (QList<QVariantList>{{1, "Zink"}}));
        QCOMPARE(tabelle->currentRow(), 0);
        QCOMPARE(texte(w.get(), namen.mid(0, 3) + QStringList{"editMedikamentNeu"}), (QStringList{"Zink", "Zink", "Zink", ""}));
        QCOMPARE(seiten(w.get()), (QList<bool>{true, false, false}));

        for (const QString &name : {QStringLiteral("aspirin"), QStringLiteral("\u00D6l"), QStringLiteral("Magnesium")}) {
            schreiben(w.get(), "editMedikamentNeu", name);
            druecken(w.get(), "knopfMedikamentHinzufuegen");
        }
        QCOMPARE(spalte(tabelle, 1), (QStringList{"Magnesium", "Zink", "aspirin", "\u00D6l"}));
        sorte(db, 1, "Kapseln", "400 mg", 50);

        // A renamed medication stays current and shown, wherever it sorts.
        zelleKlicken(tabelle, 1, 1);
        schreiben(w.get(), "editMedikamentName", "Baldrian");
        druecken(w.get(), "knopfMedikamentAendern");
        QCOMPARE(Datei::wert(db, "SELECT medizin FROM medikament WHERE id = 1").toString(), QStringLiteral("Baldrian"));
        QCOMPARE(spalte(tabelle, 1), (QStringList{"Baldrian", "Magnesium", "aspirin", "\u00D6l"}));
        QCOMPARE(tabelle->currentRow(), 0);
        QCOMPARE(texte(w.get(), namen + gezeigt), mal(5, "Baldrian") + zweimal({"Kapseln", "400 mg", "50"}));

        zelleKlicken(tabelle, 1, 1);
        schreiben(w.get(), "editMedikamentName", "Zink");
        druecken(w.get(), "knopfMedikamentAendern");
        QCOMPARE(tabelle->currentRow(), 1);
        QCOMPARE(texte(w.get(), namen), mal(5, "Zink"));
        QCOMPARE(seiten(w.get()), (QList<bool>{true, false, false}));
        // The next command acts on the medication shown.
        druecken(w.get(), "knopfMedikamentLoeschen");
        QVERIFY(env.fragen.last().contains("\u201EZink\u201C"));
    }

    void loeschenMitAbhaengigen()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Baldrian')");
        sorte(db, 1, "Filmtabletten", "400 mg", 20);
        sorte(db, 1, "Brausetabletten", "200 mg", 10);
        sorte(db, 2, "Dragees", "450 mg", 60);
        Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id) VALUES (1, 1), (1, 2), (2, 1), (2, 2), (1, 3)");
        Datei::ausfuehren(db, "CREATE TRIGGER sperre BEFORE DELETE ON medikament BEGIN SELECT RAISE(ABORT, 'x'); END");
        auto w = mitListen(env);
        auto *tabelle = teil<QTableWidget>(w.get(), "tabelleMedikamente");
        auto *wahl = teil<QTableWidget>(w.get(), "tabelleSortenwahl");
        auto stand = [&] {
            return Datei::wert(db, "SELECT (SELECT group_concat(id) FROM medikament) || '|' || (SELECT group_concat(id) "
                                   "FROM sorte) || '|' || (SELECT group_concat(med_id) FROM einnahme)").toString();
        };
        QCOMPARE(stand(), QStringLiteral("1,2|1,2,3|1,2,1,2,3"));

        zelleKlicken(tabelle, 1, 1);
        druecken(w.get(), "knopfMedikamentLoeschen");
        QCOMPARE(env.fragen, QStringList{"Soll das Medikament \u201EIbuprofen\u201C gel\u00F6scht werden?\n\nDabei werden "
                                         "auch 2 Packungen und 4 Zuordnungen bei 2 Patienten gel\u00F6scht."});
        QCOMPARE(stand(), QStringLiteral("1,2|1,2,3|1,2,1,2,3"));
        // A failing step undoes the whole delete.
        env.antworten << true;
        druecken(w.get(), "knopfMedikamentLoeschen");
        QCOMPARE(env.meldungen.size(), 1);
        QCOMPARE(stand(), QStringLiteral("1,2|1,2,3|1,2,1,2,3"));

        Datei::ausfuehren(db, "DROP TRIGGER sperre");
        env.antworten << true;
        druecken(w.get(), "knopfMedikamentLoeschen");
        QCOMPARE(stand(), QStringLiteral("2|3|3"));
        QCOMPARE(spalte(wahl, 2), QStringList{"Dragees"});
        // The medication left is current and shown, and is what the next command acts on.
        QCOMPARE(spalte(tabelle, 1), QStringList{"Baldrian"});
        QCOMPARE(texte(w.get(), namen + gezeigt), mal(5, "Baldrian") + zweimal({"Dragees", "450 mg", "60"}));
        QCOMPARE(seiten(w.get()), (QList<bool>{true, true, true}));

        env.antworten << true;
        druecken(w.get(), "knopfMedikamentLoeschen");
        QVERIFY(env.fragen.last().contains("1 Packung und 1 Zuordnung bei 1 Patienten"));
        QCOMPARE(stand(), QString());
        QCOMPARE(tabelle->rowCount() + wahl->rowCount(), 0);
        QCOMPARE(seiten(w.get()), (QList<bool>{false, false, false}));
        QCOMPARE(texte(w.get(), namen + gezeigt), mal(11, QString()));
    }

    void packungen()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen'), ('Baldrian')");
        auto w = mitListen(env);
        auto *tabelle = teil<QTableWidget>(w.get(), "tabelleMedikamente");
        auto *sorten = teil<QTableWidget>(w.get(), "tabelleSorten");
        auto *wahl = teil<QTableWidget>(w.get(), "tabelleSortenwahl");

        zelleKlicken(tabelle, 1, 1);
        QCOMPARE(seiten(w.get()), (QList<bool>{true, false, false}));
        packungEintragen(w.get(), "Filmtabletten", "5 mg", "20");
        packungEintragen(w.get(), "Filmtabletten", "10 mg", "20");
        QCOMPARE(Datei::zeilen(db, "SELECT id, medizin_id, dosis FROM sorte"),
                 (QList<QVariantList>{{1, 1, "5 mg"}, {2, 1, "10 mg"}}));
        // Text order of the dose; the last row is shown and current; the choice table lists both.
        QCOMPARE(spalte(sorten, 3), (QStringList{"10 mg", "5 mg"}));
        QCOMPARE(spalte(wahl, 3), (QStringList{"10 mg", "5 mg"}));
        QCOMPARE(sorten->currentRow(), 1);
        QCOMPARE(tabelle->currentRow(), 1);
        QCOMPARE(texte(w.get(), namen + gezeigt), mal(5, "Ibuprofen") + zweimal({"Filmtabletten", "5 mg", "20"}));
        QCOMPARE(seiten(w.get()), (QList<bool>{true, true, true}));

        // A change keeps the changed package current and shown, wherever it sorts.
        Datei::ausfuehren(db, "INSERT INTO einnahme (pat_id, med_id, stand, ordnung) VALUES (1, 2, 10, 1)");
        zelleKlicken(sorten, 0, 2);
        schreiben(w.get(), "editSorteNeuHandelsname", "Brausetabletten");
        schreiben(w.get(), "editSorteNeuDosis", "7 mg");
        schreiben(w.get(), "editSorteNeuPackung", "12,5");
        druecken(w.get(), "knopfSorteAendern");
        QCOMPARE(Datei::zeilen(db, "SELECT medizin_id, handelsname, dosis, packung FROM sorte WHERE id = 2"),
                 (QList<QVariantList>{{1, "Brausetabletten", "7 mg", 12.5}}));
        QCOMPARE(spalte(sorten, 3), (QStringList{"5 mg", "7 mg"}));
        QCOMPARE(sorten->currentRow(), 1);
        QCOMPARE(texte(w.get(), gezeigt), zweimal({"Brausetabletten", "7 mg", "12.5"}));
        QCOMPARE(spalte(wahl, 2), (QStringList{"Brausetabletten", "Filmtabletten"}));
        schreiben(w.get(), "editSorteNeuPackung", "zwanzig");
        druecken(w.get(), "knopfSorteAendern");
        QCOMPARE(env.meldungen.size(), 1);
        QCOMPARE(Datei::wert(db, "SELECT packung FROM sorte WHERE id = 2").toDouble(), 12.5);

        // A delete takes the package shown, without a question; its intake line stays.
        druecken(w.get(), "knopfSorteLoeschen");
        QVERIFY(env.fragen.isEmpty());
        QCOMPARE(Datei::zeilen(db, "SELECT id FROM sorte"), (QList<QVariantList>{{1}}));
        QCOMPARE(Datei::zeilen(db, "SELECT pat_id, med_id FROM einnahme"), (QList<QVariantList>{{1, 2}}));
        QCOMPARE(tabelle->currentRow(), 1);
        QCOMPARE(sorten->currentRow(), 0);
        QCOMPARE(texte(w.get(), namen + gezeigt), mal(5, "Ibuprofen") + zweimal({"Filmtabletten", "5 mg", "20"}));

        druecken(w.get(), "knopfSorteLoeschen");
        QCOMPARE(sorten->rowCount() + wahl->rowCount() + zahl(db, "SELECT COUNT(*) FROM sorte"), 0);
        QCOMPARE(seiten(w.get()), (QList<bool>{true, false, false}));
        QCOMPARE(texte(w.get(), gezeigt), mal(6, QString()));
    }

    void packungseinheiten_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QVariant>("gespeichert"); // invalid: nothing may be stored
        QTest::newRow("ganz") << "20" << QVariant(20.0);
        QTest::newRow("Komma") << "2,5" << QVariant(2.5);
        QTest::newRow("Punkt") << "2.5" << QVariant(2.5);
        QTest::newRow("leer") << "" << QVariant();
        QTest::newRow("Wort") << "zwanzig" << QVariant();
        QTest::newRow("negativ") << "-1" << QVariant();
    }

    void packungseinheiten()
    {
        QFETCH(QString, eingabe);
        QFETCH(QVariant, gespeichert);
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
        auto w = mitListen(env);
        packungEintragen(w.get(), "Tropfen", "1 ml", eingabe);
        const QStringList felder{"editSorteHandelsname", "editSorteDosis", "editSortePackung"};
        if (gespeichert.isValid()) {
            QVERIFY(env.meldungen.isEmpty());
            QCOMPARE(Datei::zeilen(db, "SELECT packung, typeof(packung) FROM sorte"),
                     (QList<QVariantList>{{gespeichert, "real"}}));
            QCOMPARE(texte(w.get(), felder), mal(3, QString()));
        } else {
            QCOMPARE(env.meldungen.size(), 1);
            QVERIFY(env.meldungen.first().contains("\u201EEinheiten pro Packung\u201C"));
            QCOMPARE(zahl(db, "SELECT COUNT(*) FROM sorte"), 0);
            QCOMPARE(texte(w.get(), felder), (QStringList{"Tropfen", "1 ml", eingabe}));
        }
    }

    void gewaehltePackungBleibt()
    {
        Umgebung env;
        const QString db = env.standardDatei();
        env.datenbankAnlegen(db);
        Datei::ausfuehren(db, "INSERT INTO medikament (medizin) VALUES ('Ibuprofen')");
        sorte(db, 1, "Filmtabletten", "400 mg", 20);
        sorte(db, 1, "Brausetabletten", "200 mg", 10);
        auto w = env.starten();
        auto *wahl = teil<QTableWidget>(w.get(), "tabelleSortenwahl");
        const QStringList zuordnen{"anzeigeZuordnenSorte", "anzeigeZuordnenDosis", "anzeigeZuordnenPackung",
                                   "editZuordnenMorgen", "editZuordnenMittag", "editZuordnenAbend", "editZuordnenNacht"};

        // Choosing a package resets the typed doses.
        schreiben(w.get(), "editZuordnenMorgen", "2");
        zelleKlicken(wahl, 1, 2);
        QCOMPARE(texte(w.get(), zuordnen), (QStringList{"Filmtabletten", "400 mg", "20"} + mal(4, "0")));
        schreiben(w.get(), "editZuordnenAbend", "1");

        // Changed in the catalogue, it stays chosen with its new texts and the typed doses.
        teil<QAction>(w.get(), "aktionListen")->trigger();
        zelleKlicken(teil<QTableWidget>(w.get(), "tabelleSorten"), 1, 2);
        schreiben(w.get(), "editSorteNeuHandelsname", "Retardtabletten");
        druecken(w.get(), "knopfSorteAendern");
        QCOMPARE(wahl->currentRow(), 1);
        QCOMPARE(texte(w.get(), zuordnen), (QStringList{"Retardtabletten", "400 mg", "20", "0", "0", "1", "0"}));

        // Deleted, nothing is chosen or shown any more.
        druecken(w.get(), "knopfSorteLoeschen");
        QCOMPARE(wahl->currentRow(), -1);
        QCOMPARE(texte(w.get(), zuordnen.mid(0, 3)), mal(3, QString()));
    }
};

QTEST_MAIN(KatalogTest)
#include "tst_katalog.moc"
