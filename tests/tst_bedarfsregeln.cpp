// SPDX-License-Identifier: GPL-3.0-or-later
// What must be ordered, without a window: packages, the next family-doctor
// appointment of every patient at once, and the list read from a file of
// odd lines, held against the overview's own rules and read both through
// SQLite itself and through Qt.
#include "testhilfe.h"

#include "app/programm.h"
#include "appointments/hausarzt.h"
#include "bedarf/rezeptbedarf.h"
#include "intake/bestand.h"
#include "text/textformat.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

const QDate heute(2026, 12, 6);

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

// A line as the list shows it: why it cannot be counted, or its last day,
// marks, packages, daily use, stock and the range as the overview writes it.
QString beschreibung(const Bedarf &b)
{
    if (!b.fehler.isEmpty())
        return QStringLiteral("ung\u00FCltig: ") + b.fehler;
    return QStringLiteral("bis %1, leer %2, gelb %3, %4 Packungen, %5 je Tag, Bestand %6, Reichweite %7")
        .arg(b.reichtBis.toString(Qt::ISODate))
        .arg(b.leer)
        .arg(b.gelb)
        .arg(b.packungen ? QString::number(*b.packungen) : QStringLiteral("?"))
        .arg(QString::number(static_cast<double>(b.verbrauch), 'g', 9),
             QString::number(static_cast<double>(b.bestand), 'g', 9), bestandText(b.reichweite));
}

// The overview's own rules for one line, without any shortcut: its values
// checked with their reasons, the stock as the row cache computes it, the
// range written as the cache writes it and read back as the overview reads it.
std::optional<Bedarf> nachDenRegeln(const QVariant &stand, const QVariant &tag, const QVariantList &dosen,
                                    const QDate &stichtag, const std::optional<double> &einheiten)
{
    Bedarf b;
    const Zeilenpruefung pruefung = zeilePruefen(stand, tag, dosen);
    if (!pruefung.fehler.isEmpty()) {
        b.fehler = pruefung.fehler;
        return b;
    }
    const Bestand bestand = bestandBerechnen(stand.toFloat(), dosen.at(0).toFloat(), dosen.at(1).toFloat(),
                                             dosen.at(2).toFloat(), dosen.at(3).toFloat(), tagLesen(tag), heute);
    const Reichweite r = reichweiteZahlen(bestandText(bestand.reichweite), bestand.verbrauch, heute, QDate());
    if (r.ohneVerbrauch || !(r.reichtBis < stichtag))
        return std::nullopt;
    b.verbrauch = bestand.verbrauch;
    b.bestand = bestand.heute;
    b.reichweite = bestand.reichweite;
    b.reichtBis = r.reichtBis;
    b.leer = r.reichtBis < heute;
    b.gelb = r.gelb;
    b.packungen = packungenBerechnen(bestand.verbrauch, bestand.heute, heute.daysTo(stichtag), einheiten);
    return b;
}

// One of the values, at random.
QVariant eines(QRandomGenerator &zufall, const QVariantList &werte)
{
    return werte.at(static_cast<int>(zufall.bounded(static_cast<quint32>(werte.size()))));
}

const double unendlich = std::numeric_limits<double>::infinity();

// Patients with and without a next family-doctor appointment, some of them
// written in forms only the date parser reads, and lines of every kind:
// odd values, and valid ones whose stock ends around the chosen days.
void welt(DbSitzung &db, bool typisiert)
{
    if (!typisiert) {
        // Untyped columns keep every value as it was bound: no affinity turns "14" into 14.
        db.aendern(QStringLiteral("DROP TABLE einnahme"));
        db.aendern(QStringLiteral("CREATE TABLE einnahme (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id, med_id, "
                                  "tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung)"));
    }
    const QVariantList termine{QVariant(),
                               heute.addDays(5).toString(Qt::ISODate),
                               heute.addDays(28).toString(Qt::ISODate),
                               heute.addDays(29).toString(Qt::ISODate),
                               heute.addDays(45).toString(Qt::ISODate),
                               heute.addDays(400).toString(Qt::ISODate),
                               QStringLiteral("2027/01/20"),
                               QStringLiteral("2027-01-20T10:00"),
                               QStringLiteral("2027-02-29"),
                               QStringLiteral("2028-02-29"),
                               QStringLiteral("irgendwann"),
                               qlonglong(20270101)};
    for (int p = 1; p <= 40; ++p) {
        db.aendern(QStringLiteral("INSERT INTO patient (id, firstname, lastname) VALUES (:id, 'Anna', :name)"),
                   {{QStringLiteral(":id"), p}, {QStringLiteral(":name"), QStringLiteral("Patient %1").arg(p)}});
        const QVariant termin = termine.at(p % termine.size());
        if (!termin.isNull())
            db.aendern(QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (:p, 'Hausarzt', :d)"),
                       {{QStringLiteral(":p"), p}, {QStringLiteral(":d"), termin}});
    }
    const QVariantList einheiten{20, 2.5, QStringLiteral("30"), QStringLiteral("viele"), 0, QVariant(), -5};
    for (int s = 1; s <= einheiten.size(); ++s)
        db.aendern(QStringLiteral("INSERT INTO sorte (id, medizin_id, handelsname, dosis, packung) VALUES (:id, "
                                  "1, :name, '5 mg', :packung)"),
                   {{QStringLiteral(":id"), s},
                    {QStringLiteral(":name"), QStringLiteral("Sorte %1").arg(s)},
                    {QStringLiteral(":packung"), einheiten.at(s - 1)}});

    // Values another program or an earlier version may have stored: none,
    // text, blobs, numbers out of range, days in other forms, leap days.
    QRandomGenerator zufall(2026);
    const QVariantList staende{QVariant(),
                               QStringLiteral("viel"),
                               QStringLiteral("1,5"),
                               QStringLiteral("14"),
                               QString(),
                               0.0,
                               -0.0,
                               0.5,
                               1.0,
                               12.5,
                               30.0,
                               1e20,
                               -1e20,
                               -100000.0,
                               -100000.5,
                               1000000.0,
                               1000000.5,
                               1e-30,
                               5e-324,
                               unendlich,
                               -unendlich,
                               qlonglong(30),
                               qlonglong(1000001),
                               std::numeric_limits<qlonglong>::max(),
                               QByteArray("30")};
    const QVariantList dosen{QVariant(),
                             QStringLiteral("1,5"),
                             QStringLiteral("2"),
                             0.0,
                             -0.0,
                             0.1,
                             0.25,
                             1.0 / 3,
                             0.5,
                             1.0,
                             2.0,
                             100.0,
                             100.0001,
                             -1.0,
                             1e-40,
                             1e-30,
                             7.3,
                             qlonglong(0),
                             qlonglong(1),
                             qlonglong(101),
                             QByteArray("1")};
    const QVariantList tage{QVariant(),
                            QString(),
                            QStringLiteral("gestern"),
                            QStringLiteral("2024-02-29"),
                            QStringLiteral("2026-02-29"),
                            QStringLiteral("2026-13-01"),
                            QStringLiteral("0000-01-01"),
                            QStringLiteral("0001-01-01"),
                            QStringLiteral("9999-12-31"),
                            QStringLiteral("2026-12-06 10:00"),
                            QStringLiteral("2026-12-06T08:00"),
                            QStringLiteral(" 2026-12-06"),
                            QStringLiteral("2026-1-05"),
                            QStringLiteral("\uFF12\uFF10\uFF12\uFF16-12-06"),
                            qlonglong(20261201),
                            2461380.5,
                            QByteArray("2026-12-01"),
                            heute.addDays(3).toString(Qt::ISODate)};
    const QVariantList ordnungen{QVariant(), 1, 2, 2.5, QStringLiteral("x"), -1};
    // Where a stock runs out relative to a day a list may ask for: around
    // whole days, two days (the certain range) and the six digits of the
    // cached range.
    const double nah[] = {-1, -0.5, -1e-6, 0, 1e-7, 1e-6, 0.5, 1, 1.5, 1.999999, 2, 2.000001, 2.5, 3, 3.5};
    const int stichtage[] = {0, 1, 5, 27, 28, 29, 45, 200, 400};
    const float verbrauche[] = {1, 0.5f, 0.1f, 2.5f, 1.0f / 3, 3.3f};
    for (int i = 0; i < 4000; ++i) {
        // A few lines of no patient and of no package.
        const int patient = zufall.bounded(100) < 3 ? 999 : 1 + zufall.bounded(40);
        const int sorte = 1 + zufall.bounded(einheiten.size() + 1);
        QVariant stand, tag;
        QVariantList dosis;
        const int art = zufall.bounded(3);
        if (art == 0) {
            stand = eines(zufall, staende);
            tag = eines(zufall, tage);
            for (int d = 0; d < 4; ++d)
                dosis << eines(zufall, dosen);
        } else {
            // Counted some days ago, at a daily use, with a stock ending near a chosen day.
            const int gezaehlt = art == 1 ? zufall.bounded(200) : -zufall.bounded(5);
            const float v = verbrauche[zufall.bounded(static_cast<int>(std::size(verbrauche)))];
            const int ziel = stichtage[zufall.bounded(static_cast<int>(std::size(stichtage)))];
            const double versatz = nah[zufall.bounded(static_cast<int>(std::size(nah)))];
            tag = heute.addDays(-gezaehlt).toString(Qt::ISODate);
            stand = (gezaehlt + ziel + versatz) * static_cast<double>(v);
            dosis << static_cast<double>(v) << 0.0 << 0.0 << 0.0;
        }
        db.aendern(QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, "
                                  "hilfe, ordnung) VALUES (:p, :s, :tag, :stand, :m, :mi, :a, :n, 0, :o)"),
                   {{QStringLiteral(":p"), patient},
                    {QStringLiteral(":s"), sorte},
                    {QStringLiteral(":tag"), tag},
                    {QStringLiteral(":stand"), stand},
                    {QStringLiteral(":m"), dosis.at(0)},
                    {QStringLiteral(":mi"), dosis.at(1)},
                    {QStringLiteral(":a"), dosis.at(2)},
                    {QStringLiteral(":n"), dosis.at(3)},
                    {QStringLiteral(":o"), eines(zufall, ordnungen)}});
    }
}

// A value as read: its type, whether it is null, and the value exactly
// (a double to its last bit and sign, bytes as hex).
QString wertText(const QVariant &w)
{
    QString wert;
    switch (w.userType()) {
    case QMetaType::Double:
        wert = QString::number(w.toDouble(), 'g', 17) + (std::signbit(w.toDouble()) ? " negativ" : "");
        break;
    case QMetaType::QByteArray:
        wert = QString::fromLatin1(w.toByteArray().toHex());
        break;
    default:
        wert = w.toString();
        break;
    }
    return QStringLiteral("%1%2 %3").arg(QString::fromLatin1(w.typeName()),
                                         w.isNull() ? QStringLiteral(" null") : QString(), wert);
}

// Every value of every row, one text each, read either way.
QStringList allesLesen(DbSitzung &db, bool direkt, const QString &sql, const Werte &werte = {})
{
    DbSitzung::direktLesen = direkt;
    QStringList zellen;
    const bool ok = db.durchlaufen(sql, werte, [&](const DbZeile &q) {
        for (int i = 0; i < 12; ++i)
            zellen
                << QStringLiteral("Zeile %1, Spalte %2: %3").arg(zellen.size() / 12).arg(i).arg(wertText(q.value(i)));
    });
    DbSitzung::direktLesen = true;
    if (!ok)
        zellen << QStringLiteral("fehlgeschlagen");
    return zellen;
}

// A line of the list, everything it holds.
QString zeilenText(const Bedarfsliste &liste, const Bedarfszeile &z)
{
    const Bedarfspatient &p = liste.patienten.at(z.patient);
    return QStringLiteral("%1: Patient %2 %3, %4, Ordnung %5, %6 | %7 | %8 | %9 | %10 | %11")
        .arg(z.einnahme)
        .arg(p.id)
        .arg(p.name, p.hausarztTermin.toString(Qt::ISODate), wertText(z.ordnung), z.medizin, z.handelsname, z.dosis,
             z.einheiten, z.angefordert.toString(Qt::ISODate), beschreibung(z.bedarf));
}

} // namespace

class BedarfsregelnTest : public QObject
{
    Q_OBJECT
    // The worlds of odd lines the list tests read, written once each: every
    // case reads the same file, which nothing writes to.
    QTemporaryDir weltOrdner;
    QString weltDatei(bool typisiert)
    {
        const QString f = weltOrdner.filePath(typisiert ? QStringLiteral("typisiert.db") : QStringLiteral("ohne.db"));
        if (!QFileInfo::exists(f)) {
            Umgebung env;
            env.datenbankAnlegen(f);
            Verbindung v(f);
            DbSitzung db(v);
            if (!db.transaktion([&] {
                    welt(db, typisiert);
                    return true;
                }))
                fehlschlag(QStringLiteral("the world could not be written"));
        }
        return f;
    }

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

    // The list read once from a file of odd lines, then chosen from for
    // every day asked for, with or without the family-doctor appointments,
    // holds line for line what the overview's own rules give for each of
    // them, in the list's order.
    void listeWieDieRegeln_data()
    {
        QTest::addColumn<bool>("typisiert");
        QTest::newRow("Spalten mit Typ") << true;
        QTest::newRow("Spalten ohne Typ") << false;
    }
    void listeWieDieRegeln()
    {
        QFETCH(bool, typisiert);
        Umgebung env;
        const QString f = weltDatei(typisiert);
        Verbindung v(f);
        bool ok = false;
        Bedarfsgrundlage grundlage;
        {
            DbSitzung db(v);
            grundlage = bedarfEinlesen(db, heute, &ok);
        }
        QVERIFY(ok);

        QMap<qint64, QDate> hausarzt;
        for (const QVariantList &z :
             Datei::zeilen(f, naechsteHausarztTermine(Datenbankart::sqlite), {heute.toString(Qt::ISODate)}))
            hausarzt.insert(z.value(0).toLongLong(), z.value(1).toDate());
        QMap<qint64, std::optional<double>> einheiten;
        for (const QVariantList &z : Datei::zeilen(f, QStringLiteral("SELECT id, packung FROM sorte")))
            einheiten.insert(z.value(0).toLongLong(), zahlLesen(z.value(1).toString(), Bereich::einheiten));
        QSet<qint64> patienten;
        for (const QVariantList &z : Datei::zeilen(f, QStringLiteral("SELECT id FROM patient")))
            patienten.insert(z.value(0).toLongLong());
        const QList<QVariantList> einnahmen = Datei::zeilen(
            f, QStringLiteral("SELECT id, pat_id, med_id, tag, stand, morgen, mittag, abend, nacht FROM einnahme"));

        for (bool bisHausarzt : {false, true}) {
            for (int bis : {0, 1, 28, 45, 400}) {
                const QString fall =
                    QStringLiteral("bis heute + %1%2, ").arg(bis).arg(bisHausarzt ? " oder Hausarzt" : "");
                const Bedarfsliste liste = bedarfAuswerten(grundlage, heute.addDays(bis), bisHausarzt);
                QMap<qint64, QString> gelesen;
                QStringList folge;
                for (const Bedarfszeile &z : liste.zeilen) {
                    gelesen.insert(z.einnahme, beschreibung(z.bedarf));
                    folge << QString::number(z.einnahme);
                }
                QVector<Bedarfszeile> sortiert = liste.zeilen;
                bedarfSortieren(sortiert);
                QStringList sortierteFolge;
                for (const Bedarfszeile &z : sortiert)
                    sortierteFolge << QString::number(z.einnahme);
                QCOMPARE(fall + folge.join(' '), fall + sortierteFolge.join(' '));

                QMap<qint64, QString> erwartet;
                int gezaehlt = 0, ungueltig = 0, nichtGelistet = 0;
                for (const QVariantList &z : einnahmen) {
                    const qint64 patient = z.value(1).toLongLong();
                    if (!patienten.contains(patient))
                        continue;
                    const QDate stichtag = bedarfStichtag(heute.addDays(bis), hausarzt.value(patient), bisHausarzt);
                    const std::optional<Bedarf> b = nachDenRegeln(z.value(4), z.value(3), z.mid(5, 4), stichtag,
                                                                  einheiten.value(z.value(2).toLongLong()));
                    if (!b) {
                        ++nichtGelistet;
                        continue;
                    }
                    ++(b->fehler.isEmpty() ? gezaehlt : ungueltig);
                    erwartet.insert(z.value(0).toLongLong(), beschreibung(*b));
                }

                for (qint64 id : erwartet.keys() + gelesen.keys()) {
                    const QString nicht = QStringLiteral("nicht in der Liste");
                    QCOMPARE(fall + QStringLiteral("%1: %2").arg(id).arg(gelesen.value(id, nicht)),
                             fall + QStringLiteral("%1: %2").arg(id).arg(erwartet.value(id, nicht)));
                }
                // The world holds lines of every kind.
                QVERIFY(gezaehlt > 100);
                QVERIFY(ungueltig > 100);
                QVERIFY(nichtGelistet > 100);
            }
        }
    }

    // Read through SQLite itself, every value of a file of odd values is
    // what Qt's driver gives for it: of the same type, null or not, and the
    // same to the last bit; so are values bound to the statement.
    void zeilenWieQt_data()
    {
        QTest::addColumn<bool>("typisiert");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<Werte>("werte");
        for (bool typisiert : {true, false}) {
            const QString art = typisiert ? QStringLiteral("Spalten mit Typ: ") : QStringLiteral("Spalten ohne Typ: ");
            QTest::newRow(qPrintable(art + "einnahme"))
                << typisiert << QStringLiteral("SELECT * FROM einnahme ORDER BY id") << Werte();
            QTest::newRow(qPrintable(art + "Hausarzttermine"))
                << typisiert << naechsteHausarztTermine(Datenbankart::sqlite)
                << Werte{{QStringLiteral(":heute"), heute.toString(Qt::ISODate)}};
            QTest::newRow(qPrintable(art + "gebundene Werte"))
                << typisiert
                << QStringLiteral("SELECT :text, :leer, :ganz, :gross, :zahl, :null, :wahr, :ohne, :umlaut, :klein")
                << Werte{{QStringLiteral(":text"), QStringLiteral("14")},
                         {QStringLiteral(":leer"), QString(QLatin1String(""))},
                         {QStringLiteral(":ganz"), 7},
                         {QStringLiteral(":gross"), std::numeric_limits<qlonglong>::min()},
                         {QStringLiteral(":zahl"), -0.0},
                         {QStringLiteral(":null"), QVariant()},
                         {QStringLiteral(":wahr"), true},
                         {QStringLiteral(":ohne"), QString()},
                         {QStringLiteral(":umlaut"), QStringLiteral("Gr\u00FC\u00DFe \U0001F48A")},
                         {QStringLiteral(":klein"), 4294967295u}};
            // Values SQLite itself is not given: Qt binds them.
            QTest::newRow(qPrintable(art + "Tag und Bytes gebunden"))
                << typisiert << QStringLiteral("SELECT :tag, :bytes, :text")
                << Werte{{QStringLiteral(":tag"), heute},
                         {QStringLiteral(":bytes"), QByteArray("\0x", 2)},
                         {QStringLiteral(":text"), QStringLiteral("14")}};
        }
    }
    void zeilenWieQt()
    {
        QFETCH(bool, typisiert);
        QFETCH(QString, sql);
        QFETCH(Werte, werte);
        Umgebung env;
        const QString f = env.standardDatei();
        env.datenbankAnlegen(f);
        Verbindung v(f);
        DbSitzung db(v);
        QVERIFY(db.transaktion([&] {
            welt(db, typisiert);
            // Beyond the world: the largest numbers, text beyond ASCII and
            // with a zero in it, empty text and bytes in every column.
            const QVariantList sonder{std::numeric_limits<qlonglong>::max(),
                                      std::numeric_limits<qlonglong>::min(),
                                      std::numeric_limits<double>::max(),
                                      -std::numeric_limits<double>::denorm_min(),
                                      QStringLiteral("M\u00E4rz \u20AC \U0001F48A"),
                                      QString(QStringLiteral("a\0b")),
                                      QString(QLatin1String("")),
                                      QByteArray(),
                                      QByteArray("\xFF\0\x80", 3)};
            for (const QVariant &w : sonder)
                db.aendern(QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, "
                                          "nacht, hilfe, ordnung) VALUES (:w, :w2, :w3, :w4, :w5, :w6, :w7, :w8, :w9, "
                                          ":w10)"),
                           {{QStringLiteral(":w"), w},
                            {QStringLiteral(":w2"), w},
                            {QStringLiteral(":w3"), w},
                            {QStringLiteral(":w4"), w},
                            {QStringLiteral(":w5"), w},
                            {QStringLiteral(":w6"), w},
                            {QStringLiteral(":w7"), w},
                            {QStringLiteral(":w8"), w},
                            {QStringLiteral(":w9"), w},
                            {QStringLiteral(":w10"), w}});
            return true;
        }));
#if KALVORIA_SQLITE_DIREKT
        QVERIFY(db.liestDirekt());
#else
        QSKIP("This build reads through Qt alone.");
#endif
        const QStringList direkt = allesLesen(db, true, sql, werte);
        const QStringList qt = allesLesen(db, false, sql, werte);
        QVERIFY(qt.size() >= 12);
        QCOMPARE(direkt.size(), qt.size());
        for (int i = 0; i < qt.size(); ++i)
            QCOMPARE(direkt.at(i), qt.at(i));
    }

    // The list of a file of odd lines, read through SQLite itself, is the
    // list read through Qt: the same lines in the same order, each holding
    // the same.
    void listeWieUeberQt_data()
    {
        QTest::addColumn<bool>("typisiert");
        QTest::addColumn<bool>("bisHausarzt");
        for (bool typisiert : {true, false}) {
            for (bool bisHausarzt : {false, true}) {
                QTest::newRow(
                    qPrintable(QStringLiteral("%1, %2").arg(typisiert ? "Spalten mit Typ" : "Spalten ohne Typ",
                                                            bisHausarzt ? "bis zum Hausarzt" : "ohne Hausarzt")))
                    << typisiert << bisHausarzt;
            }
        }
    }
    void listeWieUeberQt()
    {
        QFETCH(bool, typisiert);
        QFETCH(bool, bisHausarzt);
        Umgebung env;
        Verbindung v(weltDatei(typisiert));
        DbSitzung db(v);
#if KALVORIA_SQLITE_DIREKT
        QVERIFY(db.liestDirekt());
#else
        QSKIP("This build reads through Qt alone.");
#endif
        QStringList wege[2];
        for (bool direkt : {true, false}) {
            DbSitzung::direktLesen = direkt;
            bool ok = false;
            const Bedarfsliste liste = bedarfLesen(db, heute, heute.addDays(28), bisHausarzt, &ok);
            DbSitzung::direktLesen = true;
            QVERIFY(ok);
            for (const Bedarfszeile &z : liste.zeilen)
                wege[direkt] << zeilenText(liste, z);
        }
        QVERIFY(wege[false].size() > 100);
        QCOMPARE(wege[true].size(), wege[false].size());
        for (int i = 0; i < wege[false].size(); ++i)
            QCOMPARE(wege[true].at(i), wege[false].at(i));
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
            z.bedarf.reichtBis = heute.addDays(tag);
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
        const QString heuteText = heute.toString(QStringLiteral("yyyy-MM-dd"));

        QMap<int, QDate> alle;
        for (const QVariantList &z : Datei::zeilen(f, naechsteHausarztTermine(Datenbankart::sqlite), {heuteText}))
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
