// SPDX-License-Identifier: GPL-3.0-or-later
// What must be ordered, without a window: packages, and the next
// family-doctor appointment of every patient at once.
#include "testhilfe.h"

#include "appointments/hausarzt.h"
#include "bedarf/rezeptbedarf.h"

#include <QTest>

namespace {

// A connection of the test's own: its first session adds the program's
// indexes to the file.
class Verbindung : public DbVerbindung
{
public:
    explicit Verbindung(const QString &pfad) { datenbankDatei = pfad; }

protected:
    void datenbankFehler(const QString &text) override { fehlschlag(text); }
    void datenbankKonflikt() override {}
};

} // namespace

class BedarfsregelnTest : public QObject
{
    Q_OBJECT
private slots:
    // The consumption up to the day and a week more, less today's stock,
    // in whole packages.
    void packungen_data()
    {
        QTest::addColumn<float>("verbrauch");
        QTest::addColumn<float>("bestand");
        QTest::addColumn<int>("tage");
        QTest::addColumn<double>("einheiten");
        QTest::addColumn<int>("packungen"); // -1: unknown
        QTest::newRow("Rechenbeispiel") << 2.0f << 10.0f << 28 << 20.0 << 3;
        QTest::newRow("genau aufgehend") << 2.0f << 30.0f << 28 << 20.0 << 2;
        QTest::newRow("eine Einheit mehr") << 2.0f << 29.0f << 28 << 20.0 << 3;
        // Units below zero were never taken: nothing is owed for them.
        QTest::newRow("Bestand unter null") << 2.0f << -20.0f << 28 << 20.0 << 4;
        QTest::newRow("halbe Einheiten je Packung") << 1.0f << 0.0f << 0 << 2.5 << 3;
        // 0.1 a day for ten days is a little over 1 in single precision.
        QTest::newRow("Rest der einfachen Genauigkeit") << 0.1f << 0.0f << 3 << 1.0 << 1;
        QTest::newRow("keine Einheiten") << 2.0f << 10.0f << 28 << 0.0 << -1;
    }
    void packungen()
    {
        QFETCH(float, verbrauch);
        QFETCH(float, bestand);
        QFETCH(int, tage);
        QFETCH(double, einheiten);
        QFETCH(int, packungen);
        QCOMPARE(packungenBerechnen(verbrauch, bestand, tage, einheiten).value_or(-1), packungen);
        QVERIFY(!packungenBerechnen(verbrauch, bestand, tage, std::nullopt));
    }

    // Whether a line is due by the day: its last day with stock before it,
    // by the overview's own figures; never without daily use; always when
    // its stored values cannot be used.
    void faellig_data()
    {
        QTest::addColumn<QVariant>("stand");
        QTest::addColumn<int>("gezaehlt"); // days before today
        QTest::addColumn<double>("morgen");
        QTest::addColumn<int>("stichtag"); // days after today
        // listed | last day after today | used up | yellow | packages of 20 ("-" for none)
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Rechenbeispiel") << QVariant(30.0) << 10 << 2.0 << 28 << "1|4|0|1|3";
        QTest::newRow("letzter Tag vor dem Stichtag") << QVariant(10.0) << 0 << 1.0 << 10 << "1|9|0|1|1";
        QTest::newRow("letzter Tag am Stichtag") << QVariant(10.0) << 0 << 1.0 << 9 << "0";
        QTest::newRow("ein halber Tag mehr") << QVariant(10.5) << 0 << 1.0 << 10 << "1|9|0|1|1";
        QTest::newRow("letzter Tag heute") << QVariant(1.0) << 0 << 1.0 << 28 << "1|0|0|1|2";
        QTest::newRow("aufgebraucht") << QVariant(5.0) << 10 << 1.0 << 28 << "1|-6|1|1|2";
        QTest::newRow("ohne Verbrauch") << QVariant(5.0) << 0 << 0.0 << 1000 << "0";
        QTest::newRow("ohne Verbrauch und Bestand") << QVariant(0.0) << 0 << 0.0 << 1000 << "0";
        QTest::newRow("ohne Verbrauch, unter null") << QVariant(-5.0) << 0 << 0.0 << 1000 << "0";
        QTest::newRow("ungueltig") << QVariant(QStringLiteral("viel")) << 0 << 0.0 << 0
                                   << "1|Bestand \u201Eviel\u201C ist keine Zahl";
    }
    void faellig()
    {
        QFETCH(QVariant, stand);
        QFETCH(int, gezaehlt);
        QFETCH(double, morgen);
        QFETCH(int, stichtag);
        QFETCH(QString, erwartet);
        const QDate heute(2026, 12, 6);
        const std::optional<Bedarf> b = bedarfPruefen(stand,
                                                      heute.addDays(-gezaehlt).toString(QStringLiteral("yyyy-MM-dd")),
                                                      {morgen, 0.0, 0.0, 0.0}, heute, heute.addDays(stichtag), 20.0);
        QString gesehen = QString::number(b.has_value());
        if (b && !b->fehler.isEmpty())
            gesehen += '|' + b->fehler;
        else if (b)
            gesehen += QStringLiteral("|%1|%2|%3|%4")
                           .arg(heute.daysTo(b->reichtBis))
                           .arg(b->leer)
                           .arg(b->gelb)
                           .arg(b->packungen ? QString::number(*b->packungen) : QStringLiteral("-"));
        QCOMPARE(gesehen, erwartet);
    }

    // Lines that cannot be counted first, then by the last day, the patient
    // (in the patients' order) and the line's position, an unset one first.
    void reihenfolge()
    {
        auto zeile = [](qint64 id, int patient, const QVariant &ordnung, int tag, bool gueltig = true) {
            Bedarfszeile z;
            z.einnahme = id;
            z.patient = patient;
            z.ordnung = ordnung;
            z.bedarf.reichtBis = QDate(2026, 12, 6).addDays(tag);
            if (!gueltig)
                z.bedarf.fehler = QStringLiteral("Bestand fehlt");
            return z;
        };
        QVector<Bedarfszeile> zeilen{zeile(1, 0, 1, 5),          zeile(2, 1, 1, 3),        zeile(3, 0, 2, 3),
                                     zeile(4, 0, QVariant(), 3), zeile(5, 2, 9, 9, false), zeile(6, 0, 1, -2),
                                     zeile(7, 1, 1, 3)};
        bedarfSortieren(zeilen);
        QStringList ids;
        for (const Bedarfszeile &z : zeilen)
            ids << QString::number(z.einnahme);
        QCOMPARE(ids.join(' '), QStringLiteral("5 6 4 3 2 7 1"));
    }

    // The grouped query finds for every patient the appointment the settings
    // page finds for the one chosen, among values another program may have
    // stored, in a file as earlier versions left it and with the indexes the
    // program adds.
    void hausarztWieFuerEinenPatienten_data()
    {
        QTest::addColumn<bool>("indizes");
        QTest::newRow("ohne Indizes") << false;
        QTest::newRow("mit den Indizes des Programms") << true;
    }
    void hausarztWieFuerEinenPatienten()
    {
        QFETCH(bool, indizes);
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        if (indizes) {
            Verbindung v(f);
            DbSitzung s(v);
            QCOMPARE(Datei::wert(f, "SELECT count(*) FROM sqlite_master WHERE name = 'termine_hausarzt'").toInt(), 1);
        }
        const QString termin = QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES ");
        Datei::ausfuehren(f, termin + "(1, 'Hausarzt', 20261210), (1, 'Hausarzt', NULL), (1, 'Hausarzt', "
                                      "'2026-12-05'), (1, 'Dr. Kunz', '2026-12-08'), (1, 'hausarzt', '2026-12-07'), "
                                      "(1, 'Hausarzt ', '2026-12-07'), (1, 'Hausarzt', '2026-12-15'), (1, "
                                      "'Hausarzt', X'32303236'), (1, 'Hausarzt', 2026.5)");
        Datei::ausfuehren(f, termin + "(2, 'Hausarzt', '2027-01-01'), (2, 'Hausarzt', '2026-12-06')");
        Datei::ausfuehren(f, termin + "(3, 'Hausarzt', '2026-11-01'), (3, NULL, '2026-12-20')");
        Datei::ausfuehren(f, termin + "(4, 'Hausarzt', '2026/12/20'), (4, 'Hausarzt', '2026-12-19')");
        Datei::ausfuehren(f, termin + "(5, 'Hausarzt', 'morgen'), (5, X'4861757361727a74', '2026-12-10')");
        const QDate heute(2026, 12, 6);
        const QString heuteText = heute.toString(QStringLiteral("yyyy-MM-dd"));

        QMap<int, QDate> alle;
        for (const QVariantList &z : Datei::zeilen(f, QString::fromLatin1(naechsteHausarztTermine), {heuteText}))
            alle.insert(z.value(0).toInt(), z.value(1).toDate());
        for (int patient = 1; patient <= 5; ++patient) {
            QDate einzeln;
            for (const QVariantList &z : Datei::zeilen(f,
                                                       QStringLiteral("SELECT arzt, arzt_date FROM termine WHERE "
                                                                      "pata_id = ? ORDER BY arzt_date ASC"),
                                                       {patient})) {
                if (hausarztTerminAb(z.value(0), z.value(1), heuteText.toUtf8())) {
                    einzeln = z.value(1).toDate();
                    break;
                }
            }
            QVERIFY2(alle.value(patient) == einzeln, qPrintable(QString::number(patient)));
        }
        QCOMPARE(alle.value(1), QDate(2026, 12, 15));
        QCOMPARE(alle.value(2), heute);
        QVERIFY(!alle.contains(3));
        QCOMPARE(alle.value(4), QDate(2026, 12, 19));
        QVERIFY(alle.contains(5) && !alle.value(5).isValid());
    }
};

QTEST_GUILESS_MAIN(BedarfsregelnTest)
#include "tst_bedarfsregeln.moc"
