// SPDX-License-Identifier: GPL-3.0-or-later
// The sample databases: they open in the program with the promised numbers
// of patients, medications, packages, lines and appointments, hold data a
// carer would recognise, and the same seed writes the same file.
#include "einnahmedaten.h"
#include "tools/beispieldaten.h"

#include <QAction>
#include <QFile>
#include <set>

class BeispieldatenTest : public QObject
{
    Q_OBJECT
private slots:
    // The file's counts and relations, then the file opened the way the
    // README shows ("mit vorhandener Datenbank verbinden"). The largest size
    // runs the same code with larger numbers and is left out for speed.
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

        // Counts, then rows breaking a rule (each must be 0): a patient's
        // lines at positions other than 1..n or with a package twice, a key
        // to a missing row, values not stored as the program stores them.
        QStringList werte;
        for (const char *sql :
             {"SELECT count(*) FROM patient", "SELECT count(*) FROM sorte", "SELECT count(*) FROM medikament",
              "SELECT count(*) || '/' || count(DISTINCT pat_id) FROM einnahme",
              "SELECT count(*) || '/' || count(DISTINCT pata_id) FROM termine",
              "SELECT count(*) FROM (SELECT pat_id FROM einnahme GROUP BY pat_id HAVING count(*) <> "
              "count(DISTINCT med_id) OR min(ordnung) <> 1 OR max(ordnung) <> count(*) OR count(DISTINCT ordnung) <> "
              "count(*))",
              "SELECT count(*) FROM einnahme WHERE med_id NOT IN (SELECT id FROM sorte) OR pat_id NOT IN (SELECT id "
              "FROM patient) OR typeof(tag) <> 'text' OR length(tag) <> 10 OR typeof(stand) <> 'real' OR stand < 0 "
              "OR hilfe NOT IN (0, 1)",
              "SELECT (SELECT count(*) FROM sorte WHERE medizin_id NOT IN (SELECT id FROM medikament)) + "
              "(SELECT count(*) FROM medikament WHERE id NOT IN (SELECT medizin_id FROM sorte))",
              "SELECT (SELECT count(*) FROM patient WHERE birth NOT LIKE '__.__.____') + (SELECT count(*) FROM termine "
              "WHERE arzt_date NOT LIKE '____-__-__')"})
            werte << Datei::wert(f, sql).toString();
        QCOMPARE(werte.join('|'), QString("%1|%2|%3|%4/%1|%5/%1|0|0|0|0")
                                      .arg(u.patienten)
                                      .arg(u.packungen)
                                      .arg(e.medikamente)
                                      .arg(u.patienten * u.zeilenJePatient)
                                      .arg(u.patienten * u.termineJePatient));

        t.starten();
        t.env.dateiAntworten << f;
        teil<QAction>(t.w.get(), "aktionDbOeffnen")->trigger();
        teil<QAction>(t.w.get(), "aktionListen")->trigger();
        QTableWidget *wahl = t.tabelle("tabellePatientenwahl"), *uebersicht = t.tabelle("tabelleUebersicht");
        QCOMPARE(QString("%1|%2|%3|%4")
                     .arg(wahl->rowCount())
                     .arg(t.tabelle("tabellePatienten")->rowCount())
                     .arg(t.tabelle("tabelleSortenwahl")->rowCount())
                     .arg(t.tabelle("tabelleMedikamente")->rowCount()),
                 QString("%1|%1|%2|%3").arg(u.patienten).arg(u.packungen).arg(e.medikamente));

        // The first two, a middle and the last patient (every one of the
        // small file): their lines and appointments, and the kinds of data a
        // carer meets among them.
        std::set<QString> merkmale;
        for (int p : {0, 1, u.patienten / 2, u.patienten - 1}) {
            zelleKlicken(wahl, p, 1);
            const int hilfen = Datei::wert(f, "SELECT count(*) FROM einnahme WHERE pat_id = ? AND hilfe = 1",
                                           {wahl->item(p, 0)->text()})
                                   .toInt();
            merkmale.insert(hilfen > 0 ? "Hilfsmittel" : "");
            QCOMPARE(
                QString("%1|%2|%3|%4")
                    .arg(t.tabelle("tabelleZuordnung")->rowCount())
                    .arg(uebersicht->rowCount())
                    .arg(t.tabelle("tabelleVerordnungsplan")->rowCount())
                    .arg(t.tabelle("tabelleTermine")->rowCount()),
                QString("%1|%1|%2|%3").arg(u.zeilenJePatient).arg(u.zeilenJePatient - hilfen).arg(u.termineJePatient));
            for (const QString &e : spalte(t.tabelle("tabelleZuordnung"), 3))
                merkmale.insert(e.contains("1/2") ? "halbe" : "");
            for (int z = 0; z < uebersicht->rowCount(); ++z) {
                const QDate bis = QDate::fromString(uebersicht->item(z, 4)->text(), "dd.MM.yyyy");
                merkmale.insert({bis.isValid() && bis < heute ? "aufgebraucht" : "",
                                 hintergrund(uebersicht, z, 4) == QColor(Qt::yellow) ? "gelb" : "",
                                 balken(uebersicht, z)->toolTip() == "reicht noch \u00FCber 60 Tage" ? "Monate" : ""});
            }
            for (const QString &d : spalte(t.tabelle("tabelleTermine"), 2)) {
                const QDate tag = QDate::fromString(d, "dd.MM.yyyy");
                merkmale.insert(!tag.isValid() ? "ohne Datum" : tag < heute ? "vergangen" : "kommend");
            }
        }
        merkmale.erase(QString());
        QCOMPARE(QStringList(merkmale.begin(), merkmale.end()).join(','),
                 QString("Hilfsmittel,Monate,aufgebraucht,gelb,halbe,kommend,vergangen"));
        QVERIFY2(t.env.meldungen.isEmpty(), qPrintable(t.env.meldungen.join('\n')));
    }

    // The same seed writes the same bytes, another seed other data; an
    // existing file is never overwritten.
    void saat()
    {
        QTemporaryDir d;
        auto erzeugen = [](const QString &pfad, const char *umfang, quint64 saat) {
            return beispieldatenSchreiben(pfad, beispielumfang(umfang), saat, heute);
        };
        auto bytes = [](const QString &p) {
            QFile f(p);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QString a = d.filePath("a.db"), b = d.filePath("b.db"), c = d.filePath("c.db");
        QVERIFY(erzeugen(a, "familie", 7).ok && erzeugen(b, "familie", 7).ok && erzeugen(c, "familie", 8).ok);
        const QByteArray vorher = bytes(a);
        QVERIFY(bytes(b) == vorher);
        QVERIFY(bytes(c) != vorher);
        const Beispielergebnis nochmal = erzeugen(a, "pflegedienst", 7);
        QVERIFY(!nochmal.ok && nochmal.fehler.contains(a));
        QVERIFY(bytes(a) == vorher);
    }
};

QTEST_MAIN(BeispieldatenTest)
#include "tst_beispieldaten.moc"
