// The sample databases: they open in the program with the promised numbers
// of patients, medications, packages, lines and appointments, hold data a
// carer would recognise, and the same seed writes the same file.
#include "testhilfe.h"
#include "tools/beispieldaten.h"

#include <QAction>
#include <QFile>
#include <QProgressBar>
#include <QSet>
#include <QTableWidget>
#include <QTest>

namespace {

const QDate heute(2026, 12, 6); // the test clock's day

QString erzeugen(const Umgebung &env, const QString &umfang, quint64 saat = 1, const QString &name = QString())
{
    const QString pfad = env.basis() + QLatin1Char('/') + (name.isEmpty() ? umfang : name) + QStringLiteral(".db");
    const Beispielergebnis e = beispieldatenSchreiben(pfad, beispielumfang(umfang), saat, heute);
    if (!e.ok)
        qFatal("sample data not written: %s", qPrintable(e.fehler));
    return pfad;
}

int anzahl(const QString &pfad, const char *sql)
{
    return Datei::wert(pfad, QString::fromLatin1(sql)).toInt();
}

// Every table's rows in key order, as text.
QStringList inhalt(const QString &pfad)
{
    QStringList zeilen;
    for (const char *t : {"patient", "medikament", "sorte", "einnahme", "termine"}) {
        for (const QVariantList &z : Datei::zeilen(pfad, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QLatin1String(t)))) {
            QStringList felder;
            for (const QVariant &v : z)
                felder << v.toString();
            zeilen << QLatin1String(t) + QLatin1Char('|') + felder.join(QLatin1Char('|'));
        }
    }
    return zeilen;
}

QTableWidget *tabelle(MainWindow *w, const char *name)
{
    return teil<QTableWidget>(w, QString::fromLatin1(name));
}

} // namespace

class BeispieldatenTest : public QObject
{
    Q_OBJECT
private slots:
    // The way the README shows: a first start, then "mit vorhandener
    // Datenbank verbinden" with the small file. Every patient with six
    // lines and four appointments, and the kinds of lines a carer meets.
    void familieImProgramm()
    {
        Umgebung env;
        env.zeit = QDateTime(heute, QTime(9, 0));
        const QString f = erzeugen(env, QStringLiteral("familie"));
        auto w = env.starten();
        QCOMPARE(tabelle(w.get(), "tabellePatientenwahl")->rowCount(), 0);
        env.dateiAntworten << f;
        teil<QAction>(w.get(), "aktionDbOeffnen")->trigger();

        QVERIFY2(env.meldungen.isEmpty(), qPrintable(env.meldungen.join(QLatin1Char('\n'))));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoria - ") + f);
        QTableWidget *wahl = tabelle(w.get(), "tabellePatientenwahl");
        QCOMPARE(wahl->rowCount(), 4);
        QCOMPARE(tabelle(w.get(), "tabelleSortenwahl")->rowCount(), 25);
        QCOMPARE(tabelle(w.get(), "tabelleMedikamente")->rowCount(), anzahl(f, "SELECT count(*) FROM medikament"));
        QVERIFY(tabelle(w.get(), "tabelleMedikamente")->rowCount() >= 10);

        QTableWidget *zuordnung = tabelle(w.get(), "tabelleZuordnung");
        QTableWidget *uebersicht = tabelle(w.get(), "tabelleUebersicht");
        QTableWidget *plan = tabelle(w.get(), "tabelleVerordnungsplan");
        QTableWidget *termine = tabelle(w.get(), "tabelleTermine");
        QSet<QString> hinweise;
        int halbe = 0, aufgebraucht = 0, gelb = 0, monate = 0, hilfsmittel = 0, vergangen = 0, kommend = 0;
        for (int p = 0; p < 4; ++p) {
            zelleKlicken(wahl, p, 1);
            const int id = wahl->item(p, 0)->text().toInt();
            QVERIFY(QDate::fromString(wahl->item(p, 4)->text(), QStringLiteral("dd.MM.yyyy")).isValid());
            QVERIFY(!wahl->item(p, 3)->text().isEmpty() && wahl->item(p, 5)->text().size() == 5);
            QCOMPARE(zuordnung->rowCount(), 6);
            QCOMPARE(spalte(zuordnung, 4), (QStringList{"1", "2", "3", "4", "5", "6"}));
            QCOMPARE(uebersicht->rowCount(), 6);
            const int hilfen = Datei::wert(f, QStringLiteral("SELECT count(*) FROM einnahme WHERE pat_id=? AND hilfe=1"), {id}).toInt();
            hilfsmittel += hilfen;
            QCOMPARE(plan->rowCount(), 6 - hilfen);
            QCOMPARE(termine->rowCount(), 4);
            for (const QString &e : spalte(zuordnung, 3))
                halbe += e.contains(QStringLiteral("1/2")) ? 1 : 0;
            for (int z = 0; z < 6; ++z) {
                const QString bis = uebersicht->item(z, 4)->text();
                if (bis.isEmpty())
                    continue; // an aid without daily use
                const QDate ende = QDate::fromString(bis, QStringLiteral("dd.MM.yyyy"));
                aufgebraucht += ende < heute ? 1 : 0;
                monate += ende > heute.addDays(60) ? 1 : 0;
                gelb += uebersicht->item(z, 4)->background().color() == QColor(Qt::yellow) ? 1 : 0;
                hinweise << qobject_cast<QProgressBar *>(uebersicht->cellWidget(z, 1))->toolTip();
            }
            for (const QString &d : spalte(termine, 2)) {
                const QDate t = QDate::fromString(d, QStringLiteral("dd.MM.yyyy"));
                QVERIFY(t.isValid());
                (t < heute ? vergangen : kommend) += 1;
            }
        }
        QVERIFY(halbe > 0);
        QVERIFY(aufgebraucht > 0);
        QVERIFY(gelb > 0);
        QVERIFY(monate > 0);
        QVERIFY(hilfsmittel > 0);
        QVERIFY(vergangen > 0 && kommend > 0);
        QVERIFY(hinweise.contains(QStringLiteral("reicht noch \u00FCber 60 Tage")));
        QVERIFY(env.meldungen.isEmpty());
    }

    // The middle size in the program: patients, packages, lines and
    // appointments as promised for the first, a middle and the last patient.
    void pflegedienstImProgramm()
    {
        Umgebung env;
        env.zeit = QDateTime(heute, QTime(9, 0));
        const QString f = erzeugen(env, QStringLiteral("pflegedienst"));
        env.letzteDateiSetzen(f);
        auto w = env.starten();
        QTableWidget *wahl = tabelle(w.get(), "tabellePatientenwahl");
        QCOMPARE(wahl->rowCount(), 300);
        QCOMPARE(tabelle(w.get(), "tabellePatienten")->rowCount(), 300);
        QCOMPARE(tabelle(w.get(), "tabelleSortenwahl")->rowCount(), 400);
        for (int p : {0, 150, 299}) {
            zelleKlicken(wahl, p, 1);
            QCOMPARE(tabelle(w.get(), "tabelleZuordnung")->rowCount(), 15);
            QCOMPARE(tabelle(w.get(), "tabelleUebersicht")->rowCount(), 15);
            QCOMPARE(tabelle(w.get(), "tabelleTermine")->rowCount(), 8);
        }
        QVERIFY(env.meldungen.isEmpty());
    }

    // Counts and relations in the file, for every size; the largest one is
    // only checked in the file, as starting the program on it takes long.
    void zahlenUndBeziehungen_data()
    {
        QTest::addColumn<QString>("umfang");
        for (const Beispielumfang &u : beispielumfaenge())
            QTest::newRow(qPrintable(u.name)) << u.name;
    }
    void zahlenUndBeziehungen()
    {
        QFETCH(QString, umfang);
        const Beispielumfang u = beispielumfang(umfang);
        Umgebung env;
        const QString f = erzeugen(env, umfang);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM patient"), u.patienten);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM sorte"), u.packungen);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM einnahme"), u.patienten * u.zeilenJePatient);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM termine"), u.patienten * u.termineJePatient);
        // Every patient has exactly the promised lines, positions 1..n, and
        // never the same package twice.
        QCOMPARE(anzahl(f, "SELECT count(*) FROM (SELECT pat_id FROM einnahme GROUP BY pat_id HAVING count(*) <> "
                           "count(DISTINCT med_id) OR min(ordnung) <> 1 OR max(ordnung) <> count(*) "
                           "OR count(DISTINCT ordnung) <> count(*))"),
                 0);
        QCOMPARE(anzahl(f, "SELECT count(DISTINCT pat_id) FROM einnahme"), u.patienten);
        QCOMPARE(anzahl(f, "SELECT count(DISTINCT pata_id) FROM termine"), u.patienten);
        // Nothing refers to a row that is not there.
        QCOMPARE(anzahl(f, "SELECT count(*) FROM einnahme WHERE med_id NOT IN (SELECT id FROM sorte) "
                           "OR pat_id NOT IN (SELECT id FROM patient)"),
                 0);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM sorte WHERE medizin_id NOT IN (SELECT id FROM medikament)"), 0);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM medikament WHERE id NOT IN (SELECT medizin_id FROM sorte)"), 0);
        // Stored as the program stores: dates as text, stock and doses as numbers.
        QCOMPARE(anzahl(f, "SELECT count(*) FROM einnahme WHERE typeof(tag) <> 'text' OR length(tag) <> 10 "
                           "OR typeof(stand) <> 'real' OR stand < 0 OR hilfe NOT IN (0, 1)"),
                 0);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM patient WHERE birth NOT LIKE '__.__.____'"), 0);
        QCOMPARE(anzahl(f, "SELECT count(*) FROM termine WHERE arzt_date NOT LIKE '____-__-__'"), 0);
        QVERIFY(anzahl(f, "SELECT count(*) FROM termine WHERE arzt = 'Hausarzt' AND arzt_date >= '2026-12-06'") > 0);
    }

    // The same seed writes the same bytes; another seed other data; an
    // existing file is never overwritten.
    void saat()
    {
        Umgebung env;
        const QString a = erzeugen(env, QStringLiteral("familie"), 7, QStringLiteral("a"));
        const QString b = erzeugen(env, QStringLiteral("familie"), 7, QStringLiteral("b"));
        const QString c = erzeugen(env, QStringLiteral("familie"), 8, QStringLiteral("c"));
        QCOMPARE(inhalt(a), inhalt(b));
        QFile fa(a), fb(b);
        QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
        QVERIFY(fa.readAll() == fb.readAll());
        QVERIFY(inhalt(a) != inhalt(c));

        const QStringList vorher = inhalt(a);
        const Beispielergebnis nochmal =
            beispieldatenSchreiben(a, beispielumfang(QStringLiteral("pflegedienst")), 7, heute);
        QVERIFY(!nochmal.ok);
        QVERIFY(nochmal.fehler.contains(a));
        QCOMPARE(inhalt(a), vorher);
    }
};

QTEST_MAIN(BeispieldatenTest)
#include "tst_beispieldaten.moc"
