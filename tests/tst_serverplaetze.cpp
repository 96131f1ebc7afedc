// SPDX-License-Identifier: GPL-3.0-or-later
// Several seats on one server database, driven through their windows:
// connecting, the connection remembered, one seat's change shown on the
// other, conflicts between seats and a connection lost mid-change. Runs
// under pg_virtualenv like the server's other tests and is skipped without.
#include "fensterhilfe.h"
#include "serverhilfe.h"

#include <QComboBox>
#include <QSettings>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

namespace {

// The history's entries; none while the table was never needed.
int verlaufZeilen(Blick &b)
{
    if (b.wert(QStringLiteral("SELECT to_regclass('verlauf') IS NULL")).toBool())
        return 0;
    return b.wert(QStringLiteral("SELECT count(*) FROM verlauf")).toInt();
}

// Ends every other connection to the test's database, as a server restart
// would, and waits until the server has let them go, without running the
// event loop (the seats must not notice before they use them).
void trennen(Blick &b)
{
    const QString andere = QStringLiteral(
        "FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()");
    b.zeilen(QStringLiteral("SELECT pg_terminate_backend(pid) ") + andere);
    for (int i = 0; i < 100 && b.wert(QStringLiteral("SELECT count(*) ") + andere).toInt() > 0; ++i)
        QThread::msleep(20);
}

// What the window's fields are filled with: the throwaway cluster's
// address, which pg_virtualenv sets.
struct Eingabe {
    QString host = qEnvironmentVariable("PGHOST");
    int port = qEnvironmentVariableIntValue("PGPORT");
    QString datenbank;
    QString benutzer = qEnvironmentVariable("PGUSER");
    QString passwort = qEnvironmentVariable("PGPASSWORD");
};

void eintragen(QDialog *d, const Eingabe &e)
{
    tippen(teil<QLineEdit>(d, "serverHost"), e.host);
    teil<QSpinBox>(d, "serverPort")->setValue(e.port);
    tippen(teil<QLineEdit>(d, "serverDatenbank"), e.datenbank);
    tippen(teil<QLineEdit>(d, "serverBenutzer"), e.benutzer);
    tippen(teil<QLineEdit>(d, "serverPasswort"), e.passwort);
    druecken(d, "Verbinden");
}

} // namespace

class ServerplaetzeTest : public QObject
{
    Q_OBJECT

    QString datenbank;

    Eingabe eingabe() const
    {
        Eingabe e;
        e.datenbank = datenbank;
        return e;
    }
    // "Datei" → "Mit Server verbinden...", filled in and confirmed; whether
    // the window closed (it stays open when the connection failed).
    bool verbinden(Welt &t, const Eingabe &e)
    {
        bool offen = true;
        imFenster([&] { menue(t.w.get(), QStringLiteral("aktionServerVerbinden")); },
                  [&](QDialog *d) {
                      eintragen(d, e);
                      offen = d->isVisible();
                  });
        return !offen;
    }
    QString titel() const
    {
        return QStringLiteral("Kalvoria - %1 auf %2:%3")
            .arg(datenbank, qEnvironmentVariable("PGHOST"), qEnvironmentVariable("PGPORT"));
    }
    // A patient with one line of 20 units counted today, taken 1 a day.
    int zeileAnlegen(Blick &b)
    {
        b.zeilen(QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Anna', 'Berg')"));
        b.zeilen(QStringLiteral("INSERT INTO medikament (medizin) VALUES ('Ramipril')"));
        b.zeilen(QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES "
                                "((SELECT max(id) FROM medikament), 'Ramilich 5', '5 mg', 20)"));
        const int id =
            b
                .wert(QStringLiteral(
                    "INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung) "
                    "VALUES ((SELECT max(id) FROM patient), (SELECT max(id) FROM sorte), '2026-12-06', 20, 1, 0, 0, 0, "
                    "0, "
                    "1) RETURNING id"))
                .toInt();
        // As another seat tells what it wrote.
        b.zeilen(QStringLiteral("SELECT pg_notify('kalvoria', 'einnahme,medikament,patient,sorte')"));
        return id;
    }

    // A window connected through its menu to the database, where another seat
    // then writes a line; shown with its patient and line chosen. The line's key.
    int mitZeileVerbinden(Welt &t, Blick &b)
    {
        t.starten();
        if (!verbinden(t, eingabe()))
            fehlschlag(QStringLiteral("not connected"));
        const int zeile = zeileAnlegen(b);
        if (!QTest::qWaitFor([&] { return t.tabelle("tabellePatientenwahl")->rowCount() == 1; }, 1000))
            fehlschlag(QStringLiteral("the other seat's patient is not shown"));
        t.patientWaehlen(QStringLiteral("Berg"));
        t.zeileWaehlen(0);
        return zeile;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KALVORIA_TESTSERVER") || !QSqlDatabase::isDriverAvailable("QPSQL"))
            QSKIP("No throwaway PostgreSQL cluster (scripts/install-deps.sh --server installs one)");
    }
    void init()
    {
        datenbank = QStringLiteral("kalvoria_") + QUuid::createUuid().toString(QUuid::Id128);
        Blick verwaltung(QString{});
        verwaltung.zeilen(QStringLiteral("CREATE DATABASE %1").arg(datenbank));
    }
    void cleanup()
    {
        Blick verwaltung(QString{});
        verwaltung.zeilen(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(datenbank));
    }

    // An empty database gets the program's tables; the window names it, and
    // the next start connects to it again, without a password stored.
    void verbindenUndWiederkommen()
    {
        Welt t;
        t.starten();
        QVERIFY(verbinden(t, eingabe()));
        QCOMPARE(t.w->windowTitle(), titel());
        Blick b(datenbank);
        QCOMPARE(b.wert(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_name IN "
                                       "('patient', 'medikament', 'sorte', 'einnahme', 'termine')"))
                     .toInt(),
                 5);
        QCOMPARE(t.env.meldungen, QStringList());
        QVERIFY(!Datei::inhalt(t.env.konfiguration()).contains(qgetenv("PGPASSWORD")));
        t.w.reset();

        t.starten();
        QCOMPARE(t.w->windowTitle(), titel());
        // A file chosen afterwards is the one remembered again.
        const QString anderes = t.env.basis() + QStringLiteral("/anderes.db");
        t.env.datenbankAnlegen(anderes);
        QVERIFY2(t.w->datenbankOeffnen(anderes), qPrintable(t.env.meldungen.join("|") + t.env.fragen.join("|")));
        t.w.reset();
        t.starten();
        QCOMPARE(t.w->windowTitle(), QStringLiteral("Kalvoria - ") + anderes);
    }

    // A connection that fails is told once, and nothing is remembered.
    void verbindungScheitert_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("passwort");
        QTest::newRow("falsches Passwort")
            << qEnvironmentVariable("PGHOST") << qEnvironmentVariableIntValue("PGPORT") << QStringLiteral("falsch");
        QTest::newRow("kein Server") << QStringLiteral("127.0.0.1") << 1 << QString();
    }
    void verbindungScheitert()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, passwort);
        Welt t;
        t.starten();
        Eingabe e = eingabe();
        e.host = host;
        e.port = port;
        e.passwort = passwort;
        QVERIFY(!verbinden(t, e));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.meldungen.value(0).startsWith(QStringLiteral("Mit dem Server konnte keine Verbindung")));
        QCOMPARE(t.w->windowTitle(), QStringLiteral("Kalvoria - ") + t.f);
        QVERIFY(!Datei::inhalt(t.env.konfiguration()).contains("serverDatenbank"));
    }

    // A database with other tables is refused like a foreign file.
    void fremdeDatenbank()
    {
        Blick(datenbank).zeilen(QStringLiteral("CREATE TABLE kunden (id INTEGER)"));
        Welt t;
        t.starten();
        QVERIFY(!verbinden(t, eingabe()));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.meldungen.value(0).contains(QStringLiteral("keine Kalvoria-Datenbank")));
        QCOMPARE(t.w->windowTitle(), QStringLiteral("Kalvoria - ") + t.f);
    }

    // A booking on one seat shows on the other within a second, which keeps
    // its chosen patient and line.
    void aenderungErreichtDenAnderenPlatz()
    {
        Welt t;
        Blick b(datenbank);
        const int zeile = mitZeileVerbinden(t, b);
        std::unique_ptr<MainWindow> zweiter = t.env.starten();
        std::swap(t.w, zweiter);
        t.patientWaehlen(QStringLiteral("Berg"));
        t.zeileWaehlen(0);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterPackungen"), "2");
            druecken(d, "Eintragen");
        }));
        std::swap(t.w, zweiter);
        QCOMPARE(b.wert(QStringLiteral("SELECT stand FROM einnahme WHERE id = ?"), {zeile}).toDouble(), 60.0);
        QTRY_COMPARE_WITH_TIMEOUT(t.text("detailBestand"), QStringLiteral("60"), 1000);
        QCOMPARE(t.tabelle("tabelleZuordnung")->currentRow(), 0);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A line another seat deleted while the booking window was open: nothing
    // is booked, and the user is told.
    void buchungAufGeloeschteZeile()
    {
        Blick b(datenbank);
        Welt t;
        const int zeile = mitZeileVerbinden(t, b);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            b.zeilen(QStringLiteral("DELETE FROM einnahme WHERE id = ?"), {zeile});
            tippen(teil<QLineEdit>(d, "fensterPackungen"), "2");
            druecken(d, "Eintragen");
        }));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY(t.env.meldungen.value(0).contains(QStringLiteral("inzwischen")));
        QCOMPARE(b.wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 0);
        QCOMPARE(verlaufZeilen(b), 0);
    }

    // A transaction the server refuses because another seat changed what it
    // read runs once more on what that seat stored; refused again, it is
    // reported once and nothing of it stays.
    void serialisierungsfehlerWirdWiederholt_data()
    {
        QTest::addColumn<int>("stoerungen");
        QTest::addColumn<int>("versuche");
        QTest::addColumn<double>("stand");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("einmal") << 1 << 2 << 31.0 << 0;
        QTest::newRow("immer") << 2 << 2 << 22.0 << 1;
    }
    void serialisierungsfehlerWirdWiederholt()
    {
        QFETCH(int, stoerungen);
        QFETCH(int, versuche);
        QFETCH(double, stand);
        QFETCH(int, meldungen);
        Platz platz(Datenbankart::postgres, datenbank);
        {
            DbSitzung db(platz);
            QVERIFY(tabellenAnlegen(db));
        }
        Blick b(datenbank);
        const int zeile = zeileAnlegen(b);
        int gelaufen = 0;
        {
            DbSitzung db(platz);
            db.transaktion([&] {
                ++gelaufen;
                const Werte id{{QStringLiteral(":id"), zeile}};
                const double vorher = db.lesen(QStringLiteral("SELECT stand FROM einnahme WHERE id = :id"), id)
                                          .value(0)
                                          .value(0)
                                          .toDouble();
                if (gelaufen <= stoerungen)
                    b.zeilen(QStringLiteral("UPDATE einnahme SET stand = stand + 1 WHERE id = ?"), {zeile});
                return db.aendernZeile(QStringLiteral("UPDATE einnahme SET stand = :stand WHERE id = :id"),
                                       {{QStringLiteral(":stand"), vorher + 10}, {QStringLiteral(":id"), zeile}});
            });
        }
        QCOMPARE(gelaufen, versuche);
        QCOMPARE(b.wert(QStringLiteral("SELECT stand FROM einnahme WHERE id = ?"), {zeile}).toDouble(), stand);
        QCOMPARE(platz.fehler.size(), meldungen);
    }

    // Lost while the window waited (a server restart, the network gone for
    // a while), the connection is made anew by the next command, which is
    // stored, and the views are read anew for what other seats did meanwhile.
    void verbindungWirdNeuHergestellt()
    {
        Blick b(datenbank);
        Welt t;
        const int zeile = mitZeileVerbinden(t, b);
        trennen(b);
        b.zeilen(QStringLiteral("UPDATE einnahme SET stand = 7 WHERE id = ?"), {zeile});
        QTest::qWait(100);
        QVERIFY(oeffnen(t, "knopfApotheke", [&](QDialog *d) {
            tippen(teil<QLineEdit>(d, "fensterPackungen"), "1");
            druecken(d, "Eintragen");
        }));
        QCOMPARE(t.env.meldungen, QStringList());
        QCOMPARE(b.wert(QStringLiteral("SELECT stand FROM einnahme WHERE id = ?"), {zeile}).toDouble(), 27.0);
        QTRY_COMPARE_WITH_TIMEOUT(t.text("detailBestand"), QStringLiteral("27"), 1000);
    }

    // Lost in the middle of a change: nothing of it is stored, and the one
    // message says so; the next change connects anew.
    void verbindungReisstMittenInDerAenderung()
    {
        Platz platz(Datenbankart::postgres, datenbank);
        {
            DbSitzung db(platz);
            QVERIFY(tabellenAnlegen(db));
        }
        Blick b(datenbank);
        const int zeile = zeileAnlegen(b);
        const auto aendern = [&](DbSitzung &db, double stand) {
            return db.aendernZeile(QStringLiteral("UPDATE einnahme SET stand = :stand WHERE id = :id"),
                                   {{QStringLiteral(":stand"), stand}, {QStringLiteral(":id"), zeile}});
        };
        {
            DbSitzung db(platz);
            QVERIFY(!db.transaktion([&] {
                const bool erste = aendern(db, 30);
                trennen(b);
                return erste && aendern(db, 40);
            }));
        }
        QCOMPARE(platz.fehler.size(), 1);
        QVERIFY(platz.fehler.value(0).startsWith(QStringLiteral("Die Verbindung zum Server")));
        QVERIFY(platz.fehler.value(0).contains(QStringLiteral("nicht gespeichert, auch nicht zum Teil")));
        QCOMPARE(b.wert(QStringLiteral("SELECT stand FROM einnahme WHERE id = ?"), {zeile}).toDouble(), 20.0);

        DbSitzung db(platz);
        QVERIFY(db.transaktion([&] { return aendern(db, 50); }));
        QCOMPARE(b.wert(QStringLiteral("SELECT stand FROM einnahme WHERE id = ?"), {zeile}).toDouble(), 50.0);
        QCOMPARE(platz.fehler.size(), 1);
    }
};

QTEST_MAIN(ServerplaetzeTest)
#include "tst_serverplaetze.moc"
