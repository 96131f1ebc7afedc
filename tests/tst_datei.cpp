#include "testhilfe.h"

#include "maintenance/dateipflege.h"
#include "storage/datenbankzugriff.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString letzteDatei(Umgebung &env)
{
    QSettings s(env.konfiguration(), QSettings::IniFormat);
    return s.value(QStringLiteral("pfade/letzteDatei")).toString();
}

void patientAnlegen(const QString &pfad, const QString &name)
{
    Datei::ausfuehren(pfad, QStringLiteral("INSERT INTO patient (firstname, lastname, birth) VALUES ('Erika', ?, "
                                           "'01.02.1940')"),
                      {name});
}

QStringList namen(const QString &pfad)
{
    QStringList n;
    for (const auto &z : Datei::zeilen(pfad, QStringLiteral("SELECT lastname FROM patient ORDER BY id")))
        n << z.first().toString();
    return n;
}

// A change made the way every command of the program makes it: through the
// window's own connection to the file in use.
void programmAendert(MainWindow &w, const QString &name)
{
    DbSitzung db(w);
    QVERIFY(db.aendern(QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Max', :n)"),
                       {{QStringLiteral(":n"), name}}));
}

void ausloesen(MainWindow &w, const char *aktion)
{
    teil<QAction>(&w, QString::fromLatin1(aktion))->trigger();
}

QString titel(const QString &pfad)
{
    return QStringLiteral("Kalvoria - ") + pfad;
}

} // namespace

class DateiTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { Dateipflege::entfernen = nullptr; }

    void kopierenInAnderenOrdner()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Muster"));
        const QByteArray vorher = inhalt(env.standardDatei());
        auto w = env.starten();

        QDir().mkpath(env.basis() + QStringLiteral("/Sicherung 2026"));
        const QString ziel = env.basis() + QStringLiteral("/Sicherung 2026/kopie #1.db");
        env.dateiAntworten << ziel;
        ausloesen(*w, "aktionDbKopieren");

        QCOMPARE(env.dateiTitel, QStringList{QStringLiteral("Datenbank kopieren nach...")});
        QCOMPARE(env.meldungen, QStringList());
        QCOMPARE(inhalt(ziel), vorher);
        QCOMPARE(w->windowTitle(), titel(ziel));
        QCOMPARE(letzteDatei(env), ziel);

        programmAendert(*w, QStringLiteral("Neu"));
        QCOMPARE(namen(ziel), (QStringList{QStringLiteral("Muster"), QStringLiteral("Neu")}));
        QCOMPARE(inhalt(env.standardDatei()), vorher);

        // A name typed without a suffix gets ".db", so the open dialog finds it again.
        env.dateiAntworten << env.basis() + QStringLiteral("/ohne");
        ausloesen(*w, "aktionDbKopieren");
        QCOMPARE(w->windowTitle(), titel(env.basis() + QStringLiteral("/ohne.db")));
        QCOMPARE(namen(env.basis() + QStringLiteral("/ohne.db")), namen(ziel));
    }

    void verschieben()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Muster"));
        patientAnlegen(env.standardDatei(), QStringLiteral("Beispiel"));
        const QByteArray vorher = inhalt(env.standardDatei());
        auto w = env.starten();

        const QString ziel = env.basis() + QStringLiteral("/woanders/M\u00FCller.db");
        QDir().mkpath(env.basis() + QStringLiteral("/woanders"));
        env.dateiAntworten << ziel;
        ausloesen(*w, "aktionDbVerschieben");

        QCOMPARE(env.meldungen, QStringList());
        QVERIFY(!QFile::exists(env.standardDatei()));
        QCOMPARE(inhalt(ziel), vorher);
        QCOMPARE(w->windowTitle(), titel(ziel));
        QCOMPARE(letzteDatei(env), ziel);
        programmAendert(*w, QStringLiteral("Danach"));
        QCOMPARE(namen(ziel).last(), QStringLiteral("Danach"));
        w.reset();

        // The next start opens the moved file without a word.
        auto w2 = env.starten();
        QCOMPARE(w2->windowTitle(), titel(ziel));
        QCOMPARE(env.meldungen, QStringList());
    }

    void verschiebenAlteDateiGehalten()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Muster"));
        auto w = env.starten();
        Dateipflege::entfernen = [](const QString &, QString *fehler) {
            *fehler = QStringLiteral("Zugriff verweigert");
            return false;
        };

        const QString ziel = env.basis() + QStringLiteral("/neu.db");
        env.dateiAntworten << ziel;
        ausloesen(*w, "aktionDbVerschieben");

        QVERIFY(QFile::exists(env.standardDatei()));
        QCOMPARE(w->windowTitle(), titel(ziel));
        QCOMPARE(letzteDatei(env), ziel);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(ziel));
        QVERIFY(env.meldungen.first().contains(env.standardDatei()));
        QVERIFY(env.meldungen.first().contains(QStringLiteral("bleibt bestehen")));
        QVERIFY(env.meldungen.first().contains(QStringLiteral("Zugriff verweigert")));
    }

    // Copy and move never land on an existing file: nothing is copied,
    // deleted or switched, and the message says why.
    void vorhandenesZielWirdNichtBenutzt_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<bool>("dieBenutzte");
        QTest::newRow("kopieren auf andere Datei") << "aktionDbKopieren" << false;
        QTest::newRow("kopieren auf sich selbst") << "aktionDbKopieren" << true;
        QTest::newRow("verschieben auf andere Datei") << "aktionDbVerschieben" << false;
        QTest::newRow("verschieben auf sich selbst") << "aktionDbVerschieben" << true;
    }
    void vorhandenesZielWirdNichtBenutzt()
    {
        QFETCH(QString, aktion);
        QFETCH(bool, dieBenutzte);
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Aktuell"));
        const QString andere = env.basis() + QStringLiteral("/alt.db");
        env.datenbankAnlegen(andere);
        patientAnlegen(andere, QStringLiteral("Veraltet"));
        const QByteArray benutztVorher = inhalt(env.standardDatei());
        const QByteArray andereVorher = inhalt(andere);
        auto w = env.starten();
        const QString titelVorher = w->windowTitle();

        const QString ziel = dieBenutzte ? env.standardDatei() : andere;
        env.dateiAntworten << ziel;
        ausloesen(*w, qPrintable(aktion));

        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(ziel));
        QVERIFY(env.meldungen.first().contains(QStringLiteral("gibt es bereits")));
        QCOMPARE(w->windowTitle(), titelVorher);
        QCOMPARE(letzteDatei(env), env.standardDatei());
        QCOMPARE(inhalt(env.standardDatei()), benutztVorher);
        QCOMPARE(inhalt(andere), andereVorher);
        programmAendert(*w, QStringLiteral("Weiter"));
        QCOMPARE(namen(env.standardDatei()), (QStringList{QStringLiteral("Aktuell"), QStringLiteral("Weiter")}));
    }

    void abbrechenAendertNichts_data()
    {
        QTest::addColumn<QString>("aktion");
        QTest::newRow("kopieren") << "aktionDbKopieren";
        QTest::newRow("verschieben") << "aktionDbVerschieben";
        QTest::newRow("verbinden") << "aktionDbOeffnen";
    }
    void abbrechenAendertNichts()
    {
        QFETCH(QString, aktion);
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        auto w = env.starten();
        const QByteArray konfigurationVorher = inhalt(env.konfiguration());
        const QStringList dateienVorher = QDir(env.einstellungsOrdner()).entryList(QDir::Files);

        env.dateiAntworten << QString();
        ausloesen(*w, qPrintable(aktion));

        QCOMPARE(env.dateiTitel.size(), 1);
        QCOMPARE(env.meldungen, QStringList());
        QCOMPARE(w->windowTitle(), titel(env.standardDatei()));
        QCOMPARE(inhalt(env.konfiguration()), konfigurationVorher);
        QCOMPARE(QDir(env.einstellungsOrdner()).entryList(QDir::Files), dateienVorher);
        programmAendert(*w, QStringLiteral("Weiter"));
        QCOMPARE(namen(env.standardDatei()), QStringList{QStringLiteral("Weiter")});
    }

    void verbindenMitFruehererKopie()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Muster"));
        auto w = env.starten();

        const QString kopie = env.basis() + QStringLiteral("/kopie.db");
        env.dateiAntworten << kopie;
        ausloesen(*w, "aktionDbKopieren");
        programmAendert(*w, QStringLiteral("NurInKopie"));

        env.dateiAntworten << env.standardDatei();
        ausloesen(*w, "aktionDbOeffnen");
        QCOMPARE(w->windowTitle(), titel(env.standardDatei()));
        QCOMPARE(letzteDatei(env), env.standardDatei());

        env.dateiAntworten << kopie;
        ausloesen(*w, "aktionDbOeffnen");
        QCOMPARE(env.dateiTitel.last(), QStringLiteral("mit Datenbank verbinden"));
        QCOMPARE(w->windowTitle(), titel(kopie));
        QCOMPARE(letzteDatei(env), kopie);
        {
            DbSitzung db(*w);
            const auto zeilen = db.lesen(QStringLiteral("SELECT lastname FROM patient ORDER BY id"));
            QCOMPARE(zeilen.size(), 2);
            QCOMPARE(zeilen.at(1).value(0).toString(), QStringLiteral("NurInKopie"));
        }
        QCOMPARE(env.meldungen, QStringList());
        w.reset();

        auto w2 = env.starten();
        QCOMPARE(w2->windowTitle(), titel(kopie));
        QCOMPARE(env.meldungen, QStringList());
    }

    // An empty file shows no patient at all: nothing of the former file's
    // patient may stay on screen, where the windows would act on it.
    void verbindenMitLeererDatei()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        patientAnlegen(env.standardDatei(), QStringLiteral("Muster"));
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, "
                                                              "mittag, abend, nacht, hilfe, ordnung) VALUES "
                                                              "(1, 1, '2026-12-01', 30, 1, 0, 1, 0, 0, 1)"));
        Datei::ausfuehren(env.standardDatei(), QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES "
                                                              "(1, 'Hausarzt', '2027-01-05')"));
        const QString leer = env.basis() + QStringLiteral("/leer.db");
        env.datenbankAnlegen(leer);
        auto w = env.starten();
        const QStringList tabellen{QStringLiteral("tabellePatientenwahl"), QStringLiteral("tabelleZuordnung"),
                                   QStringLiteral("tabelleTermine"), QStringLiteral("tabelleUebersicht"),
                                   QStringLiteral("tabelleVerordnungsplan")};
        auto zeilen = [&] {
            QList<int> n;
            for (const QString &t : tabellen)
                n << teil<QTableWidget>(w.get(), t)->rowCount();
            return n;
        };
        QCOMPARE(zeilen(), (QList<int>{1, 1, 1, 1, 1}));

        env.dateiAntworten << leer;
        ausloesen(*w, "aktionDbOeffnen");
        QCOMPARE(w->windowTitle(), titel(leer));
        QCOMPARE(zeilen(), (QList<int>{0, 0, 0, 0, 0}));
        for (const char *label : {"kopfzeilePatient", "kopfzeileZeit", "anzeigeName", "anzeigeVorname"})
            QCOMPARE(teil<QLabel>(w.get(), QString::fromLatin1(label))->text(), QString());
    }

    // Only a file holding the five tables is taken; anything else is named
    // in a message and the program stays with the file in use.
    void verbindenNurMitKalvoriaDatenbank_data()
    {
        QTest::addColumn<QString>("art");
        QTest::newRow("Textdatei") << "text";
        QTest::newRow("fremde SQLite-Datei") << "fremd";
        QTest::newRow("nur vier Tabellen") << "unvollstaendig";
        QTest::newRow("fehlende Datei") << "fehlt";
    }
    void verbindenNurMitKalvoriaDatenbank()
    {
        QFETCH(QString, art);
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        const QString pfad = env.basis() + QStringLiteral("/fremd.db");
        if (art == QLatin1String("text")) {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Name;Vorname\nMuster;Erika\n");
        } else if (art == QLatin1String("fremd")) {
            Datei::ausfuehren(pfad, QStringLiteral("CREATE TABLE kunden (id INTEGER, name TEXT)"));
        } else if (art == QLatin1String("unvollstaendig")) {
            env.datenbankAnlegen(pfad);
            Datei::ausfuehren(pfad, QStringLiteral("DROP TABLE termine"));
        }
        const QByteArray fremdVorher = inhalt(pfad);
        auto w = env.starten();

        env.dateiAntworten << pfad;
        ausloesen(*w, "aktionDbOeffnen");

        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY2(env.meldungen.first().contains(pfad), qPrintable(env.meldungen.first()));
        QCOMPARE(w->windowTitle(), titel(env.standardDatei()));
        QCOMPARE(letzteDatei(env), env.standardDatei());
        QCOMPARE(inhalt(pfad), fremdVorher);
        programmAendert(*w, QStringLiteral("Weiter"));
        QCOMPARE(namen(env.standardDatei()), QStringList{QStringLiteral("Weiter")});
    }

    void reparaturfenster()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        auto w = env.starten();
        QStringList texte;
        QSize groesse;
        beiDialog([&](QDialog *d) {
            groesse = d->size();
            for (QLabel *l : d->findChildren<QLabel *>())
                texte << l->text();
            klicken(teil<QPushButton>(d, QStringLiteral("knopfReparierenAbbrechen")));
        });
        ausloesen(*w, "aktionReparieren");

        QCOMPARE(groesse, QSize(380, 200));
        QCOMPARE(texte.size(), 2);
        QVERIFY(texte.at(0).startsWith(QStringLiteral("Diese Aktion l\u00F6scht den Ordner Kalvoria unter Roaming")));
        QVERIFY(texte.at(0).contains(QStringLiteral("schlie\u00DFt das Programm. Die au\u00DFerhalb")));
        QCOMPARE(texte.at(0).count(QLatin1Char('\n')), 2);
        QVERIFY(texte.at(1).startsWith(QStringLiteral("Dies ist vor einer Neuinstallation")));
        QVERIFY(w->isVisible());
        QVERIFY(QFile::exists(env.konfiguration()));
        QVERIFY(QFile::exists(env.standardDatei()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        // Enter answers with the default button, which must not delete anything.
        beiDialog([](QDialog *d) { QTest::keyClick(d, Qt::Key_Return); });
        ausloesen(*w, "aktionReparieren");
        QVERIFY(w->isVisible());
        QVERIFY(QFile::exists(env.standardDatei()));
        QCOMPARE(w->findChildren<QDialog *>().size(), 0);
    }

    void reparierenLoeschtEinstellungsordner()
    {
        Umgebung env;
        const QString aussen = env.basis() + QStringLiteral("/Praxis/daten.db");
        env.datenbankAnlegen(aussen);
        patientAnlegen(aussen, QStringLiteral("Muster"));
        env.letzteDateiSetzen(aussen);
        env.datenbankAnlegen(env.standardDatei());
        QDir().mkpath(env.einstellungsOrdner() + QStringLiteral("/Sicherungen"));
        env.datenbankAnlegen(env.einstellungsOrdner() + QStringLiteral("/Sicherungen/alt.db"));
        const QByteArray aussenVorher = inhalt(aussen);
        auto w = env.starten();
        QCOMPARE(w->windowTitle(), titel(aussen));

        beiDialog([](QDialog *d) { klicken(teil<QPushButton>(d, QStringLiteral("knopfOrdnerLoeschen"))); });
        ausloesen(*w, "aktionReparieren");

        QVERIFY(!QFileInfo::exists(env.einstellungsOrdner()));
        // With no visible window left, the event loop of the program ends.
        QVERIFY(!w->isVisible());
        for (QWidget *fenster : QApplication::topLevelWidgets())
            QVERIFY2(!fenster->isVisible(), qPrintable(fenster->metaObject()->className()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(inhalt(aussen), aussenVorher);
        QCOMPARE(env.meldungen, QStringList());
        w.reset();
        QVERIFY(!QFileInfo::exists(env.einstellungsOrdner()));

        // The next start is a first start on the default file.
        auto w2 = env.starten();
        QCOMPARE(w2->windowTitle(), titel(env.standardDatei()));
        QCOMPARE(letzteDatei(env), env.standardDatei());
        QCOMPARE(Datei::tabellen(env.standardDatei()),
                 (QStringList{QStringLiteral("einnahme"), QStringLiteral("medikament"), QStringLiteral("patient"),
                              QStringLiteral("sorte"), QStringLiteral("termine")}));
        QCOMPARE(namen(env.standardDatei()), QStringList());
        QCOMPARE(env.meldungen, QStringList());
    }
};

QTEST_MAIN(DateiTest)
#include "tst_datei.moc"
