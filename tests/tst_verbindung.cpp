// SPDX-License-Identifier: GPL-3.0-or-later
// The database helper on a connection of its own, without any window: what
// it reports goes through DbVerbindung's two calls and nowhere else.
#include "testhilfe.h"

#include "storage/datenbankzugriff.h"

#include <QTest>

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

} // namespace

class VerbindungTest : public QObject
{
    Q_OBJECT

private slots:
    // A change meant for a row that is not there wrote nothing: one
    // conflict, reported when the session ends, and no failure.
    void fehlendeZeileIstEinKonflikt()
    {
        Umgebung env;
        const QString pfad = env.basis() + QStringLiteral("/eigen.db");
        env.datenbankAnlegen(pfad);
        Aufzeichnung v(pfad);
        bool geaendert = true;
        int vorEnde = -1;
        {
            DbSitzung db(v);
            geaendert = db.aendernZeile(QStringLiteral("UPDATE medikament SET medizin = 'ASS' WHERE id = :id"),
                                        {{QStringLiteral(":id"), 99}});
            vorEnde = v.konflikte;
        }
        QVERIFY(!geaendert);
        QCOMPARE(vorEnde, 0);
        QCOMPARE(v.konflikte, 1);
        QCOMPARE(v.fehler.size(), 0);
    }

    // A broken statement is one failure, however often it fails in the
    // session, and no conflict.
    void kaputteAnweisungIstEinFehler()
    {
        Umgebung env;
        const QString pfad = env.basis() + QStringLiteral("/eigen.db");
        env.datenbankAnlegen(pfad);
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            db.aendern(QStringLiteral("INSERT INTO gibtsnicht (x) VALUES (1)"));
            db.aendern(QStringLiteral("INSERT INTO gibtsnicht (x) VALUES (2)"));
        }
        QCOMPARE(v.fehler.size(), 1);
        QVERIFY2(v.fehler.first().startsWith(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden.")),
                 qPrintable(v.fehler.first()));
        QCOMPARE(v.konflikte, 0);
    }

    // The change that finds its row is stored and reports nothing.
    void vorhandeneZeileWirdGeaendert()
    {
        Umgebung env;
        const QString pfad = env.basis() + QStringLiteral("/eigen.db");
        env.datenbankAnlegen(pfad);
        Datei::ausfuehren(pfad, QStringLiteral("INSERT INTO medikament (id, medizin) VALUES (1, 'Ramipril')"));
        Aufzeichnung v(pfad);
        {
            DbSitzung db(v);
            QVERIFY(db.aendernZeile(QStringLiteral("UPDATE medikament SET medizin = 'ASS' WHERE id = :id"),
                                    {{QStringLiteral(":id"), 1}}));
        }
        QCOMPARE(Datei::wert(pfad, QStringLiteral("SELECT medizin FROM medikament WHERE id = 1")).toString(),
                 QStringLiteral("ASS"));
        QCOMPARE(v.konflikte, 0);
        QCOMPARE(v.fehler.size(), 0);
    }
};

QTEST_MAIN(VerbindungTest)
#include "tst_verbindung.moc"
