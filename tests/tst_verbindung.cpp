// SPDX-License-Identifier: GPL-3.0-or-later
// The database helper on a connection of its own, without any window: what
// it reports goes through DbVerbindung's two calls and nowhere else.
#include "testhilfe.h"

#include "app/programm.h"
#include "storage/datenbankzugriff.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Counts what the helper reports instead of showing it.
class Aufzeichnung : public DbVerbindung
{
public:
    explicit Aufzeichnung(const QString &pfad) { datenbankDatei = pfad; }

    QStringList fehler;
    int konflikte = 0;

protected:
    void datenbankFehler(const QString &text) override { fehler << text; }
    void datenbankKonflikt() override { ++konflikte; }
};

const QString einfuegen = QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ramipril')");

} // namespace

class VerbindungTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Umgebung> env;
    QString pfad;

private slots:
    void init()
    {
        env = std::make_unique<Umgebung>();
        pfad = env->basis() + "/eigen.db";
        env->datenbankAnlegen(pfad);
        Datei::ausfuehren(pfad, "INSERT INTO medikament (id, medizin) VALUES (1, 'Ramipril')");
    }
    void cleanup() { env.reset(); }

    // The change that finds its row is stored and reports nothing.
    void vorhandeneZeileWirdGeaendert()
    {
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            QVERIFY(db.aendernZeile("UPDATE medikament SET medizin = 'ASS' WHERE id = :id", {{":id", 1}}));
        }
        QCOMPARE(Datei::wert(pfad, "SELECT medizin FROM medikament WHERE id = 1").toString(), "ASS");
        QCOMPARE(v.konflikte, 0);
        QCOMPARE(v.fehler, QStringList());
    }

    // A change meant for a row that is not there wrote nothing: one
    // conflict, reported when the session ends, and no failure.
    void fehlendeZeileIstEinKonflikt()
    {
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            QVERIFY(!db.aendernZeile("UPDATE medikament SET medizin = 'ASS' WHERE id = :id", {{":id", 99}}));
            QCOMPARE(v.konflikte, 0);
        }
        QCOMPARE(v.konflikte, 1);
        QCOMPARE(v.fehler, QStringList());
    }

    // A broken statement is one failure, however often it fails in the
    // session, and no conflict.
    void kaputteAnweisungIstEinFehler()
    {
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            QVERIFY(!db.aendern("INSERT INTO gibtsnicht (x) VALUES (1)"));
            QVERIFY(!db.aendern("INSERT INTO gibtsnicht (x) VALUES (2)"));
        }
        QCOMPARE(v.fehler.size(), 1);
        QVERIFY2(v.fehler.first().startsWith("Die \u00C4nderung konnte nicht gespeichert werden."),
                 qPrintable(v.fehler.first()));
        QCOMPARE(v.konflikte, 0);
    }

    // Another program holds the file locked: a change fails after the wait,
    // is reported once, and the file keeps what it held.
    void gesperrteDatei()
    {
        Aufzeichnung v(pfad);
        {
            QSqlDatabase fremd = QSqlDatabase::addDatabase("QSQLITE", "fremd");
            fremd.setDatabaseName(pfad);
            QVERIFY(fremd.open());
            QSqlQuery sperre(fremd);
            QVERIFY(sperre.exec("BEGIN EXCLUSIVE"));
            DbSitzung db(v);
            QVERIFY(!db.aendern(einfuegen));
            QVERIFY(!db.aendern(einfuegen));
            QVERIFY(sperre.exec("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase("fremd");
        QCOMPARE(v.fehler.size(), 1);
        QVERIFY2(v.fehler.first().contains("locked"), qPrintable(v.fehler.first()));
        QCOMPARE(Datei::wert(pfad, "SELECT count(*) FROM medikament").toInt(), 1);
    }

    // A read that fails is reported once, in the same words whether it
    // stepped through SQLite itself or took Qt's way.
    void kaputteLeseanweisungIstEinFehler()
    {
        QStringList gemeldet;
        for (bool direkt : {true, false}) {
            Aufzeichnung v(pfad);
            {
                DbSitzung db(v);
                DbSitzung::direktLesen = direkt;
                QCOMPARE(db.liestDirekt(), direkt && KALVORIA_SQLITE_DIREKT);
                QVERIFY(!db.durchlaufen("SELECT x FROM gibtsnicht", {}, [](const DbZeile &) {}));
                QVERIFY(!db.durchlaufen("SELECT x FROM gibtsnicht", {}, [](const DbZeile &) {}));
                DbSitzung::direktLesen = true;
            }
            QCOMPARE(v.fehler.size(), 1);
            gemeldet << v.fehler.first();
        }
        QVERIFY2(gemeldet.first().startsWith("Die Daten konnten nicht gelesen werden."), qPrintable(gemeldet.first()));
        QCOMPARE(gemeldet.first(), gemeldet.last());
    }

    // Another program holds the file locked: a read fails after the wait and
    // is reported once.
    void gesperrteDateiBeimLesen()
    {
        Aufzeichnung v(pfad);
        {
            QSqlDatabase fremd = QSqlDatabase::addDatabase("QSQLITE", "fremd");
            fremd.setDatabaseName(pfad);
            QVERIFY(fremd.open());
            QSqlQuery sperre(fremd);
            DbSitzung db(v);
            QCOMPARE(db.liestDirekt(), bool(KALVORIA_SQLITE_DIREKT));
            QVERIFY(sperre.exec("BEGIN EXCLUSIVE"));
            // The lock is taken on the first write.
            QVERIFY(sperre.exec("INSERT INTO medikament (medizin) VALUES ('ASS')"));
            int zeilen = 0;
            QVERIFY(!db.durchlaufen("SELECT medizin FROM medikament", {}, [&](const DbZeile &) { ++zeilen; }));
            QCOMPARE(zeilen, 0);
            QVERIFY(sperre.exec("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase("fremd");
        QCOMPARE(v.fehler.size(), 1);
        QVERIFY2(v.fehler.first().contains("locked"), qPrintable(v.fehler.first()));
    }

    // A connection closed within a session (the window closes it before it
    // removes its folder) fails the reads that follow and reports it once.
    void geschlosseneVerbindungBeimLesen()
    {
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            QVERIFY(db.liestDirekt() == bool(KALVORIA_SQLITE_DIREKT));
            db.verbindung().close();
            QVERIFY(!db.liestDirekt());
            QVERIFY(!db.durchlaufen("SELECT medizin FROM medikament", {}, [](const DbZeile &) {}));
        }
        QCOMPARE(v.fehler.size(), 1);
    }

    // The file removed meanwhile is reported, not created anew empty (which
    // every later start would then take for the user's data).
    void entfernteDatei()
    {
        Aufzeichnung v(pfad);
        QVERIFY(QFile::remove(pfad));
        {
            DbSitzung db(v);
            QVERIFY(!db.aendern(einfuegen));
        }
        QCOMPARE(v.fehler.size(), 1);
        QVERIFY2(v.fehler.first().contains("gibt es nicht mehr"), qPrintable(v.fehler.first()));
        QVERIFY(!QFileInfo::exists(pfad));
    }
};

QTEST_MAIN(VerbindungTest)
#include "tst_verbindung.moc"
