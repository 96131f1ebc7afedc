// SPDX-License-Identifier: GPL-3.0-or-later
// The sample databases: the promised numbers of patients, medications,
// packages, lines and appointments, rows as the program writes them, data
// a carer would recognise, and the same file for the same seed.
#include "einnahmedaten.h"
#include "tools/beispieldaten.h"

namespace {

// Days the stock of a line lasts from today, in SQL.
const QString tageUebrig = QStringLiteral(
    "(stand - (julianday('2026-12-06') - julianday(tag)) * (morgen + mittag + abend + nacht)) / (morgen + mittag + "
    "abend + nacht)");

} // namespace

class BeispieldatenTest : public QObject
{
    Q_OBJECT
private slots:
    // The largest size runs the same code with larger numbers and is left out for speed.
    void imProgramm_data()
    {
        QTest::addColumn<QString>("umfang");
        QTest::newRow("familie") << "familie";
        QTest::newRow("pflegedienst") << "pflegedienst";
    }
    void imProgramm()
    {
        QFETCH(QString, umfang);
        const Beispielumfang u = beispielumfang(umfang);
        Welt t;
        const QString f = t.env.basis() + "/" + umfang + ".db";
        const Beispielergebnis e = beispieldatenSchreiben(f, u, 1, heute);
        QVERIFY2(e.ok, qPrintable(e.fehler));
        auto zahl = [&](const QString &sql) { return Datei::wert(f, sql).toInt(); };
        QCOMPARE(zahl("SELECT count(*) FROM patient"), u.patienten);
        QCOMPARE(zahl("SELECT count(*) FROM sorte"), u.packungen);
        QCOMPARE(zahl("SELECT count(*) FROM medikament"), e.medikamente);
        QCOMPARE(zahl("SELECT count(*) FROM einnahme"), u.patienten * u.zeilenJePatient);
        QCOMPARE(zahl("SELECT count(*) FROM termine"), u.patienten * u.termineJePatient);

        // Rows breaking a rule: a patient without the promised lines or
        // appointments, lines at positions other than 1..n or with a package
        // twice, a key to a missing row, values not stored as the program
        // stores them.
        for (const char *regelwidrig :
             {"SELECT count(*) FROM patient p WHERE (SELECT count(*) FROM einnahme WHERE pat_id = p.id) <> %1 OR "
              "(SELECT count(*) FROM termine WHERE pata_id = p.id) <> %2",
              "SELECT count(*) FROM (SELECT pat_id FROM einnahme GROUP BY pat_id HAVING count(*) <> "
              "count(DISTINCT med_id) OR min(ordnung) <> 1 OR max(ordnung) <> count(*) OR count(DISTINCT ordnung) <> "
              "count(*))",
              "SELECT count(*) FROM einnahme WHERE med_id NOT IN (SELECT id FROM sorte) OR pat_id NOT IN (SELECT id "
              "FROM patient) OR typeof(tag) <> 'text' OR length(tag) <> 10 OR typeof(stand) <> 'real' OR stand < 0 "
              "OR hilfe NOT IN (0, 1)",
              "SELECT count(*) FROM sorte WHERE medizin_id NOT IN (SELECT id FROM medikament)",
              "SELECT count(*) FROM medikament WHERE id NOT IN (SELECT medizin_id FROM sorte)",
              "SELECT count(*) FROM patient WHERE birth NOT LIKE '__.__.____'",
              "SELECT count(*) FROM termine WHERE arzt_date NOT LIKE '____-__-__'"})
            QVERIFY2(zahl(QString(regelwidrig).arg(u.zeilenJePatient).arg(u.termineJePatient)) == 0, regelwidrig);

        // What a carer meets: aids, half tablets, stock used up, running
        // short, lasting months, past and coming visits.
        for (const QString &merkmal :
             {QString("hilfe = 1"), QString("0.5 IN (morgen, mittag, abend, nacht)"),
              "hilfe = 0 AND " + tageUebrig + " < 0", "hilfe = 0 AND " + tageUebrig + " BETWEEN 0 AND 27",
              "hilfe = 0 AND " + tageUebrig + " > 60"})
            QVERIFY2(zahl("SELECT count(*) FROM einnahme WHERE " + merkmal) > 0, qPrintable(merkmal));
        QVERIFY(zahl("SELECT count(*) FROM termine WHERE arzt_date < '2026-12-06'") > 0);
        QVERIFY(zahl("SELECT count(*) FROM termine WHERE arzt_date >= '2026-12-06'") > 0);

        // Opened the way the README shows ("mit vorhandener Datenbank verbinden").
        t.starten();
        t.env.dateiAntworten << f;
        menue(t.w.get(), "aktionDbOeffnen");
        menue(t.w.get(), "aktionListen");
        QCOMPARE(t.tabelle("tabellePatientenwahl")->rowCount(), u.patienten);
        QCOMPARE(t.tabelle("tabellePatienten")->rowCount(), u.patienten);
        QCOMPARE(t.tabelle("tabelleSortenwahl")->rowCount(), u.packungen);
        QCOMPARE(t.tabelle("tabelleMedikamente")->rowCount(), e.medikamente);
        QCOMPARE(t.tabelle("tabelleZuordnung")->rowCount(), u.zeilenJePatient);
        QCOMPARE(t.tabelle("tabelleUebersicht")->rowCount(), u.zeilenJePatient);
        QCOMPARE(t.tabelle("tabelleTermine")->rowCount(), u.termineJePatient);
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // The same seed writes the same bytes, another seed other data; an
    // existing file is never overwritten.
    void saat()
    {
        QTemporaryDir d;
        auto erzeugen = [](const QString &pfad, const char *umfang, quint64 saat) {
            return beispieldatenSchreiben(pfad, beispielumfang(umfang), saat, heute);
        };
        const QString a = d.filePath("a.db"), b = d.filePath("b.db"), c = d.filePath("c.db");
        QVERIFY(erzeugen(a, "familie", 7).ok);
        QVERIFY(erzeugen(b, "familie", 7).ok);
        QVERIFY(erzeugen(c, "familie", 8).ok);
        const QByteArray vorher = Datei::inhalt(a);
        QVERIFY(Datei::inhalt(b) == vorher);
        QVERIFY(Datei::inhalt(c) != vorher);
        const Beispielergebnis nochmal = erzeugen(a, "pflegedienst", 7);
        QVERIFY(!nochmal.ok);
        QVERIFY2(nochmal.fehler.contains(a), qPrintable(nochmal.fehler));
        QVERIFY(Datei::inhalt(a) == vorher);
    }
};

QTEST_MAIN(BeispieldatenTest)
#include "tst_beispieldaten.moc"
