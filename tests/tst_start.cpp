// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: settings file, database file, schema and the fallbacks.
#include "testhilfe.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Every row of every table: what a file holds, whatever indexes it gained.
QStringList zeilenAllerTabellen(const QString &pfad)
{
    QStringList zeilen;
    for (const QString &tabelle : Datei::tabellen(pfad)) {
        for (const QVariantList &z : Datei::zeilen(pfad, "SELECT * FROM " + tabelle)) {
            QStringList werte;
            for (const QVariant &w : z)
                werte << w.toString();
            zeilen << tabelle + ':' + werte.join('|');
        }
    }
    return zeilen;
}

// The tables of a file as SQLite keeps their definitions, in name order.
QStringList schema(const QString &pfad)
{
    QStringList t;
    for (const QVariantList &z : Datei::zeilen(pfad, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name "
                                                     "<> 'sqlite_sequence' ORDER BY name"))
        t << z.value(0).toString();
    return t;
}

// The file last used, as config.ini names it: its name ("" for none), the
// statements that make it (";" between them) or its bytes.
struct Gemerkt {
    const char *name, *datei, *sql;
    QByteArray text;
};

} // namespace

Q_DECLARE_METATYPE(Gemerkt)

class StartTest : public QObject
{
    Q_OBJECT
private slots:
    void ersterStart()
    {
        Umgebung env;
        auto w = env.starten();
        QCOMPARE(env.letzteDatei(), env.standardDatei());
        // Exactly the five tables files of earlier versions hold, column for column.
        const QString vorlage = env.basis() + "/vorlage.db";
        env.datenbankAnlegen(vorlage);
        QCOMPARE(schema(env.standardDatei()), schema(vorlage));
        QCOMPARE(w->windowTitle(), "Kalvoria - " + env.standardDatei());
        QCOMPARE(env.meldungen, QStringList());
    }

    void zweiterStartLiestNur()
    {
        Umgebung env;
        env.starten().reset();
        const QByteArray vorher = Datei::inhalt(env.konfiguration());
        const QDateTime geschrieben = QFileInfo(env.konfiguration()).lastModified();
        Datei::ausfuehren(env.standardDatei(), "INSERT INTO patient (firstname, lastname) VALUES ('Erika', 'Muster')");
        auto w = env.starten();
        QCOMPARE(Datei::inhalt(env.konfiguration()), vorher);
        QCOMPARE(QFileInfo(env.konfiguration()).lastModified(), geschrieben);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), "tabellePatientenwahl"), 1), QStringList{"Muster"});
        QCOMPARE(env.meldungen, QStringList());
    }

    // A Kalvoria file elsewhere is used as it is (next test). Any other
    // remembered file makes the default file the one in use, named once in
    // a message; the key and the user's file stay as they were (it may be on
    // an unplugged drive).
    void gemerkteDatei_data()
    {
        faelle<Gemerkt>(
            {{"fehlt", "fehlt.db", "", {}},
             {"leer", "", "", {}},
             {"kein SQLite", "liste.db", "", "Einkaufsliste: Brot, Milch\n"},
             {"fremde Datenbank", "fremd.db", "CREATE TABLE kunden (id INTEGER, name TEXT)", {}},
             // The five names, but a column missing: every read would fail.
             {"Spalte fehlt",
              "spalte.db",
              "CREATE TABLE einnahme (id INTEGER PRIMARY KEY, pat_id, med_id, tag, stand, morgen, mittag, abend, "
              "nacht, hilfe, ordnung);CREATE TABLE medikament (id INTEGER PRIMARY KEY, medizin);CREATE TABLE patient "
              "(id INTEGER PRIMARY KEY, firstname, lastname, plz, ort, strasse, nr);CREATE TABLE sorte (id INTEGER "
              "PRIMARY KEY, medizin_id, handelsname, dosis, packung);CREATE TABLE termine (id INTEGER PRIMARY KEY, "
              "pata_id, arzt, arzt_date)",
              {}}});
    }
    void gemerkteDatei()
    {
        QFETCH(Gemerkt, fall);
        Umgebung env;
        const QString gemerkt = *fall.datei ? env.basis() + '/' + fall.datei : QString();
        for (const QString &anweisung : QString(fall.sql).split(';', Qt::SkipEmptyParts))
            Datei::ausfuehren(gemerkt, anweisung);
        if (!fall.text.isEmpty()) {
            QFile f(gemerkt);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(fall.text), fall.text.size());
        }
        const QByteArray vorher = Datei::inhalt(gemerkt);
        env.letzteDateiSetzen(gemerkt);

        auto w = env.starten();
        QCOMPARE(w->windowTitle(), "Kalvoria - " + env.standardDatei());
        QCOMPARE(Datei::tabellen(env.standardDatei()).size(), 5);
        QCOMPARE(env.letzteDatei(), gemerkt);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY2(env.meldungen.first().contains(env.standardDatei()), qPrintable(env.meldungen.first()));
        QVERIFY2(env.meldungen.first().contains(gemerkt), qPrintable(env.meldungen.first()));
        if (fall.name == QLatin1String("Spalte fehlt"))
            QVERIFY2(env.meldungen.first().contains("Tabelle \u201Epatient\u201C fehlt die Spalte \u201Ebirth\u201C"),
                     qPrintable(env.meldungen.first()));
        QCOMPARE(Datei::inhalt(gemerkt), vorher);
        QCOMPARE(QFileInfo::exists(gemerkt), !vorher.isEmpty());
    }

    void kalvoriaDateiAnderswo()
    {
        Umgebung env;
        const QString gemerkt = env.basis() + "/Praxis Daten/pflege.db";
        env.datenbankAnlegen(gemerkt);
        Datei::ausfuehren(gemerkt, "INSERT INTO patient (lastname) VALUES ('Weber')");
        const QStringList vorher = zeilenAllerTabellen(gemerkt);
        env.letzteDateiSetzen(gemerkt);

        auto w = env.starten();
        QCOMPARE(w->windowTitle(), "Kalvoria - " + gemerkt);
        QVERIFY(!QFileInfo::exists(env.standardDatei()));
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), "tabellePatientenwahl"), 1), QStringList{"Weber"});
        QCOMPARE(env.letzteDatei(), gemerkt);
        QCOMPARE(env.meldungen, QStringList());
        // It gains the indexes the program reads through, and keeps its rows.
        QCOMPARE(zeilenAllerTabellen(gemerkt), vorher);
    }
};

QTEST_MAIN(StartTest)
#include "tst_start.moc"
