// Start-up: settings file, database file, schema, fallbacks and failures.
#include "testhilfe.h"

#include "storage/datenbankzugriff.h"

#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <thread>

namespace {

QString letzteDatei(const Umgebung &env)
{
    QSettings s(env.konfiguration(), QSettings::IniFormat);
    return s.value(QStringLiteral("pfade/letzteDatei")).toString();
}

const QStringList fuenfTabellen{QStringLiteral("einnahme"), QStringLiteral("medikament"), QStringLiteral("patient"),
                                QStringLiteral("sorte"), QStringLiteral("termine")};

} // namespace

class StartTest : public QObject
{
    Q_OBJECT
private slots:
    void ersterStart()
    {
        Umgebung env;
        QVERIFY(!QFileInfo::exists(env.konfiguration()));
        auto w = env.starten();

        QCOMPARE(letzteDatei(env), env.standardDatei());
        QCOMPARE(Datei::tabellen(env.standardDatei()), fuenfTabellen);
        QCOMPARE(Datei::wert(env.standardDatei(),
                             QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'patient'")).toString(),
                 QStringLiteral("CREATE TABLE patient (id INTEGER PRIMARY KEY AUTOINCREMENT, firstname VARCHAR (30), "
                                "lastname VARCHAR (30), birth DATE, plz CHAR (10), ort VARCHAR (30), "
                                "strasse VARCHAR (30), nr VARCHAR (10) )"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
        QVERIFY(env.meldungen.isEmpty());
        QCOMPARE(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl"))->rowCount(), 0);
    }

    void zweiterStartLiestNur()
    {
        Umgebung env;
        env.starten().reset();
        const QDateTime geschrieben = QFileInfo(env.konfiguration()).lastModified();
        const QByteArray inhalt = [&] {
            QFile f(env.konfiguration());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO patient (firstname, lastname, birth) "
                                                              "VALUES ('Erika', 'Muster', '01.02.1940')"));
        auto w = env.starten();
        QFile f(env.konfiguration());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), inhalt);
        QCOMPARE(QFileInfo(env.konfiguration()).lastModified(), geschrieben);
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                 QStringList{QStringLiteral("Muster")});
        QVERIFY(env.meldungen.isEmpty());
    }

    void gemerkteDateiAnderswo()
    {
        Umgebung env;
        const QString anderswo = env.basis() + QStringLiteral("/Praxis Daten/pflege.db");
        env.datenbankAnlegen(anderswo);
        Datei::ausfuehren(anderswo, QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Hans', 'Weber')"));
        env.letzteDateiSetzen(anderswo);
        auto w = env.starten();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + anderswo);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1),
                 QStringList{QStringLiteral("Weber")});
        QVERIFY(!QFileInfo::exists(env.standardDatei()));
        QVERIFY(env.meldungen.isEmpty());
    }

    void unbrauchbareGemerkteDatei_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("fehlt") << "fehlt";
        QTest::newRow("leer") << "leer";
        QTest::newRow("kein SQLite") << "text";
        QTest::newRow("fremde Datenbank") << "fremd";
    }
    void unbrauchbareGemerkteDatei()
    {
        QFETCH(QString, fall);
        Umgebung env;
        QString gemerkt = env.basis() + QStringLiteral("/usb/medidat.db");
        QDir().mkpath(env.basis() + QStringLiteral("/usb"));
        QByteArray vorher;
        if (fall == QLatin1String("leer")) {
            gemerkt.clear();
        } else if (fall == QLatin1String("text")) {
            QFile f(gemerkt);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Einkaufsliste: Brot, Milch\n");
        } else if (fall == QLatin1String("fremd")) {
            Datei::ausfuehren(gemerkt, QStringLiteral("CREATE TABLE kunden (id INTEGER, name TEXT)"));
        }
        if (QFileInfo::exists(gemerkt)) {
            QFile f(gemerkt);
            QVERIFY(f.open(QIODevice::ReadOnly));
            vorher = f.readAll();
        }
        env.letzteDateiSetzen(gemerkt);

        auto w = env.starten();
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + env.standardDatei());
        QCOMPARE(Datei::tabellen(env.standardDatei()), fuenfTabellen);
        QCOMPARE(letzteDatei(env), gemerkt);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(env.standardDatei()));
        if (!gemerkt.isEmpty())
            QVERIFY(env.meldungen.first().contains(gemerkt));
        // The user's file is never changed, let alone given tables.
        if (!vorher.isEmpty()) {
            QFile f(gemerkt);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), vorher);
        } else if (!gemerkt.isEmpty()) {
            QVERIFY(!QFileInfo::exists(gemerkt));
        }
    }

    void gesperrteDateiWirdGemeldet()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        env.letzteDateiSetzen(env.standardDatei());
        auto w = env.starten();

        // Another program holds the file locked: a change fails after the
        // wait, is reported once, and the file keeps what it held.
        QSqlDatabase fremd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
        fremd.setDatabaseName(env.standardDatei());
        QVERIFY(fremd.open());
        QSqlQuery sperre(fremd);
        QVERIFY(sperre.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        DbSitzung db(*w);
        QVERIFY(!db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES (:m)"), {{QStringLiteral(":m"), QStringLiteral("Ramipril")}}));
        QVERIFY(!db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES (:m)"), {{QStringLiteral(":m"), QStringLiteral("Ramipril")}}));
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().startsWith(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden.")));
        QVERIFY(env.meldungen.first().contains(QStringLiteral("locked")));

        QVERIFY(sperre.exec(QStringLiteral("ROLLBACK")));
        sperre.finish();
        fremd.close();
        fremd = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
        QCOMPARE(Datei::wert(env.standardDatei(), QStringLiteral("SELECT COUNT(*) FROM medikament")).toInt(), 0);
    }

    void kurzeSperreWirdAbgewartet()
    {
        Umgebung env;
        DbSitzung::wartezeitMs = 3000;
        auto w = env.starten();
        std::thread anderer([pfad = env.standardDatei()] {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("anderer"));
            db.setDatabaseName(pfad);
            db.open();
            {
                QSqlQuery q(db);
                q.exec(QStringLiteral("BEGIN EXCLUSIVE"));
                QThread::msleep(300);
                q.exec(QStringLiteral("COMMIT"));
            }
            db.close();
        });
        QThread::msleep(50);
        DbSitzung db(*w);
        const bool gespeichert = db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('ASS')"));
        anderer.join();
        QSqlDatabase::removeDatabase(QStringLiteral("anderer"));
        QVERIFY(gespeichert);
        QVERIFY(env.meldungen.isEmpty());
    }

    void transaktionGanzOderGarNicht()
    {
        Umgebung env;
        auto w = env.starten();
        {
            DbSitzung db(*w);
            const bool ok = db.transaktion([&] {
                return db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('ASS')")) &&
                       db.aendern(QStringLiteral("INSERT INTO gibtsnicht (x) VALUES (1)"));
            });
            QVERIFY(!ok);
        }
        QCOMPARE(Datei::wert(env.standardDatei(), QStringLiteral("SELECT COUNT(*) FROM medikament")).toInt(), 0);
        QCOMPARE(env.meldungen.size(), 1);
        {
            DbSitzung db(*w);
            QVERIFY(db.transaktion([&] {
                return db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('ASS')")) &&
                       db.aendern(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ramipril')"));
            }));
        }
        QCOMPARE(Datei::wert(env.standardDatei(), QStringLiteral("SELECT COUNT(*) FROM medikament")).toInt(), 2);
    }

    void fehlgeschlagenesLesenLaesstAnsichtLeer()
    {
        Umgebung env;
        const QString kaputt = env.basis() + QStringLiteral("/halb.db");
        env.datenbankAnlegen(kaputt);
        env.letzteDateiSetzen(kaputt);
        auto w = env.starten();
        Datei::ausfuehren(kaputt, QStringLiteral("DROP TABLE patient"));
        DbSitzung db(*w);
        bool ok = true;
        QVERIFY(db.lesen(QStringLiteral("SELECT * FROM patient"), {}, &ok).isEmpty());
        QVERIFY(!ok);
        db.lesen(QStringLiteral("SELECT * FROM patient"));
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().startsWith(QStringLiteral("Die Daten konnten nicht gelesen werden.")));
    }
};

QTEST_MAIN(StartTest)
#include "tst_start.moc"
