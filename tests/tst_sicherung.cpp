// SPDX-License-Identifier: GPL-3.0-or-later
// Backups: the daily copy after the start, copies before risky steps, the
// keep rules, restoring a copy and what is refused, a damaged file at start.
#include "fensterhilfe.h"

#include "sicherung/sicherung.h"

namespace {

QString kopie(const Umgebung &env, const QString &name)
{
    return env.sicherungsOrdner() + '/' + name;
}

QStringList namen(const QString &datei)
{
    QStringList n;
    for (const QVariantList &z : Datei::zeilen(datei, "SELECT lastname FROM patient ORDER BY id"))
        n << z.value(0).toString();
    return n;
}

// The names of the copies whose reason is anlass.
QStringList mitAnlass(const Umgebung &env, const QString &anlass)
{
    return env.sicherungen().filter(QRegularExpression('_' + anlass + "(-\\d+)?\\.db$"));
}

// A database of this program that SQLite finds damaged but that opens and
// shows its patients: a page of a table the program never reads is spoilt.
void beschaedigen(const QString &datei)
{
    Datei::ausfuehren(datei, "CREATE TABLE ballast (b BLOB)");
    for (int i = 0; i < 40; ++i)
        Datei::ausfuehren(datei, "INSERT INTO ballast VALUES (randomblob(2000))");
    QFile f(datei);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(f.size() - 4096) || f.write(QByteArray(4096, '\xAB')) != 4096)
        qFatal("cannot spoil %s", qPrintable(datei));
}

// A setting in config.ini, written before the program starts on the test's file.
void einstellen(Welt &t, const QString &schluessel, const QVariant &wert)
{
    if (!QFileInfo::exists(t.env.konfiguration()))
        t.env.letzteDateiSetzen(t.f);
    QSettings(t.env.konfiguration(), QSettings::IniFormat).setValue("sicherung/" + schluessel, wert);
}

// Opens "Sicherung wiederherstellen…", chooses the copy of the row whose
// reason is anlass (the newest such) and confirms it, the question
// answered with ja. What the list showed, one row a line, and whether the
// window closed.
struct Wiederherstellen {
    QList<QStringList> liste;
    bool geschlossen = false;
};
Wiederherstellen wiederherstellen(Welt &t, const QString &anlass, bool ja = true)
{
    Wiederherstellen w;
    const bool geoeffnet = imFenster([&] { teil<QAction>(t.w.get(), "aktionSicherungWiederherstellen")->trigger(); },
                                     [&](QDialog *d) {
                                         auto *tabelle = teil<QTableWidget>(d, "sicherungListe");
                                         for (int z = 0; z < tabelle->rowCount(); ++z) {
                                             QStringList zeile;
                                             for (int s = 1; s < tabelle->columnCount(); ++s)
                                                 zeile << tabelle->item(z, s)->text();
                                             w.liste << zeile;
                                         }
                                         const int z = spalte(tabelle, 3).indexOf(anlass);
                                         if (z >= 0)
                                             zelleKlicken(tabelle, z, 1);
                                         t.env.antworten << ja;
                                         druecken(d, "Wiederherstellen");
                                         w.geschlossen = !d->isVisible();
                                     });
    if (!geoeffnet)
        fehlschlag(QStringLiteral("no restore window"));
    return w;
}

} // namespace

class SicherungTest : public QObject
{
    Q_OBJECT
private slots:
    // The first start of a day writes one sound copy of the file, with its
    // data, into the data location; a second start that day writes none,
    // the first of the next day one more.
    void einmalAmTag()
    {
        Welt t;
        t.patient("Muster");
        t.starten();
        const QString heuteKopie = "medidat_2026-12-06_10-30-00_taeglich.db";
        QCOMPARE(t.env.sicherungen(), QStringList{heuteKopie});
        QCOMPARE(namen(kopie(t.env, heuteKopie)), (QStringList{"Muster"}));
        QCOMPARE(dateiPruefen(kopie(t.env, heuteKopie), true), QString());
        QVERIFY(!t.env.sicherungsOrdner().startsWith(t.env.einstellungsOrdner()));

        t.w.reset();
        t.env.zeit = t.env.zeit.addSecs(3 * 3600);
        t.starten();
        QCOMPARE(t.env.sicherungen(), QStringList{heuteKopie});

        t.w.reset();
        t.env.zeit = t.env.zeit.addDays(1);
        t.starten();
        QCOMPARE(t.env.sicherungen(), (QStringList{heuteKopie, "medidat_2026-12-07_13-30-00_taeglich.db"}));
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A file of the same name in another folder holds other patients: it
    // gets its own daily copy, its copies are offered for it alone, and a
    // copy of the other one is restored only after a warning naming it.
    void gleicherNameAndererOrdner()
    {
        Welt t;
        t.patient("Muster");
        t.starten();
        t.w.reset();
        const QString zweite = t.env.basis() + "/Station 2/medidat.db";
        QVERIFY(QDir().mkpath(QFileInfo(zweite).path()));
        t.env.datenbankAnlegen(zweite);
        Datei::ausfuehren(zweite, "INSERT INTO patient (lastname) VALUES ('Zorn')");
        t.env.letzteDateiSetzen(zweite);
        t.env.zeit = t.env.zeit.addSecs(60);
        t.starten();
        const QStringList taeglich = mitAnlass(t.env, "taeglich");
        QCOMPARE(taeglich.size(), 2);
        QCOMPARE(namen(kopie(t.env, taeglich.value(1))), (QStringList{"Zorn"}));

        // The first file's copy, taken a minute earlier.
        QVERIFY(imFenster([&] { teil<QAction>(t.w.get(), "aktionSicherungWiederherstellen")->trigger(); },
                          [&](QDialog *d) {
                              auto *liste = teil<QTableWidget>(d, "sicherungListe");
                              zelleKlicken(liste, spalte(liste, 2).indexOf("10:30"), 1);
                              t.env.antworten << false;
                              druecken(d, "Wiederherstellen");
                          }));
        QCOMPARE(t.env.fragen.size(), 1);
        QVERIFY2(t.env.fragen.value(0).startsWith("Achtung: Diese Sicherung stammt nicht von dieser Datenbank"),
                 qPrintable(t.env.fragen.value(0)));
        QCOMPARE(namen(zweite), (QStringList{"Zorn"}));
    }

    // "Reparieren" deletes the settings folder and the database in it: a
    // copy of that database stays in the data location.
    void vorDemReparieren()
    {
        Welt t;
        t.patient("Muster");
        t.starten();
        QVERIFY(imFenster([&] { menue(t.w.get(), "aktionReparieren"); },
                          [](QDialog *d) { klicken(teil<QPushButton>(d, "knopfOrdnerLoeschen")); }));
        QVERIFY(!QFileInfo::exists(t.f));
        const QStringList kopien = mitAnlass(t.env, "reparieren");
        QCOMPARE(kopien.size(), 1);
        QCOMPARE(namen(kopie(t.env, kopien.value(0))), (QStringList{"Muster"}));
    }

    // A restored copy leaves no trace of being one in the file.
    void wiederhergestellteDateiOhneHerkunft()
    {
        Welt t;
        t.patient("Muster");
        t.starten();
        QVERIFY(Datei::tabellen(kopie(t.env, t.env.sicherungen().value(0))).contains("sicherung_herkunft"));
        t.env.zeit = t.env.zeit.addSecs(60);
        QVERIFY(wiederherstellen(t, "t\u00E4glich").geschlossen);
        QVERIFY(!Datei::tabellen(t.f).contains("sicherung_herkunft"));
    }

    // Switched off, nothing is copied; a folder of the user's takes the copies.
    void einstellungenBeimStart_data()
    {
        QTest::addColumn<bool>("aktiv");
        QTest::addColumn<QString>("ordner");
        QTest::newRow("aus") << false << QString();
        QTest::newRow("eigener Ordner") << true << "Meine Sicherungen";
    }
    void einstellungenBeimStart()
    {
        QFETCH(bool, aktiv);
        QFETCH(QString, ordner);
        Welt t;
        const QString eigener = ordner.isEmpty() ? QString() : t.env.basis() + '/' + ordner;
        einstellen(t, "aktiv", aktiv);
        einstellen(t, "ordner", eigener);
        t.starten();
        QCOMPARE(t.env.sicherungen(), QStringList());
        if (!eigener.isEmpty())
            QCOMPARE(QDir(eigener).entryList(QDir::Files), QStringList{"medidat_2026-12-06_10-30-00_taeglich.db"});
    }

    // Before deleting a patient or a medication, moving the file or
    // changing to another, a copy of the file as it was.
    void vorRiskantemSchritt_data()
    {
        QTest::addColumn<QString>("schritt");
        QTest::addColumn<QString>("anlass");
        QTest::newRow("Patient l\u00F6schen") << "knopfPatientEntfernen"
                                              << "patient-loeschen";
        QTest::newRow("Medikament l\u00F6schen") << "knopfMedikamentLoeschen"
                                                 << "medikament-loeschen";
        QTest::newRow("verschieben") << "aktionDbVerschieben"
                                     << "verschieben";
        QTest::newRow("verbinden") << "aktionDbOeffnen"
                                   << "verbinden";
    }
    void vorRiskantemSchritt()
    {
        QFETCH(QString, schritt);
        QFETCH(QString, anlass);
        Welt t;
        t.patient("Muster");
        t.packung("Ramipril", "Ramilich 5");
        mitListen(t, {});
        // What the copy must hold: the state before the step.
        tippe(t, "editName", "Vorher");
        t.knopf("knopfPatientAendern");
        const QString andere = t.env.basis() + "/andere.db";
        t.env.datenbankAnlegen(andere);
        t.env.dateiAntworten << (anlass == "verbinden" ? andere : t.env.basis() + "/neu.db");
        t.env.antworten << true;
        if (schritt.startsWith("aktion"))
            teil<QAction>(t.w.get(), schritt)->trigger();
        else
            t.knopf(qPrintable(schritt));
        QCOMPARE(mitAnlass(t.env, anlass), QStringList{"medidat_2026-12-06_10-30-00_" + anlass + ".db"});
        QCOMPARE(namen(kopie(t.env, mitAnlass(t.env, anlass).value(0))), (QStringList{"Vorher"}));
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A copy that cannot be written is reported once, in German, and the
    // program works on; before a risky step the user decides whether to go on.
    void ohneSicherung()
    {
        Welt t;
        t.patient("Muster");
        // A file where the folder should be: nothing can be written there.
        const QString keinOrdner = t.env.basis() + "/keinOrdner";
        QFile datei(keinOrdner);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.close();
        einstellen(t, "ordner", keinOrdner);
        mitListen(t, {});
        QVERIFY2(t.env.meldungen.size() == 1, qPrintable(t.env.meldungen.join("\n---\n")));
        QVERIFY2(t.env.meldungen.value(0).startsWith("Die t\u00E4gliche Sicherung der Datenbank konnte nicht angelegt "
                                                     "werden"),
                 qPrintable(t.env.meldungen.value(0)));

        tippe(t, "editName", "Weiter");
        t.knopf("knopfPatientAendern");
        QCOMPARE(namen(t.f), (QStringList{"Weiter"}));

        t.env.antworten << true << false; // delete, then: go on without a copy? No.
        t.knopf("knopfPatientEntfernen");
        QCOMPARE(namen(t.f), (QStringList{"Weiter"}));
        QVERIFY(t.env.fragen.value(1).contains("Trotzdem fortfahren, ohne Sicherung?"));
        t.env.antworten << true << true;
        t.knopf("knopfPatientEntfernen");
        QVERIFY(namen(t.f).isEmpty());
    }

    // The keep rules, a day at a time with the clock of each day: the last
    // 14 daily copies, the newest of each of the last 8 weeks and of the
    // last 12 months; copies before a risky step for 30 days. Each file's
    // copies on their own.
    void behalteregeln_data()
    {
        QTest::addColumn<QDate>("ende");
        QTest::addColumn<QDate>("pauseBis");
        QTest::addColumn<QStringList>("bleiben");
        QTest::addColumn<QStringList>("riskant");
        const QStringList monate{"2026-01-31", "2026-02-28", "2026-03-31", "2026-04-30", "2026-05-31",
                                 "2026-06-30", "2026-07-31", "2026-08-31", "2026-09-30"};
        QStringList jeden = monate;
        jeden << "2026-10-31"
              << "2026-11-15"
              << "2026-11-22"
              << "2026-11-29"
              << "2026-11-30"
              << "2026-12-06"
              << "2026-12-13";
        for (int tag = 18; tag <= 31; ++tag)
            jeden << QStringLiteral("2026-12-%1").arg(tag);
        QTest::newRow("jeden Tag") << QDate(2026, 12, 31) << QDate() << jeden
                                   << QStringList{"2026-12-01", "2026-12-11", "2026-12-21", "2026-12-31"};
        // Eight weeks without a start: the last 14 daily copies stay however
        // old, the months too.
        QStringList pause = monate;
        for (int tag = 19; tag <= 31; ++tag)
            pause << QStringLiteral("2026-10-%1").arg(tag);
        pause << "2026-12-31";
        QTest::newRow("mit Pause") << QDate(2026, 12, 31) << QDate(2026, 12, 30) << pause << QStringList{"2026-12-31"};
    }
    void behalteregeln()
    {
        QFETCH(QDate, ende);
        QFETCH(QDate, pauseBis);
        QFETCH(QStringList, bleiben);
        QFETCH(QStringList, riskant);
        const auto kopieVon = [](const QDate &tag, const QString &anlass, const QString &stamm = "medidat") {
            const QDateTime zeit(tag, QTime(10, 0));
            return Sicherungskopie{sicherungsName(stamm, zeit, anlass), stamm, zeit, anlass};
        };
        // Another file's single old copy is its newest: it stays.
        QVector<Sicherungskopie> kopien{kopieVon(QDate(2025, 1, 1), "taeglich", "andere")};
        for (QDate tag(2025, 1, 1); tag <= ende; tag = tag.addDays(1)) {
            if (pauseBis.isValid() && tag > QDate(2026, 10, 31) && tag <= pauseBis)
                continue;
            kopien << kopieVon(tag, "taeglich");
            if (tag.day() % 10 == 1)
                kopien << kopieVon(tag, "patient-loeschen");
            const QVector<Sicherungskopie> weg = ueberzaehligeSicherungen(kopien, QDateTime(tag, QTime(10, 0)), 14);
            kopien.erase(std::remove_if(kopien.begin(), kopien.end(),
                                        [&](const Sicherungskopie &k) {
                                            return std::any_of(weg.begin(), weg.end(), [&](const Sicherungskopie &w) {
                                                return w.datei == k.datei;
                                            });
                                        }),
                         kopien.end());
        }
        QStringList taeglich, vorRiskantem, andere;
        for (const Sicherungskopie &k : kopien)
            (k.stamm == "andere"      ? andere
             : k.anlass == "taeglich" ? taeglich
                                      : vorRiskantem)
                << k.zeit.date().toString(Qt::ISODate);
        std::sort(taeglich.begin(), taeglich.end());
        QCOMPARE(taeglich, bleiben);
        QCOMPARE(vorRiskantem, riskant);
        QCOMPARE(andere, QStringList{"2025-01-01"});
    }

    // The start removes what the rules let go, of this file only, and a
    // copy left half written days ago.
    void aufraeumenBeimStart()
    {
        Welt t;
        QDir().mkpath(t.env.sicherungsOrdner());
        QStringList vorher;
        for (int tag = 1; tag <= 20; ++tag)
            vorher << sicherungsName("medidat", QDateTime(heute.addDays(-tag), QTime(9, 0)), "taeglich");
        vorher << sicherungsName("medidat", QDateTime(heute.addDays(-31), QTime(9, 0)), "verschieben")
               << sicherungsName("medidat", QDateTime(heute.addDays(-29), QTime(9, 0)), "verschieben")
               << sicherungsName("andere", QDateTime(heute.addDays(-300), QTime(9, 0)), "taeglich")
               << "medidat_2026-12-01_09-00-00_taeglich.db.teil";
        for (const QString &n : vorher) {
            QFile f(kopie(t.env, n));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime);
        }
        t.starten();
        QStringList weg;
        for (const QString &n : vorher)
            if (!QFileInfo::exists(kopie(t.env, n)))
                weg << n;
        QCOMPARE(weg, (QStringList{"medidat_2026-11-21_09-00-00_taeglich.db", "medidat_2026-11-20_09-00-00_taeglich.db",
                                   "medidat_2026-11-19_09-00-00_taeglich.db", "medidat_2026-11-18_09-00-00_taeglich.db",
                                   "medidat_2026-11-17_09-00-00_taeglich.db", "medidat_2026-11-16_09-00-00_taeglich.db",
                                   "medidat_2026-11-05_09-00-00_verschieben.db",
                                   "medidat_2026-12-01_09-00-00_taeglich.db.teil"}));
    }

    // A good copy replaces the file: the copy's data are shown, the state
    // before is itself kept as a copy, and the history written since stays,
    // with the restore in it.
    void guteSicherung()
    {
        Welt t;
        t.patient("Muster");
        mitListen(t, {});
        t.env.zeit = t.env.zeit.addSecs(60);
        t.env.antworten << true;
        t.knopf("knopfPatientEntfernen");
        t.knopf("radioPatientHinzufuegen");
        tippe(t, "neuName", "Neu");
        t.knopf("knopfPatientEintragen");

        t.env.zeit = t.env.zeit.addSecs(60);
        const Wiederherstellen w = wiederherstellen(t, "t\u00E4glich");
        QCOMPARE(w.liste.size(), 2);
        QCOMPARE(w.liste.value(0),
                 (QStringList{"06.12.2026", "10:31", "vor dem L\u00F6schen eines Patienten", "1", "0", "medidat"}));
        QCOMPARE(w.liste.value(1), (QStringList{"06.12.2026", "10:30", "t\u00E4glich", "1", "0", "medidat"}));
        QVERIFY(w.geschlossen);
        QCOMPARE(namen(t.f), (QStringList{"Muster"}));
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1), QStringList{"Muster"});
        QCOMPARE(namen(kopie(t.env, mitAnlass(t.env, "wiederherstellen").value(0))), (QStringList{"Neu"}));
        QStringList arten;
        for (const QVariantList &z : Datei::zeilen(t.f, "SELECT art FROM verlauf ORDER BY id"))
            arten << z.value(0).toString();
        QCOMPARE(arten, (QStringList{"Patient gel\u00F6scht", "Patient angelegt", "Sicherung wiederhergestellt"}));
        QCOMPARE(Datei::wert(t.f, "SELECT alt || ' -> ' || neu FROM verlauf WHERE art = 'Sicherung wiederhergestellt'")
                     .toString(),
                 "Stand vom 06.12.2026, 10:32 Uhr -> Sicherung vom 06.12.2026, 10:30 Uhr (t\u00E4glich)");
        QVERIFY(
            t.env.meldungen.value(0).startsWith("Die Sicherung vom 06.12.2026, 10:30 Uhr wurde wiederhergestellt."));
    }

    // A damaged copy is refused with a message; the file stays as it was
    // and the window open for another choice.
    void beschaedigteSicherung()
    {
        Welt t;
        t.patient("Muster");
        t.starten();
        const QString schlecht = kopie(t.env, "medidat_2026-12-06_11-00-00_verschieben.db");
        QVERIFY(QFile::copy(kopie(t.env, t.env.sicherungen().value(0)), schlecht));
        beschaedigen(schlecht);
        Datei::ausfuehren(t.f, "INSERT INTO patient (lastname) VALUES ('Danach')");
        const Wiederherstellen w = wiederherstellen(t, "vor dem Verschieben der Datenbank");
        QVERIFY(!w.geschlossen);
        QCOMPARE(namen(t.f), (QStringList{"Muster", "Danach"}));
        QCOMPARE(t.env.meldungen.size(), 1);
        QVERIFY2(t.env.meldungen.value(0).contains("Sie ist besch\u00E4digt."), qPrintable(t.env.meldungen.value(0)));
        QCOMPARE(mitAnlass(t.env, "wiederherstellen"), QStringList());
    }

    // Nothing is replaced under another window that has the file open, nor
    // under a program that is changing it; the message says why.
    void nichtUnterAnderenFenstern_data()
    {
        QTest::addColumn<bool>("fenster");
        QTest::newRow("zweites Kalvoria-Fenster") << true;
        QTest::newRow("anderes Programm \u00E4ndert gerade") << false;
    }
    void nichtUnterAnderenFenstern()
    {
        QFETCH(bool, fenster);
        Welt t;
        t.patient("Muster");
        t.starten();
        Datei::ausfuehren(t.f, "INSERT INTO patient (lastname) VALUES ('Danach')");
        std::unique_ptr<MainWindow> zweites;
        QSqlDatabase fremd;
        if (fenster) {
            zweites = t.env.starten();
        } else {
            fremd = QSqlDatabase::addDatabase("QSQLITE", "fremd");
            fremd.setDatabaseName(t.f);
            QVERIFY(fremd.open());
            QVERIFY(QSqlQuery(fremd).exec("BEGIN IMMEDIATE"));
        }
        const Wiederherstellen w = wiederherstellen(t, "t\u00E4glich");
        if (fremd.isOpen()) {
            fremd.rollback();
            fremd.close();
        }
        fremd = QSqlDatabase();
        QSqlDatabase::removeDatabase("fremd");
        QVERIFY(!w.geschlossen);
        QCOMPARE(namen(t.f), (QStringList{"Muster", "Danach"}));
        QVERIFY2(t.env.meldungen.value(0).contains(fenster ? "noch in einem anderen Kalvoria-Fenster ge\u00F6ffnet"
                                                           : "gerade von einem anderen Programm ge\u00E4ndert"),
                 qPrintable(t.env.meldungen.value(0)));

        // Once the other is gone, the copy comes back.
        zweites.reset();
        t.env.meldungen.clear();
        QVERIFY(wiederherstellen(t, "t\u00E4glich").geschlossen);
        QCOMPARE(namen(t.f), (QStringList{"Muster"}));
    }

    // A program killed while it writes a copy leaves nothing that looks
    // like a copy: the half-written file has no copy's name, is never
    // offered, and the next start writes a complete one.
    void abgebrocheneSicherung()
    {
        Welt t;
        t.patient("Muster");
        Sicherungspflege::vorDemUmbenennen = [](const QString &) { return false; };
        t.starten();
        QCOMPARE(t.env.sicherungen(), QStringList{"medidat_2026-12-06_10-30-00_taeglich.db.teil"});
        QVERIFY(wiederherstellen(t, "t\u00E4glich").liste.isEmpty());

        t.w.reset();
        Sicherungspflege::vorDemUmbenennen = nullptr;
        t.env.zeit = t.env.zeit.addSecs(60);
        t.env.meldungen.clear();
        t.starten();
        QCOMPARE(mitAnlass(t.env, "taeglich"), QStringList{"medidat_2026-12-06_10-31-00_taeglich.db"});
        QCOMPARE(t.env.meldungen, QStringList());
    }

    // A file SQLite finds damaged at the start: the user is told and offered
    // the newest sound copy (not a newer damaged one); yes restores it and
    // keeps the damaged file, no leaves everything as it is. No daily copy
    // of a damaged file pushes good ones out.
    void beschaedigtBeimStart_data()
    {
        QTest::addColumn<bool>("ja");
        QTest::newRow("ja") << true;
        QTest::newRow("nein") << false;
    }
    void beschaedigtBeimStart()
    {
        QFETCH(bool, ja);
        Welt t;
        QDir().mkpath(t.env.sicherungsOrdner());
        t.patient("Muster");
        QVERIFY(QFile::copy(t.f, kopie(t.env, "medidat_2026-12-04_09-00-00_taeglich.db")));
        t.patient("Berg");
        QVERIFY(QFile::copy(t.f, kopie(t.env, "medidat_2026-12-05_09-00-00_taeglich.db")));
        t.patient("Zorn");
        QVERIFY(QFile::copy(t.f, kopie(t.env, "medidat_2026-12-05_18-00-00_verschieben.db")));
        beschaedigen(kopie(t.env, "medidat_2026-12-05_18-00-00_verschieben.db"));
        beschaedigen(t.f);
        t.env.antworten << ja;
        t.starten();
        QCOMPARE(t.env.fragen.size(), 1);
        QVERIFY2(t.env.fragen.value(0).contains("besch\u00E4digt"), qPrintable(t.env.fragen.value(0)));
        QVERIFY2(t.env.fragen.value(0).contains("Sicherung vom 05.12.2026, 09:00 Uhr (t\u00E4glich)"),
                 qPrintable(t.env.fragen.value(0)));
        QCOMPARE(mitAnlass(t.env, "taeglich").size(), 2);
        QCOMPARE(namen(t.f), ja ? (QStringList{"Muster", "Berg"}) : (QStringList{"Muster", "Berg", "Zorn"}));
        QCOMPARE(spalte(t.tabelle("tabellePatientenwahl"), 1).size(), ja ? 2 : 3);
        const QStringList aufbewahrt = mitAnlass(t.env, "beschaedigt");
        QCOMPARE(aufbewahrt.size(), ja ? 1 : 0);
        // The damaged file as it was, for whoever may still rescue something from it.
        if (ja)
            QCOMPARE(namen(kopie(t.env, aufbewahrt.value(0))), (QStringList{"Muster", "Berg", "Zorn"}));
    }

    // The settings window stores folder, number kept and on/off in
    // config.ini; a folder the repair would delete or a relative one is refused.
    void einstellungsfenster_data()
    {
        QTest::addColumn<QString>("ordner");
        QTest::addColumn<bool>("gespeichert");
        QTest::newRow("gew\u00E4hlter Ordner") << "/Sicherungen der Pflege" << true;
        QTest::newRow("leer: der Standard") << "" << true;
        QTest::newRow("im Einstellungsordner") << "/Kalvoria/Sicherungen" << false;
        QTest::newRow("ohne ganzen Pfad") << "relativ" << false;
    }
    void einstellungsfenster()
    {
        QFETCH(QString, ordner);
        QFETCH(bool, gespeichert);
        Welt t;
        t.starten();
        const QString pfad = ordner.startsWith('/') ? t.env.basis() + ordner : ordner;
        t.env.ordnerAntworten << pfad;
        bool zu = false;
        QVERIFY(imFenster([&] { teil<QAction>(t.w.get(), "aktionSicherungEinstellen")->trigger(); },
                          [&](QDialog *d) {
                              klicken(teil<QCheckBox>(d, "sicherungAktiv"));
                              teil<QSpinBox>(d, "sicherungAnzahl")->setValue(7);
                              tippen(teil<QLineEdit>(d, "sicherungOrdnerFeld"), "irgendwas");
                              if (pfad.isEmpty())
                                  tippen(teil<QLineEdit>(d, "sicherungOrdnerFeld"), "");
                              else
                                  druecken(d, "W\u00E4hlen\u2026");
                              druecken(d, "Speichern");
                              zu = !d->isVisible();
                          }));
        QCOMPARE(zu, gespeichert);
        QSettings s(t.env.konfiguration(), QSettings::IniFormat);
        QCOMPARE(s.value("sicherung/aktiv").toString(), gespeichert ? "false" : "");
        QCOMPARE(s.value("sicherung/taeglich").toString(), gespeichert ? "7" : "");
        QCOMPARE(s.value("sicherung/ordner").toString(), gespeichert ? pfad : "");
        QCOMPARE(t.env.meldungen.size(), gespeichert ? 0 : 1);
    }
};

QTEST_MAIN(SicherungTest)
#include "tst_sicherung.moc"
