// SPDX-License-Identifier: GPL-3.0-or-later
// The database helper on a PostgreSQL server: the program's tables and its
// main statements, written through the helper and read back through a
// connection of the test's own. The tests' wrapper runs this program under
// pg_virtualenv, which starts a throwaway cluster and sets PGHOST, PGPORT,
// PGUSER and PGPASSWORD, and sets KALVORIA_TESTSERVER; without it (no
// PostgreSQL installed) every test is skipped, so that no real server a
// developer's environment names is ever written to.
#include "serverhilfe.h"
#include "testhilfe.h"

#include "appointments/hausarzt.h"
#include "bedarf/anforderungen.h"
#include "bmp/zusatztabellen.h"
#include "catalogue/katalog.h"
#include "intake/gespeichert.h"
#include "patients/patienten.h"
#include "server/uebertragen.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

namespace {

QStringList dateiSpalten(const QString &pfad, const QString &tabelle)
{
    QStringList namen;
    for (const QVariantList &z : Datei::zeilen(pfad, QStringLiteral("PRAGMA table_info(%1)").arg(tabelle)))
        namen << z.value(1).toString();
    return namen;
}

// The tables that are created when first needed, each through its own code.
bool zusatzAnlegen(DbSitzung &db, const QString &tabelle)
{
    if (tabelle == QLatin1String("verlauf"))
        return verlaufAnlegen(db);
    if (tabelle == QLatin1String("anforderung"))
        return anforderungenAnlegen(db);
    for (Zusatz z : {Zusatz::sortePzn, Zusatz::einnahmeBmp, Zusatz::planText}) {
        if (tabelle == QLatin1String(zusatzName(z)))
            return zusatzAnlegen(db, z);
    }
    return false;
}

// Puts a window's connection on a server database, as the dialog that
// connects to one does.
struct Aufschalten : DbVerbindung {
    static void server(MainWindow &w, const QString &datenbank)
    {
        Serverzugang zugang;
        zugang.datenbank = datenbank;
        (w.*(&Aufschalten::serverVerwenden))(zugang, QString());
        QMetaObject::invokeMethod(&w, "AllesEinlesen");
    }
};

// Every row of a file's table, each value with SQLite's type of it, so that
// 1, 1.0 and '1' differ and a real shows all its digits.
QStringList getreu(const QString &pfad, const QString &tabelle)
{
    if (tabelle == QLatin1String("sqlite_master")) {
        QStringList zeilen;
        for (const QVariantList &z :
             Datei::zeilen(pfad, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name")))
            zeilen << QVariant(z).toStringList().join(QLatin1Char('|'));
        return zeilen;
    }
    QStringList spalten;
    for (const QVariantList &z : Datei::zeilen(pfad, QStringLiteral("PRAGMA table_info(%1)").arg(tabelle)))
        spalten << QStringLiteral("typeof(%1), %1").arg(z.value(1).toString());
    QStringList zeilen;
    for (const QVariantList &z :
         Datei::zeilen(pfad, QStringLiteral("SELECT %1 FROM %2 ORDER BY 2").arg(spalten.join(", "), tabelle))) {
        QStringList werte;
        for (int i = 0; i + 1 < z.size(); i += 2) {
            const QString typ = z.value(i).toString();
            werte << typ + QLatin1Char(':') +
                         (typ == QLatin1String("real") ? QString::number(z.value(i + 1).toDouble(), 'g', 17)
                                                       : z.value(i + 1).toString());
        }
        zeilen << werte.join(QLatin1Char('|'));
    }
    return zeilen;
}

Werte patientWerte(const QString &name)
{
    return {{QStringLiteral(":firstname"), QStringLiteral("Erika")},
            {QStringLiteral(":lastname"), name},
            {QStringLiteral(":birth"), QStringLiteral("12.08.1931")},
            {QStringLiteral(":plz"), QStringLiteral("04109")},
            {QStringLiteral(":ort"), QStringLiteral("Leipzig")},
            {QStringLiteral(":strasse"), QString()},
            {QStringLiteral(":nr"), QString()}};
}

} // namespace

class ServerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Umgebung> env;
    QString datenbank;
    std::unique_ptr<Platz> platz;
    std::unique_ptr<Blick> blick;

    // The test's tables through the program's own code.
    void tabellen()
    {
        DbSitzung db(*platz);
        QVERIFY(tabellenAnlegen(db));
    }

    // A patient, a medication with one package of 20, and the package
    // assigned to the patient, each through the program's statement.
    struct Stamm {
        QVariant patient, medikament, sorte, einnahme;
    };
    Stamm stammAnlegen()
    {
        Stamm s;
        DbSitzung db(*platz);
        db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(QStringLiteral("Becker")), &s.patient);
        db.aendern(QString::fromLatin1(medikamentEinfuegen), {{QStringLiteral(":medizin"), QStringLiteral("Ramipril")}},
                   &s.medikament);
        db.aendernZeile(QString::fromLatin1(sorteEinfuegen),
                        {{QStringLiteral(":medizin_id"), s.medikament},
                         {QStringLiteral(":hname"), QStringLiteral("Ramipril 5")},
                         {QStringLiteral(":dosis"), QStringLiteral("5 mg")},
                         {QStringLiteral(":packung"), 20.0},
                         {QStringLiteral(":m2"), s.medikament}},
                        &s.sorte);
        db.aendernZeile(QString::fromLatin1(einnahmeEinfuegen),
                        {{QStringLiteral(":pat_id"), s.patient.toString()},
                         {QStringLiteral(":med_id"), s.sorte},
                         {QStringLiteral(":tag"), QDate(2026, 12, 7)},
                         {QStringLiteral(":stand"), 20.0},
                         {QStringLiteral(":morgen"), 1.5},
                         {QStringLiteral(":mittag"), 0.0},
                         {QStringLiteral(":abend"), 1.0},
                         {QStringLiteral(":nacht"), 0.0},
                         {QStringLiteral(":hilfe"), true},
                         {QStringLiteral(":ordnung"), 1},
                         {QStringLiteral(":pat_da"), s.patient.toString()},
                         {QStringLiteral(":med_da"), s.sorte}},
                        &s.einnahme);
        return s;
    }

    // A file with every table of the program and the values a copy must
    // keep: NULL, umlauts, empty texts, large keys with gaps, a key deleted
    // at the end, a number in a date column, reals of every digit, history.
    void seltsameDatei(const QString &pfad)
    {
        env->datenbankAnlegen(pfad);
        {
            Platz datei(Datenbankart::sqlite, pfad);
            DbSitzung db(datei);
            for (const char *t : {"verlauf", "anforderung", "sorte_pzn", "einnahme_bmp", "plan_text"})
                QVERIFY(zusatzAnlegen(db, QString::fromLatin1(t)));
        }
        const QVariant leer = QString(QLatin1String(""));
        const QList<QPair<const char *, QVariantList>> zeilen = {
            {"INSERT INTO patient VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
             {1, "J\u00FCrgen", "M\u00FCller-L\u00FCdenscheidt", leer, QVariant(), "K\u00F6ln", leer, "12a"}},
            {"INSERT INTO patient VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
             {1000000, QVariant(), "\u00D6zt\u00FCrk", "1931-08-12", "04109", QVariant(), QVariant(), QVariant()}},
            {"INSERT INTO patient (id, lastname) VALUES (?, ?)", {1000001, "Weg"}},
            {"DELETE FROM patient WHERE id = ?", {1000001}},
            {"INSERT INTO medikament VALUES (?, ?)", {3, "Ramipril"}},
            {"INSERT INTO medikament VALUES (?, ?)", {7, leer}},
            {"INSERT INTO sorte VALUES (?, ?, ?, ?, ?)", {2, 3, "Ramipril 5", "5 mg", 20.0}},
            {"INSERT INTO sorte VALUES (?, ?, ?, ?, ?)", {9, 3, "Ramipril \u00DF", QVariant(), 2.5}},
            {"INSERT INTO einnahme VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {5, 1, 2, "2026-12-07", 12.5, 0.1 + 0.2, QVariant(), 1.0, 0.0, 1, 3}},
            {"INSERT INTO einnahme VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {6, 1000000, 9, 20261207, 1.0 / 3, 0.5, 1e-7, 0.0, QVariant(), 0, QVariant()}},
            {"INSERT INTO termine VALUES (?, ?, ?, ?)", {4, 1, "Hausarzt", "2026-12-20"}},
            {"INSERT INTO termine VALUES (?, ?, ?, ?)", {8, 1000000, "Dr. Wei\u00DF", leer}},
            {"INSERT INTO verlauf (id, zeit, art, pat_id, patient, betrifft, alt, neu, benutzer) VALUES (?, ?, ?, ?, "
             "?, ?, ?, ?, ?)",
             {1, "2026-12-07 09:30:00", Verlaufsart::patientAngelegt, 1, "M\u00FCller-L\u00FCdenscheidt, J\u00FCrgen",
              "J\u00FCrgen", leer, "Name: M\u00FCller", "pflegekraft"}},
            {"INSERT INTO verlauf (id, zeit, art, einnahme_id, neu) VALUES (?, ?, ?, ?, ?)",
             {40, "2026-12-07 09:31:00", Verlaufsart::bestandGezaehlt, 5, "12,5"}},
            {"INSERT INTO anforderung VALUES (?, ?, ?, ?)", {1, 5, "2026-12-01", QVariant()}},
            {"INSERT INTO sorte_pzn VALUES (?, ?)", {2, "01234567"}},
            {"INSERT INTO einnahme_bmp VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {5, "bei Bedarf", 1, QVariant(), "St\u00FCck", "Tabl", "n\u00FCchtern", "Blutdruck", leer, "Herz"}},
            {"INSERT INTO plan_text VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
             {1, 1, 0, 1, "X", "Viel trinken \u2013 t\u00E4glich", QVariant(), leer}},
        };
        for (const auto &z : zeilen)
            Datei::ausfuehren(pfad, QString::fromUtf8(z.first), z.second);
    }

    Kopie aufDenServer(const QString &pfad)
    {
        DbSitzung db(*platz);
        return dateiAufServer(pfad, db.verbindung());
    }

    Kopie alsDatei(const QString &pfad)
    {
        DbSitzung db(*platz);
        return serverAlsDatei(db.verbindung(), pfad, false);
    }

    int tabellenAufDemServer()
    {
        return blick
            ->wert(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                                  "current_schema()"))
            .toInt();
    }

    // A window of the program on the test's server database.
    std::unique_ptr<MainWindow> fensterAufDemServer()
    {
        auto w = env->starten();
        Aufschalten::server(*w, datenbank);
        env->meldungen.clear();
        return w;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KALVORIA_TESTSERVER") || !QSqlDatabase::isDriverAvailable("QPSQL"))
            QSKIP("No throwaway PostgreSQL cluster (scripts/install-deps.sh --server installs one)");
    }

    // Each test on a database of its own, sorting texts by German rules as
    // a server set up in German would, so that the tables' own byte order
    // is what the tests see.
    void init()
    {
        env = std::make_unique<Umgebung>();
        datenbank = QStringLiteral("kalvoria_") + QUuid::createUuid().toString(QUuid::Id128);
        {
            Blick verwaltung(QString{});
            QVERIFY2(verwaltung.ausfuehren(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 LOCALE_PROVIDER icu "
                                                          "ICU_LOCALE 'de-DE' LOCALE 'C.UTF-8'")
                                               .arg(datenbank)),
                     qPrintable(verwaltung.fehler));
        }
        platz = std::make_unique<Platz>(Datenbankart::postgres, datenbank);
        blick = std::make_unique<Blick>(datenbank);
    }
    void cleanup()
    {
        platz.reset();
        blick.reset();
        if (!datenbank.isEmpty()) {
            Blick verwaltung(QString{});
            verwaltung.ausfuehren(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(datenbank));
        }
        env.reset();
    }

    // The five tables on the server have the columns, in order, that the
    // program gives a new file.
    void tabellenWieInDerDatei_data()
    {
        QTest::addColumn<QString>("tabelle");
        for (const char *t : {"patient", "medikament", "sorte", "einnahme", "termine"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void tabellenWieInDerDatei()
    {
        QFETCH(QString, tabelle);
        tabellen();
        const QString pfad = env->basis() + QStringLiteral("/neu.db");
        Platz datei(Datenbankart::sqlite, pfad);
        {
            DbSitzung db(datei, true);
            QVERIFY(tabellenAnlegen(db));
        }
        QCOMPARE(blick->spalten(tabelle), dateiSpalten(pfad, tabelle));
    }

    // So have the tables created when first needed, each by its own code.
    void zusatztabellenWieInDerDatei_data()
    {
        QTest::addColumn<QString>("tabelle");
        for (const char *t : {"verlauf", "anforderung", "sorte_pzn", "einnahme_bmp", "plan_text"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void zusatztabellenWieInDerDatei()
    {
        QFETCH(QString, tabelle);
        const QString pfad = env->basis() + QStringLiteral("/neu.db");
        env->datenbankAnlegen(pfad);
        Platz datei(Datenbankart::sqlite, pfad);
        tabellen();
        for (Platz *p : {platz.get(), &datei}) {
            DbSitzung db(*p);
            QVERIFY(db.transaktion([&] { return zusatzAnlegen(db, tabelle); }));
        }
        QCOMPARE(blick->spalten(tabelle), dateiSpalten(pfad, tabelle));
    }

    // Creating the tables again leaves a database that has them as it is.
    void tabellenAnlegenBehaeltDaten()
    {
        tabellen();
        stammAnlegen();
        tabellen();
        QCOMPARE(blick->wert(QStringLiteral("SELECT count(*) FROM einnahme")).toInt(), 1);
    }

    // The helper tells the new row's key, which the server gives.
    void neueIdIstDieDerZeile()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        QCOMPARE(s.patient.toInt(), blick->wert(QStringLiteral("SELECT id FROM patient")).toInt());
    }

    // A key once given is not given again, as with SQLite's AUTOINCREMENT.
    void geloeschteIdKommtNichtWieder()
    {
        tabellen();
        QVariant erste, zweite;
        DbSitzung db(*platz);
        db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(QStringLiteral("Becker")), &erste);
        db.aendern(QStringLiteral("DELETE FROM patient WHERE id=:id"), {{QStringLiteral(":id"), erste}});
        db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(QStringLiteral("Schulz")), &zweite);
        QVERIFY(zweite.toInt() > erste.toInt());
    }

    // An insert whose rows are gone stores nothing, tells no key and is
    // one conflict.
    void einfuegenOhneZeileIstKonflikt()
    {
        tabellen();
        QVariant neu = 1;
        {
            DbSitzung db(*platz);
            QVERIFY(!db.aendernZeile(QString::fromLatin1(sorteEinfuegen),
                                     {{QStringLiteral(":medizin_id"), 7},
                                      {QStringLiteral(":hname"), QStringLiteral("Ramipril 5")},
                                      {QStringLiteral(":dosis"), QStringLiteral("5 mg")},
                                      {QStringLiteral(":packung"), 20.0},
                                      {QStringLiteral(":m2"), 7}},
                                     &neu));
        }
        QCOMPARE(platz->konflikte, 1);
        QVERIFY(neu.isNull());
        QCOMPARE(blick->wert(QStringLiteral("SELECT count(*) FROM sorte")).toInt(), 0);
        QCOMPARE(platz->fehler, QStringList());
    }

    void patientWirdAngelegt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        QCOMPARE(blick->wert(QStringLiteral("SELECT lastname FROM patient WHERE id = %1").arg(s.patient.toInt())),
                 QVariant(QStringLiteral("Becker")));
        QCOMPARE(blick->wert(QStringLiteral("SELECT birth FROM patient")), QVariant(QStringLiteral("12.08.1931")));
    }

    // Texts are not cut or refused at the length the file's columns name,
    // which SQLite never enforced.
    void langerNameBleibtGanz()
    {
        tabellen();
        const QString name = QStringLiteral("Schmidt-Leutheusser-Sch\u00F6nberger-Wendt");
        {
            DbSitzung db(*platz);
            QVERIFY(db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(name)));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT lastname FROM patient")), QVariant(name));
    }

    // Checks inside a transaction hold until it ends: the server runs it
    // serializable, as SQLite's write lock does.
    void transaktionIstSerialisierbar()
    {
        tabellen();
        QVariant stufe;
        {
            DbSitzung db(*platz);
            db.transaktion([&] {
                stufe = db.lesen(QStringLiteral("SHOW transaction_isolation")).value(0).value(0);
                return true;
            });
        }
        QCOMPARE(stufe, QVariant(QStringLiteral("serializable")));
    }

    // An unknown birthday is stored as the empty text, as in a file.
    void unbekannterGeburtstagIstLeer()
    {
        tabellen();
        Werte werte = patientWerte(QStringLiteral("Becker"));
        werte[2].second = QString(QLatin1String(""));
        {
            DbSitzung db(*platz);
            QVERIFY(db.aendern(QString::fromLatin1(patientEinfuegen), werte));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT birth FROM patient")), QVariant(QString(QLatin1String(""))));
    }

    void medikamentUndPackungWerdenAngelegt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        QCOMPARE(blick->wert(QStringLiteral("SELECT medizin FROM medikament")), QVariant(QStringLiteral("Ramipril")));
        QCOMPARE(blick->wert(QStringLiteral("SELECT medizin_id FROM sorte")).toInt(), s.medikament.toInt());
        QCOMPARE(blick->wert(QStringLiteral("SELECT packung FROM sorte")).toDouble(), 20.0);
    }

    void zeileWirdZugeordnet()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        const QVariantList z =
            blick->zeilen(QStringLiteral("SELECT pat_id, med_id, tag, morgen FROM einnahme")).value(0);
        QCOMPARE(z.value(0).toInt(), s.patient.toInt());
        QCOMPARE(z.value(1).toInt(), s.sorte.toInt());
        // Dates stay the ISO text SQLite files hold.
        QCOMPARE(z.value(2), QVariant(QStringLiteral("2026-12-07")));
        QCOMPARE(z.value(3).toDouble(), 1.5);
    }

    // A truth value is stored as 1, and read back as the text "1" the
    // views look for.
    void hilfsmittelIstEins()
    {
        tabellen();
        stammAnlegen();
        DbSitzung db(*platz);
        QCOMPARE(db.lesen(QStringLiteral("SELECT hilfe FROM einnahme")).value(0).value(0).toString(), "1");
    }

    // A change checked against the values a window showed hits the line
    // while they still hold, an empty value matching an empty one.
    void gezeigteWerteTreffenDieZeile()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        blick->ausfuehren(QStringLiteral("UPDATE einnahme SET nacht = NULL"));
        {
            DbSitzung db(*platz);
            const QVariantList gezeigt = einnahmeWerte(
                db.lesen(QStringLiteral("SELECT * FROM einnahme WHERE id=:id"), {{QStringLiteral(":id"), s.einnahme}})
                    .value(0));
            QVERIFY(db.aendernZeile(QStringLiteral("UPDATE einnahme SET stand=:stand WHERE id=:id") +
                                        einnahmeUnveraendert(db.art()),
                                    Werte{{QStringLiteral(":stand"), 12.0}, {QStringLiteral(":id"), s.einnahme}} +
                                        einnahmeUnveraendertWerte(gezeigt)));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT stand FROM einnahme")).toDouble(), 12.0);
    }

    // Once another seat changed one of them, the change is a conflict.
    void geaenderteWerteSindEinKonflikt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        {
            DbSitzung db(*platz);
            const QVariantList gezeigt = einnahmeWerte(
                db.lesen(QStringLiteral("SELECT * FROM einnahme WHERE id=:id"), {{QStringLiteral(":id"), s.einnahme}})
                    .value(0));
            blick->ausfuehren(QStringLiteral("UPDATE einnahme SET morgen = 2"));
            QVERIFY(!db.aendernZeile(QStringLiteral("UPDATE einnahme SET stand=:stand WHERE id=:id") +
                                         einnahmeUnveraendert(db.art()),
                                     Werte{{QStringLiteral(":stand"), 12.0}, {QStringLiteral(":id"), s.einnahme}} +
                                         einnahmeUnveraendertWerte(gezeigt)));
        }
        QCOMPARE(platz->konflikte, 1);
    }

    void packungenWerdenGebucht()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        {
            DbSitzung db(*platz);
            QVERIFY(db.transaktion([&] {
                return db.aendernZeile(QString::fromLatin1(bestandBuchen),
                                       {{QStringLiteral(":tag"), QStringLiteral("2026-12-09")},
                                        {QStringLiteral(":stand"), 36.0},
                                        {QStringLiteral(":id"), s.einnahme}});
            }));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT stand FROM einnahme")).toDouble(), 36.0);
        QCOMPARE(blick->wert(QStringLiteral("SELECT tag FROM einnahme")), QVariant(QStringLiteral("2026-12-09")));
    }

    // Booking for a line removed elsewhere is a conflict and stores nothing.
    void buchungOhneZeileIstKonflikt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        blick->ausfuehren(QStringLiteral("DELETE FROM einnahme"));
        {
            DbSitzung db(*platz);
            QVERIFY(!db.transaktion([&] {
                return db.aendernZeile(QString::fromLatin1(bestandBuchen),
                                       {{QStringLiteral(":tag"), QStringLiteral("2026-12-09")},
                                        {QStringLiteral(":stand"), 36.0},
                                        {QStringLiteral(":id"), s.einnahme}});
            }));
        }
        QCOMPARE(platz->konflikte, 1);
    }

    void verlaufWirdGeschrieben()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        Verlaufseintrag e;
        e.art = Verlaufsart::packungenGebucht;
        e.patient = s.patient;
        e.einnahme = s.einnahme;
        e.betrifft = QStringLiteral("Ramipril 5");
        {
            DbSitzung db(*platz);
            QVERIFY(db.transaktion([&] { return verlaufSchreiben(db, QDateTime(QDate(2026, 12, 7), {9, 30}), e); }));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT art FROM verlauf")), QVariant(Verlaufsart::packungenGebucht));
        QCOMPARE(blick->wert(QStringLiteral("SELECT zeit FROM verlauf")),
                 QVariant(QStringLiteral("2026-12-07 09:30:00")));
        QCOMPARE(blick->wert(QStringLiteral("SELECT einnahme_id FROM verlauf")).toInt(), s.einnahme.toInt());
    }

    // The history refuses to be changed or emptied, by anyone.
    void verlaufBleibt_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("UPDATE") << "UPDATE verlauf SET art = 'anders'";
        QTest::newRow("DELETE") << "DELETE FROM verlauf";
        QTest::newRow("TRUNCATE") << "TRUNCATE verlauf";
    }
    void verlaufBleibt()
    {
        QFETCH(QString, sql);
        tabellen();
        Verlaufseintrag e;
        e.art = Verlaufsart::patientAngelegt;
        {
            DbSitzung db(*platz);
            QVERIFY(db.transaktion([&] { return verlaufSchreiben(db, QDateTime(QDate(2026, 12, 7), {9, 30}), e); }));
        }
        QVERIFY(!blick->ausfuehren(sql));
        QVERIFY2(blick->fehler.contains(QStringLiteral("Der Verlauf wird nicht")), qPrintable(blick->fehler));
        QCOMPARE(blick->wert(QStringLiteral("SELECT art FROM verlauf")), QVariant(Verlaufsart::patientAngelegt));
    }

    // A request is marked done on the server as in a file.
    void anforderungWirdErledigt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        {
            DbSitzung db(*platz);
            QVERIFY(db.transaktion([&] {
                return anforderungenAnlegen(db) &&
                       db.aendern(QStringLiteral("INSERT INTO anforderung (einnahme_id, angefordert) VALUES (:id, "
                                                 "'2026-12-01')"),
                                  {{QStringLiteral(":id"), s.einnahme}}) &&
                       anforderungErledigen(db, s.einnahme.toString(), QDate(2026, 12, 9));
            }));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT erledigt FROM anforderung")),
                 QVariant(QStringLiteral("2026-12-09")));
    }

    // A transaction whose step gives up leaves nothing on the server.
    void aufgegebeneTransaktionHinterlaesstNichts()
    {
        tabellen();
        {
            DbSitzung db(*platz);
            QVERIFY(!db.transaktion([&] {
                db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(QStringLiteral("Becker")));
                return false;
            }));
        }
        QCOMPARE(blick->wert(QStringLiteral("SELECT count(*) FROM patient")).toInt(), 0);
    }

    // A failing statement is reported once, in German, and is no conflict.
    void fehlerWirdEinmalGemeldet()
    {
        tabellen();
        {
            DbSitzung db(*platz);
            db.aendern(QStringLiteral("UPDATE fehlt SET a = :a"), {{QStringLiteral(":a"), 1}});
            db.aendern(QStringLiteral("UPDATE fehlt SET a = :a"), {{QStringLiteral(":a"), 2}});
        }
        QCOMPARE(platz->fehler.size(), 1);
        QVERIFY(platz->fehler.value(0).startsWith(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert")));
        QCOMPARE(platz->konflikte, 0);
    }

    // A database that is not there is reported once, naming it.
    void fehlendeDatenbankWirdGemeldet()
    {
        Platz anderswo(Datenbankart::postgres, QStringLiteral("gibt_es_nicht"));
        {
            DbSitzung db(anderswo);
            QVERIFY(!db.offen());
        }
        QCOMPARE(anderswo.fehler.size(), 1);
        QVERIFY(anderswo.fehler.value(0).contains(QStringLiteral("gibt_es_nicht")));
    }

    // The SSL mode chosen reaches the connection; anything else is taken as
    // "prefer" and never becomes part of the connection string.
    void sslModus_data()
    {
        QTest::addColumn<QString>("modus");
        QTest::addColumn<QString>("optionen");
        QTest::newRow("verify-full") << "verify-full"
                                     << "sslmode=verify-full;connect_timeout=10";
        QTest::newRow("fremd") << "disable host=anderswo"
                               << "sslmode=prefer;connect_timeout=10";
    }
    void sslModus()
    {
        QFETCH(QString, modus);
        QFETCH(QString, optionen);
        Serverzugang zugang;
        zugang.datenbank = datenbank;
        zugang.sslModus = modus;
        platz->zugangSetzen(zugang);
        QCOMPARE(platz->optionen(), optionen);
    }

    // A package's PZN entered anew replaces the one it had.
    void pznWirdErsetzt()
    {
        tabellen();
        const Stamm s = stammAnlegen();
        DbSitzung db(*platz);
        for (const char *pzn : {"01234567", "07654321"})
            QVERIFY(pznSpeichern(db, s.sorte.toInt(), QString::fromLatin1(pzn), nullptr));
        QCOMPARE(blick->zeilen(QStringLiteral("SELECT pzn FROM sorte_pzn")),
                 (QList<QVariantList>{{QStringLiteral("07654321")}}));
    }

    // The next family-doctor appointment of each patient, on both kinds.
    void naechsterHausarztAufBeiden()
    {
        tabellen();
        const QString pfad = env->basis() + QStringLiteral("/neu.db");
        env->datenbankAnlegen(pfad);
        Platz datei(Datenbankart::sqlite, pfad);
        QStringList antworten;
        for (Platz *p : {platz.get(), &datei}) {
            DbSitzung db(*p);
            for (const auto &t :
                 {std::make_tuple(1, "Hausarzt", "2026-12-20"), std::make_tuple(1, "Hausarzt", "2026-12-10"),
                  std::make_tuple(1, "Hausarzt", "2026-12-01"), std::make_tuple(2, "Dr. Kern", "2026-12-08"),
                  std::make_tuple(2, "Hausarzt", "2027-01-04")})
                QVERIFY(db.aendern(QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (:p, :a, :d)"),
                                   {{QStringLiteral(":p"), std::get<0>(t)},
                                    {QStringLiteral(":a"), QString::fromLatin1(std::get<1>(t))},
                                    {QStringLiteral(":d"), QString::fromLatin1(std::get<2>(t))}}));
            QStringList antwort;
            for (const QSqlRecord &r : db.lesen(naechsteHausarztTermine(p->art()) + QStringLiteral(" ORDER BY pata_id"),
                                                {{QStringLiteral(":heute"), QStringLiteral("2026-12-07")}}))
                antwort << r.value(0).toString() + QLatin1Char(' ') + r.value(1).toString();
            antworten << antwort.join(QLatin1Char(','));
        }
        QCOMPARE(antworten.value(0), QStringLiteral("1 2026-12-10,2 2027-01-04"));
        QCOMPARE(antworten.value(1), antworten.value(0));
    }

    // A file copied to the server and back is the same file: every table,
    // its form, every row and value with its type, and the keys it gave.
    void hinUndZurueck_data()
    {
        QTest::addColumn<QString>("tabelle");
        for (const char *t : {"patient", "medikament", "sorte", "einnahme", "termine", "verlauf", "anforderung",
                              "sorte_pzn", "einnahme_bmp", "plan_text", "sqlite_sequence", "sqlite_master"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void hinUndZurueck()
    {
        QFETCH(QString, tabelle);
        const QString pfad = env->basis() + QStringLiteral("/seltsam.db");
        seltsameDatei(pfad);
        const Kopie hin = aufDenServer(pfad);
        QVERIFY2(hin.gut(), qPrintable(hin.fehler));
        const QString zurueck = env->basis() + QStringLiteral("/zurueck.db");
        const Kopie her = alsDatei(zurueck);
        QVERIFY2(her.gut(), qPrintable(her.fehler));
        QCOMPARE(getreu(zurueck, tabelle), getreu(pfad, tabelle));
    }

    // Rows added on the server after the copy get keys the file never gave,
    // not even to a row it deleted.
    void neueZeilenNachDerKopie()
    {
        const QString pfad = env->basis() + QStringLiteral("/seltsam.db");
        seltsameDatei(pfad);
        QVERIFY(aufDenServer(pfad).gut());
        QVariant neu;
        {
            DbSitzung db(*platz);
            QVERIFY(db.aendern(QString::fromLatin1(patientEinfuegen), patientWerte(QStringLiteral("Neu")), &neu));
        }
        QVERIFY2(neu.toLongLong() > 1000001, qPrintable(neu.toString()));
    }

    // A database that holds tables already is not copied into; it is named
    // in the message, and nothing of the file reaches it.
    void nurInLeereDatenbank()
    {
        tabellen();
        stammAnlegen();
        const QString pfad = env->basis() + QStringLiteral("/seltsam.db");
        seltsameDatei(pfad);
        const Kopie k = aufDenServer(pfad);
        QVERIFY2(k.fehler.contains(QStringLiteral("\u201E%1\u201C").arg(datenbank)), qPrintable(k.fehler));
        QCOMPARE(blick->wert(QStringLiteral("SELECT count(*) FROM patient")).toInt(), 1);
        QCOMPARE(tabellenAufDemServer(), 5);
    }

    // A text where the server's column takes numbers only refuses the whole
    // copy, naming where it stands, and leaves the database empty.
    void falscherWertWirdNichtKopiert()
    {
        const QString pfad = env->basis() + QStringLiteral("/seltsam.db");
        seltsameDatei(pfad);
        Datei::ausfuehren(pfad, QStringLiteral("INSERT INTO einnahme (id, pat_id, stand) VALUES (7, 1, 'abc')"));
        const Kopie k = aufDenServer(pfad);
        QVERIFY2(k.fehler.contains(QStringLiteral("\u201Eeinnahme\u201C")), qPrintable(k.fehler));
        QVERIFY2(k.fehler.contains(QStringLiteral("id 7")), qPrintable(k.fehler));
        QVERIFY2(k.fehler.contains(QStringLiteral("\u201Estand\u201C")), qPrintable(k.fehler));
        QCOMPARE(tabellenAufDemServer(), 0);
    }

    // A file that is there already stays as it is unless the caller was
    // told to replace it.
    void vorhandeneDateiBleibt()
    {
        tabellen();
        const QString pfad = env->basis() + QStringLiteral("/da.db");
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write("alt");
        datei.close();
        QVERIFY(!alsDatei(pfad).gut());
        QCOMPARE(Datei::inhalt(pfad), QByteArray("alt"));
    }

    // "Als Datei sichern…" writes the server's database into a file the
    // program opens as its own; it is offered only on a server.
    void alsDateiSichernImFenster()
    {
        tabellen();
        stammAnlegen();
        auto w = env->starten();
        QAction *sichern = teil<QAction>(w.get(), QStringLiteral("aktionAlsDateiSichern"));
        QVERIFY(!sichern->isEnabled());
        Aufschalten::server(*w, datenbank);
        QVERIFY(sichern->isEnabled());
        env->meldungen.clear();
        const QString pfad = env->basis() + QStringLiteral("/gesichert.db");
        env->dateiAntworten << pfad;
        menue(w.get(), QStringLiteral("aktionAlsDateiSichern"));
        QCOMPARE(datenbankMangel(pfad), QString());
        QCOMPARE(Datei::wert(pfad, QStringLiteral("SELECT lastname FROM patient")), QVariant(QStringLiteral("Becker")));
        QVERIFY2(env->meldungen.value(0).startsWith(QStringLiteral("Gesichert: 1 Patient, 1 Zuordnung,")),
                 qPrintable(env->meldungen.join(QLatin1Char('\n'))));
    }

    // "Datei auf Server kopieren…" fills the empty database, and the window
    // shows what it holds.
    void dateiAufServerImFenster_data()
    {
        QTest::addColumn<bool>("tabellenDa");
        QTest::newRow("ohne Tabellen") << false;
        // As connecting to an empty database leaves it.
        QTest::newRow("leere Tabellen") << true;
    }
    void dateiAufServerImFenster()
    {
        QFETCH(bool, tabellenDa);
        if (tabellenDa)
            tabellen();
        const QString pfad = env->basis() + QStringLiteral("/seltsam.db");
        seltsameDatei(pfad);
        auto w = fensterAufDemServer();
        env->dateiAntworten << pfad;
        menue(w.get(), QStringLiteral("aktionDateiAufServer"));
        QCOMPARE(blick->wert(QStringLiteral("SELECT count(*) FROM patient")).toInt(), 2);
        QCOMPARE(spalte(teil<QTableWidget>(w.get(), QStringLiteral("tabellePatientenwahl")), 1).size(), 2);
    }

    // Before a risky step on a server the backup is a file of the program,
    // named after the database.
    void sicherungVorRiskantemAufDemServer()
    {
        tabellen();
        stammAnlegen();
        auto w = fensterAufDemServer();
        menue(w.get(), QStringLiteral("aktionListen"));
        env->antworten << true;
        klicken(teil<QAbstractButton>(w.get(), QStringLiteral("knopfPatientEntfernen")));
        const QString name = datenbank + QStringLiteral("_2026-12-06_10-30-00_patient-loeschen.db");
        QVERIFY2(env->sicherungen().contains(name), qPrintable(env->sicherungen().join(QLatin1Char(' '))));
        const QString kopie = env->sicherungsOrdner() + QLatin1Char('/') + name;
        QCOMPARE(datenbankMangel(kopie), QString());
        QCOMPARE(Datei::wert(kopie, QStringLiteral("SELECT lastname FROM patient")),
                 QVariant(QStringLiteral("Becker")));
    }

    // The daily copy of a server database, on a thread of its own as after
    // the start, is a file of the program named after the database.
    void taeglicheSicherungDesServers()
    {
        tabellen();
        stammAnlegen();
        Serverzugang zugang;
        zugang.datenbank = datenbank;
        const QString ordner = env->basis() + QStringLiteral("/Sicherungen");
        Startbefund befund;
        std::unique_ptr<QThread> faden(QThread::create([&] {
            befund = startPruefenServer(platz->verbindungsName(), serverQuelle(zugang), ordner,
                                        Sicherungseinstellungen(), env->zeit);
        }));
        faden->start();
        QVERIFY(faden->wait(60000));
        QCOMPARE(befund.fehler, QString());
        const QString kopie = ordner + QLatin1Char('/') + datenbank +
                              QStringLiteral("_2026-12-06_10-30-00_taeglich.db");
        QCOMPARE(Datei::wert(kopie, QStringLiteral("SELECT lastname FROM patient")),
                 QVariant(QStringLiteral("Becker")));
    }

    // Restoring a backup puts a file in place of the file in use: on a
    // server the window says how to get a backup back instead.
    void wiederherstellenAufDemServer()
    {
        tabellen();
        auto w = fensterAufDemServer();
        QVERIFY(!imFenster([&] { menue(w.get(), QStringLiteral("aktionSicherungWiederherstellen")); }));
        QCOMPARE(env->meldungen,
                 QStringList{QStringLiteral("Auf einem Server wird eine Sicherung mit \u201EDatei auf Server "
                                            "kopieren\u2026\u201C in eine leere Datenbank zur\u00FCckgeholt.")});
    }

    // The differences the dialect makes give the same answers on both kinds.
    void gleicheAntwortenAufBeiden_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariant>("wert");
        // SQLite's LIKE folds the case of ASCII letters only.
        QTest::newRow("LIKE ASCII") << QStringLiteral("SELECT count(*) FROM patient WHERE lastname {wie} :w")
                                    << QVariant(QStringLiteral("%BECK%"));
        QTest::newRow("LIKE Umlaut") << QStringLiteral("SELECT count(*) FROM patient WHERE lastname {wie} :w")
                                     << QVariant(QStringLiteral("\u00E4%"));
        // IS also holds for NULL and NULL.
        QTest::newRow("IS NULL") << QStringLiteral("SELECT count(*) FROM patient WHERE strasse {gleich} :w")
                                 << QVariant();
        QTest::newRow("IS Wert") << QStringLiteral("SELECT count(*) FROM patient WHERE ort {gleich} :w")
                                 << QVariant(QStringLiteral("Leipzig"));
        // Texts in byte order: upper case before lower case, umlauts last.
        QTest::newRow("ORDER BY") << QStringLiteral("SELECT lastname FROM patient WHERE lastname <> :w ORDER BY "
                                                    "lastname")
                                  << QVariant(QStringLiteral("-"));
    }
    void gleicheAntwortenAufBeiden()
    {
        QFETCH(QString, sql);
        QFETCH(QVariant, wert);
        tabellen();
        const QString pfad = env->basis() + QStringLiteral("/neu.db");
        env->datenbankAnlegen(pfad);
        Platz datei(Datenbankart::sqlite, pfad);
        QStringList antworten;
        for (Platz *p : {platz.get(), &datei}) {
            DbSitzung db(*p);
            for (const char *name : {"Becker", "\u00C4rger", "von Bach", "Zander"}) {
                Werte w = patientWerte(QString::fromUtf8(name));
                w[5].second = QVariant();
                QVERIFY(db.aendern(QString::fromLatin1(patientEinfuegen), w));
            }
            QStringList antwort;
            for (const QSqlRecord &r : db.lesen(QString(sql)
                                                    .replace(QStringLiteral("{gleich}"), Dialekt::gleich(p->art()))
                                                    .replace(QStringLiteral("{wie}"), Dialekt::wie(p->art())),
                                                {{QStringLiteral(":w"), wert}}))
                antwort << r.value(0).toString();
            antworten << antwort.join(QLatin1Char(','));
        }
        QCOMPARE(antworten.value(0), antworten.value(1));
    }
};

QTEST_MAIN(ServerTest)
#include "tst_server.moc"
