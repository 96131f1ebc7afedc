// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: settings file, database file, schema, fallbacks and failures.
#include "testhilfe.h"

#include "storage/datenbankzugriff.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

QString letzteDatei(const Umgebung &env)
{
    return QSettings(env.konfiguration(), QSettings::IniFormat).value(QStringLiteral("pfade/letzteDatei")).toString();
}

// Every row of every table: what a file holds, whatever indexes it gained.
QString zeilenAllerTabellen(const QString &pfad)
{
    QStringList zeilen;
    for (const QString &tabelle : Datei::tabellen(pfad)) {
        for (const QVariantList &z : Datei::zeilen(pfad, QStringLiteral("SELECT * FROM ") + tabelle)) {
            QStringList werte;
            for (const QVariant &w : z)
                werte << w.toString();
            zeilen << tabelle + QLatin1Char(':') + werte.join(QLatin1Char('|'));
        }
    }
    return zeilen.join(QLatin1Char('\n'));
}

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return !pfad.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The tables of a file as SQLite keeps their definitions, in name order.
QString schema(const QString &pfad)
{
    return Datei::wert(pfad, QStringLiteral("SELECT group_concat(sql, '|') FROM (SELECT sql FROM sqlite_master WHERE "
                                            "type = 'table' AND name <> 'sqlite_sequence' ORDER BY name)"))
        .toString();
}

} // namespace

class StartTest : public QObject
{
    Q_OBJECT
private slots:
    void ersterStart()
    {
        Umgebung env;
        auto w = env.starten();
        QCOMPARE(letzteDatei(env), env.standardDatei());
        // Exactly the five tables files of earlier versions hold, column for column.
        const QString vorlage = env.basis() + QStringLiteral("/vorlage.db");
        env.datenbankAnlegen(vorlage);
        QCOMPARE(schema(env.standardDatei()), schema(vorlage));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
        QVERIFY(env.meldungen.isEmpty());
    }

    void zweiterStartLiestNur()
    {
        Umgebung env;
        env.starten().reset();
        const QByteArray vorher = inhalt(env.konfiguration());
        const QDateTime geschrieben = QFileInfo(env.konfiguration()).lastModified();
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO patient (firstname, lastname, birth) "
                                                              "VALUES ('Erika', 'Muster', '01.02.1940')"));
        auto w = env.starten();
        QCOMPARE(inhalt(env.konfiguration()), vorher);
        QCOMPARE(QFileInfo(env.konfiguration()).lastModified(), geschrieben);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                 QStringList{QStringLiteral("Muster")});
        QVERIFY(env.meldungen.isEmpty());
    }

    // A Kalvoria file elsewhere is used as it is. Any other remembered file
    // makes the default file the one in use, named once in a message; the key
    // and the user's file stay as they were (it may be on an unplugged drive).
    void gemerkteDatei_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Kalvoria-Datei anderswo") << "Praxis Daten/pflege.db"
                                                 << "" << QByteArray();
        QTest::newRow("fehlt") << "fehlt.db"
                               << "" << QByteArray();
        QTest::newRow("leer") << ""
                              << "" << QByteArray();
        QTest::newRow("kein SQLite") << "liste.db"
                                     << "" << QByteArray("Einkaufsliste: Brot, Milch\n");
        QTest::newRow("fremde Datenbank") << "fremd.db"
                                          << "CREATE TABLE kunden (id INTEGER, name TEXT)" << QByteArray();
        // The five names, but a column missing: every read would fail.
        QTest::newRow("Spalte fehlt")
            << "spalte.db"
            << "CREATE TABLE einnahme (id INTEGER PRIMARY KEY, pat_id, med_id, tag, stand, morgen, "
               "mittag, abend, nacht, hilfe, ordnung);CREATE TABLE medikament (id INTEGER PRIMARY "
               "KEY, medizin);CREATE TABLE patient (id INTEGER PRIMARY KEY, firstname, lastname, "
               "plz, ort, strasse, nr);CREATE TABLE sorte (id INTEGER PRIMARY KEY, medizin_id, "
               "handelsname, dosis, packung);CREATE TABLE termine (id INTEGER PRIMARY KEY, pata_id, "
               "arzt, arzt_date)"
            << QByteArray();
    }
    void gemerkteDatei()
    {
        QFETCH(QString, name);
        QFETCH(QString, sql);
        QFETCH(QByteArray, text);
        Umgebung env;
        const QString gemerkt = name.isEmpty() ? QString() : env.basis() + QLatin1Char('/') + name;
        const bool brauchbar = name.endsWith(QLatin1String("pflege.db"));
        if (brauchbar) {
            env.datenbankAnlegen(gemerkt);
            Datei::ausfuehren(gemerkt, QStringLiteral("INSERT INTO patient (lastname) VALUES ('Weber')"));
        }
        for (const QString &anweisung : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            Datei::ausfuehren(gemerkt, anweisung);
        if (!text.isEmpty()) {
            QFile f(gemerkt);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
        }
        const QByteArray vorher = inhalt(gemerkt);
        const QString zeilenVorher = brauchbar ? zeilenAllerTabellen(gemerkt) : QString();
        env.letzteDateiSetzen(gemerkt);

        auto w = env.starten();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + (brauchbar ? gemerkt : env.standardDatei()));
        const bool standard = QFileInfo::exists(env.standardDatei());
        QCOMPARE(standard ? Datei::tabellen(env.standardDatei()).size() : 0, brauchbar ? 0 : 5);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                 brauchbar ? QStringList{QStringLiteral("Weber")} : QStringList());
        QCOMPARE(letzteDatei(env), gemerkt);
        QCOMPARE(env.meldungen.size(), brauchbar ? 0 : 1);
        QVERIFY(brauchbar ||
                (env.meldungen.first().contains(env.standardDatei()) && env.meldungen.first().contains(gemerkt)));
        if (name == QLatin1String("spalte.db"))
            QVERIFY2(env.meldungen.first().contains(
                         QStringLiteral("Tabelle \u201Epatient\u201C fehlt die Spalte \u201Ebirth\u201C")),
                     qPrintable(env.meldungen.first()));
        // The file in use gains the indexes the program reads through, and
        // keeps its rows; any other is left byte for byte as it was.
        if (brauchbar)
            QCOMPARE(zeilenAllerTabellen(gemerkt), zeilenVorher);
        else
            QCOMPARE(inhalt(gemerkt), vorher);
        QCOMPARE(QFileInfo::exists(gemerkt), !vorher.isEmpty());
    }

    // Another program holds the file locked: a change fails after the wait,
    // is reported once, and the file keeps what it held.
    void gesperrteDateiWirdGemeldet()
    {
        Umgebung env;
        auto w = env.starten();
        {
            QSqlDatabase fremd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
            fremd.setDatabaseName(env.standardDatei());
            QVERIFY(fremd.open());
            QSqlQuery sperre(fremd);
            QVERIFY(sperre.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            DbSitzung db(*w);
            for (int mal = 0; mal < 2; ++mal)
                QVERIFY(!db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ramipril')")));
            QVERIFY(sperre.exec(QStringLiteral("ROLLBACK")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY2(
            env.meldungen.first().startsWith(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden.")) &&
                env.meldungen.first().contains(QStringLiteral("locked")),
            qPrintable(env.meldungen.first()));
        QCOMPARE(Datei::wert(env.standardDatei(), QStringLiteral("SELECT COUNT(*) FROM medikament")).toInt(), 0);
    }

    // The file removed while the program runs is reported, not created anew
    // empty (which every later start would then take for the user's data).
    void entfernteDateiWirdGemeldet()
    {
        Umgebung env;
        auto w = env.starten();
        QVERIFY(QFile::remove(env.standardDatei()));
        {
            DbSitzung db(*w);
            QVERIFY(!db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ramipril')")));
        }
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(QStringLiteral("gibt es nicht mehr")));
        QVERIFY(!QFileInfo::exists(env.standardDatei()));
    }

    void transaktionGanzOderGarNicht()
    {
        Umgebung env;
        auto w = env.starten();
        {
            DbSitzung db(*w);
            QVERIFY(!db.transaktion([&] {
                return db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('ASS')")) &&
                       db.aendern(QStringLiteral("INSERT INTO gibtsnicht (x) VALUES (1)"));
            }));
        }
        QCOMPARE(Datei::wert(env.standardDatei(), QStringLiteral("SELECT COUNT(*) FROM medikament")).toInt(), 0);
        QCOMPARE(env.meldungen.size(), 1);
    }
};

QTEST_MAIN(StartTest)
#include "tst_start.moc"
