// SPDX-License-Identifier: GPL-3.0-or-later
#include "server/uebertragen.h"

#include "bedarf/anforderungen.h"
#include "bmp/zusatztabellen.h"
#include "maintenance/dateipflege.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "verlauf/verlauf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <optional>

namespace {

// The server's column types (storage/dialekt.cpp).
enum class Typ { ganzzahl, kleinzahl, zahl, text };

struct Spalte {
    QString name;
    Typ typ;
};

// A table of the program, in the form of a file and of a server.
struct Tabelle {
    QString name;
    QStringList dateiAnlegen, serverAnlegen; // the table, then its indexes
    QStringList dateiSchutz, serverSchutz;   // triggers, created once the rows are in
    QVector<Spalte> spalten;                 // the key first
    bool zaehlt = false;                     // its key counts up and is never given twice
    bool grund = false;                      // one of the five every database has
};

// The note a backup keeps of the file it was taken from (sicherung/).
const QString herkunftTabelle = QStringLiteral("sicherung_herkunft");

QString erstesWortNach(const QString &sql, const QString &muster)
{
    return QRegularExpression(muster + QStringLiteral("(\\w+)")).match(sql).captured(1);
}

// The columns of a CREATE TABLE in the server's form, with their types.
QVector<Spalte> spaltenAus(const QString &anlegen)
{
    const int von = anlegen.indexOf(QLatin1Char('('));
    const int bis = anlegen.lastIndexOf(QLatin1Char(')'));
    QStringList teile;
    QString teil;
    int tiefe = 0;
    for (const QChar c : anlegen.mid(von + 1, bis - von - 1)) {
        if (c == QLatin1Char(',') && tiefe == 0) {
            teile << teil;
            teil.clear();
            continue;
        }
        tiefe += c == QLatin1Char('(') ? 1 : c == QLatin1Char(')') ? -1 : 0;
        teil += c;
    }
    teile << teil;
    QVector<Spalte> spalten;
    for (const QString &t : teile) {
        const QStringList woerter = t.simplified().split(QLatin1Char(' '));
        const QString typ = woerter.value(1);
        spalten.append({woerter.value(0), typ == QLatin1String("INTEGER")    ? Typ::ganzzahl
                                          : typ == QLatin1String("SMALLINT") ? Typ::kleinzahl
                                          : typ == QLatin1String("DOUBLE")   ? Typ::zahl
                                                                             : Typ::text});
    }
    return spalten;
}

// Every table the program makes, each from the code that makes it.
const QVector<Tabelle> &programmTabellen()
{
    static const QVector<Tabelle> liste = [] {
        const Datenbankart datei = Datenbankart::sqlite;
        const Datenbankart server = Datenbankart::postgres;
        QVector<Tabelle> l;
        const auto dazu = [&l](const QStringList &dateiForm, const QStringList &serverForm,
                               const QStringList &dateiSchutz = {}, const QStringList &serverSchutz = {}) {
            Tabelle t;
            t.name = erstesWortNach(dateiForm.first(), QStringLiteral("^CREATE TABLE (?:IF NOT EXISTS )?"));
            t.dateiAnlegen = dateiForm;
            t.serverAnlegen = serverForm;
            t.dateiSchutz = dateiSchutz;
            t.serverSchutz = serverSchutz;
            t.spalten = spaltenAus(serverForm.first());
            t.zaehlt = dateiForm.first().contains(QLatin1String("AUTOINCREMENT"));
            l.append(t);
        };
        const QVector<QString> indizes = tabellenIndizes();
        for (const QString &anlegen : tabellenSchema()) {
            const QString name = erstesWortNach(anlegen, QStringLiteral("^CREATE TABLE "));
            QStringList dateiForm{anlegen};
            QStringList serverForm{Dialekt::tabelle(server, anlegen)};
            for (const QString &index : indizes) {
                if (erstesWortNach(index, QStringLiteral(" ON ")) == name) {
                    dateiForm << index;
                    serverForm << index;
                }
            }
            dazu(dateiForm, serverForm);
            l.last().grund = true;
        }
        dazu(verlaufTabelleAnweisungen(datei), verlaufTabelleAnweisungen(server), verlaufSchutzAnweisungen(datei),
             verlaufSchutzAnweisungen(server));
        dazu(anforderungenAnweisungen(datei), anforderungenAnweisungen(server));
        for (Zusatz z : {Zusatz::sortePzn, Zusatz::einnahmeBmp, Zusatz::planText})
            dazu({zusatzAnweisung(datei, z)}, {zusatzAnweisung(server, z)});
        return l;
    }();
    return liste;
}

QString zeigen(const QString &pfad)
{
    return QStringLiteral("\u201E") + QDir::toNativeSeparators(pfad) + QStringLiteral("\u201C");
}

QString fehlerText(const QSqlError &e)
{
    const QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("unbekannter Fehler") : t;
}

// A connection of its own to a file, on any thread; its name is given back
// when it ends.
class Dateiverbindung
{
public:
    Dateiverbindung(const QString &pfad, bool nurLesen)
        : name(QStringLiteral("kalvoria-kopie-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(QStringLiteral("%1QSQLITE_BUSY_TIMEOUT=%2")
                                 .arg(nurLesen ? QStringLiteral("QSQLITE_OPEN_READONLY;") : QString())
                                 .arg(DbSitzung::wartezeitMs));
        if (!db.open())
            fehler = fehlerText(db.lastError());
    }
    ~Dateiverbindung()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    Dateiverbindung(const Dateiverbindung &) = delete;
    Dateiverbindung &operator=(const Dateiverbindung &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    QString fehler;

private:
    QString name;
};

// Rolls the transaction back unless it was committed.
class Zuruecknehmen
{
public:
    explicit Zuruecknehmen(QSqlDatabase &db) : db(db) {}
    ~Zuruecknehmen()
    {
        if (offen)
            db.rollback();
    }
    Zuruecknehmen(const Zuruecknehmen &) = delete;
    Zuruecknehmen &operator=(const Zuruecknehmen &) = delete;

    bool festschreiben()
    {
        offen = false;
        return db.commit();
    }

private:
    QSqlDatabase &db;
    bool offen = true;
};

QString spaltenListe(const Tabelle &t)
{
    QStringList namen;
    for (const Spalte &s : t.spalten)
        namen << s.name;
    return namen.join(QStringLiteral(", "));
}

QString einfuegen(const Tabelle &t)
{
    QStringList platzhalter;
    for (int i = 0; i < t.spalten.size(); ++i)
        platzhalter << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(t.name, spaltenListe(t), platzhalter.join(QStringLiteral(", ")));
}

// The value of SQLite's storage class klasse as the server's column takes
// it; none when it does not take it. Nothing is rounded or cut: a file that
// holds such a value is corrected by the user, not by the copy.
std::optional<QVariant> fuerServer(Typ typ, const QString &klasse, const QVariant &wert)
{
    if (klasse == QLatin1String("null"))
        return QVariant();
    switch (typ) {
    case Typ::ganzzahl:
    case Typ::kleinzahl: {
        if (klasse != QLatin1String("integer"))
            return std::nullopt;
        const qlonglong n = wert.toLongLong();
        const qlonglong grenze = typ == Typ::ganzzahl ? 2147483647LL : 32767LL;
        if (n > grenze || n < -grenze - 1)
            return std::nullopt;
        return QVariant(n);
    }
    case Typ::zahl:
        if (klasse != QLatin1String("real"))
            return std::nullopt;
        return QVariant(wert.toDouble());
    case Typ::text:
        if (klasse == QLatin1String("text")) {
            const QString text = wert.toString();
            return QVariant(text.isNull() ? QString(QLatin1String("")) : text);
        }
        // A file's date column takes numbers as well (its affinity is
        // NUMERIC); written back into one, their texts are the same numbers.
        if (klasse == QLatin1String("integer"))
            return QVariant(QString::number(wert.toLongLong()));
        if (klasse == QLatin1String("real"))
            return QVariant(QString::number(wert.toDouble(), 'g', QLocale::FloatingPointShortest));
        return std::nullopt;
    }
    return std::nullopt;
}

QString erwartet(Typ typ)
{
    switch (typ) {
    case Typ::ganzzahl:
        return QStringLiteral("ganze Zahlen");
    case Typ::kleinzahl:
        return QStringLiteral("ganze Zahlen von -32768 bis 32767");
    case Typ::zahl:
        return QStringLiteral("Zahlen");
    case Typ::text:
        return QStringLiteral("Texte und Zahlen");
    }
    return QString();
}

QString wertZeigen(const QString &klasse, const QVariant &wert)
{
    if (klasse == QLatin1String("blob"))
        return QStringLiteral("(Bin\u00E4rdaten)");
    QString text = wert.toString();
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("\u2026");
    return QStringLiteral("\u201E") + text + QStringLiteral("\u201C");
}

// The rows of the table, counted through q.
std::optional<qint64> zeilenZaehlen(QSqlQuery &q, const Tabelle &t)
{
    if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + t.name) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

Kopie abbruch(const QString &text)
{
    Kopie k;
    k.fehler = text;
    return k;
}

Kopie aufServer(QSqlDatabase &datei, QSqlDatabase &server)
{
    QSqlQuery d(datei);
    d.setForwardOnly(true);
    const auto dateiFehler = [&d] {
        return abbruch(QStringLiteral("Die Datei konnte nicht gelesen werden: ") + fehlerText(d.lastError()));
    };
    // One read transaction: a program writing to the file meanwhile cannot
    // tear the copy.
    if (!datei.transaction())
        return abbruch(QStringLiteral("Die Datei konnte nicht gelesen werden: ") + fehlerText(datei.lastError()));
    struct Ende {
        QSqlDatabase &db;
        QSqlQuery &q;
        ~Ende()
        {
            q.finish();
            db.rollback();
        }
    } ende{datei, d};

    if (!d.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return dateiFehler();
    QSet<QString> inDatei;
    while (d.next())
        inDatei.insert(d.value(0).toString());
    // SQLite's AUTOINCREMENT remembers the highest key ever given, also of
    // rows deleted since.
    QHash<QString, qint64> vergeben;
    if (inDatei.contains(QStringLiteral("sqlite_sequence"))) {
        if (!d.exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence")))
            return dateiFehler();
        while (d.next())
            vergeben.insert(d.value(0).toString(), d.value(1).toLongLong());
    }

    QSet<QString> bekannt{herkunftTabelle};
    for (const Tabelle &t : programmTabellen())
        bekannt.insert(t.name);
    QStringList fremd;
    for (const QString &name : inDatei) {
        if (!bekannt.contains(name) && !name.startsWith(QLatin1String("sqlite_")))
            fremd << QStringLiteral("\u201E") + name + QStringLiteral("\u201C");
    }
    if (!fremd.isEmpty()) {
        fremd.sort();
        return abbruch(QStringLiteral("Die Datei enth\u00E4lt Tabellen, die Kalvoria nicht kennt und nicht mitkopieren "
                                      "w\u00FCrde: %1.")
                           .arg(fremd.join(QStringLiteral(", "))));
    }

    QVector<const Tabelle *> tabellen;
    for (const Tabelle &t : programmTabellen()) {
        if (!inDatei.contains(t.name))
            continue;
        if (!d.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t.name)))
            return dateiFehler();
        QSet<QString> spalten;
        while (d.next())
            spalten.insert(d.value(1).toString());
        for (const Spalte &s : t.spalten) {
            if (!spalten.remove(s.name))
                return abbruch(
                    QStringLiteral("In der Tabelle \u201E%1\u201C der Datei fehlt die Spalte \u201E%2\u201C.")
                        .arg(t.name, s.name));
        }
        if (!spalten.isEmpty())
            return abbruch(QStringLiteral("Die Tabelle \u201E%1\u201C der Datei hat die Spalte \u201E%2\u201C, die "
                                          "Kalvoria nicht kennt und nicht mitkopieren w\u00FCrde.")
                               .arg(t.name, *spalten.begin()));
        tabellen.append(&t);
    }

    QSqlQuery s(server);
    const auto serverFehler = [&s](const QString &was) {
        return abbruch(was + QStringLiteral(": ") + fehlerText(s.lastError()));
    };
    if (!s.exec(QStringLiteral("BEGIN")))
        return serverFehler(QStringLiteral("Der Server hat die Verbindung nicht angenommen"));
    Zuruecknehmen serverEnde(server);
    if (!s.exec(Dialekt::tabellenAbfrage(Datenbankart::postgres)))
        return serverFehler(QStringLiteral("Die Tabellen des Servers konnten nicht gelesen werden"));
    QStringList namen;
    while (s.next())
        namen << s.value(0).toString();
    // The program's own tables without a row count as empty: connecting
    // to an empty database created them. They are made anew from the file.
    QSet<QString> eigene;
    for (const Tabelle &t : programmTabellen())
        eigene.insert(t.name);
    bool leer = true;
    for (const QString &n : namen) {
        if (!eigene.contains(n)) {
            leer = false;
            break;
        }
        // The name is one of the program's own, never the server's text.
        if (!s.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(n)) || !s.next())
            return serverFehler(QStringLiteral("Die Tabellen des Servers konnten nicht gelesen werden"));
        if (s.value(0).toBool()) {
            leer = false;
            break;
        }
    }
    QStringList vorhanden;
    if (leer) {
        for (const QString &n : namen) {
            if (!s.exec(QStringLiteral("DROP TABLE %1 CASCADE").arg(n)))
                return serverFehler(
                    QStringLiteral("Die leere Tabelle \u201E%1\u201C konnte nicht ersetzt werden").arg(n));
        }
    } else {
        for (const QString &n : namen)
            vorhanden << QStringLiteral("\u201E") + n + QStringLiteral("\u201C");
    }
    if (!vorhanden.isEmpty()) {
        vorhanden.sort();
        return abbruch(QStringLiteral("Die Datenbank \u201E%1\u201C auf dem Server ist nicht leer, sie enth\u00E4lt "
                                      "schon %2 %3. Kalvoria kopiert eine Datei nur in eine leere Datenbank.")
                           .arg(server.databaseName(),
                                vorhanden.size() == 1 ? QStringLiteral("die Tabelle") : QStringLiteral("die Tabellen"),
                                vorhanden.join(QStringLiteral(", "))));
    }

    Kopie k;
    for (const Tabelle *t : tabellen) {
        for (const QString &sql : t->serverAnlegen) {
            if (!s.exec(sql))
                return serverFehler(
                    QStringLiteral("Die Tabelle \u201E%1\u201C konnte nicht angelegt werden").arg(t->name));
        }
        QStringList auswahl;
        for (const Spalte &sp : t->spalten)
            auswahl << QStringLiteral("typeof(%1), %1").arg(sp.name);
        if (!d.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                        .arg(auswahl.join(QStringLiteral(", ")), t->name, t->spalten.first().name)))
            return dateiFehler();
        if (!s.prepare(einfuegen(*t)))
            return serverFehler(
                QStringLiteral("Die Tabelle \u201E%1\u201C kann nicht beschrieben werden").arg(t->name));
        qint64 hoechster = 0;
        while (d.next()) {
            const QString schluessel = d.value(1).toString();
            for (int i = 0; i < t->spalten.size(); ++i) {
                const Spalte &sp = t->spalten.at(i);
                const QString klasse = d.value(2 * i).toString();
                const std::optional<QVariant> wert = fuerServer(sp.typ, klasse, d.value(2 * i + 1));
                if (!wert)
                    return abbruch(QStringLiteral("In der Tabelle \u201E%1\u201C hat die Zeile mit %2 %3 in der "
                                                  "Spalte \u201E%4\u201C den Wert %5; der Server nimmt dort nur %6 "
                                                  "an. Bitte den Wert in der Datei berichtigen.")
                                       .arg(t->name, t->spalten.first().name, schluessel, sp.name,
                                            wertZeigen(klasse, d.value(2 * i + 1)), erwartet(sp.typ)));
                s.bindValue(i, *wert);
            }
            if (!s.exec())
                return serverFehler(QStringLiteral("Die Zeile mit %1 %2 der Tabelle \u201E%3\u201C konnte nicht "
                                                   "geschrieben werden")
                                        .arg(t->spalten.first().name, schluessel, t->name));
            hoechster = std::max(hoechster, d.value(1).toLongLong());
        }
        if (d.lastError().isValid())
            return dateiFehler();
        // New rows on the server get keys the file never gave.
        hoechster = std::max(hoechster, vergeben.value(t->name));
        if (t->zaehlt && hoechster > 0) {
            if (!s.prepare(QStringLiteral("SELECT setval(CAST(pg_get_serial_sequence(?, 'id') AS regclass), ?)")))
                return serverFehler(QStringLiteral("Der Z\u00E4hler der Tabelle \u201E%1\u201C konnte nicht gesetzt "
                                                   "werden")
                                        .arg(t->name));
            s.bindValue(0, t->name);
            s.bindValue(1, hoechster);
            if (!s.exec())
                return serverFehler(QStringLiteral("Der Z\u00E4hler der Tabelle \u201E%1\u201C konnte nicht gesetzt "
                                                   "werden")
                                        .arg(t->name));
        }
        for (const QString &sql : t->serverSchutz) {
            if (!s.exec(sql))
                return serverFehler(
                    QStringLiteral("Die Tabelle \u201E%1\u201C konnte nicht gesch\u00FCtzt werden").arg(t->name));
        }
    }

    for (const Tabelle *t : tabellen) {
        const std::optional<qint64> inDerDatei = zeilenZaehlen(d, *t);
        const std::optional<qint64> aufDemServer = zeilenZaehlen(s, *t);
        if (!inDerDatei || !aufDemServer || *inDerDatei != *aufDemServer)
            return abbruch(QStringLiteral("Nach dem Kopieren stimmt die Zahl der Zeilen der Tabelle \u201E%1\u201C "
                                          "nicht: in der Datei %2, auf dem Server %3.")
                               .arg(t->name, inDerDatei ? QString::number(*inDerDatei) : QStringLiteral("?"),
                                    aufDemServer ? QString::number(*aufDemServer) : QStringLiteral("?")));
        k.zeilen.append({t->name, *aufDemServer});
    }
    d.finish();
    s.finish();
    if (!serverEnde.festschreiben())
        return abbruch(QStringLiteral("Der Server hat die Kopie nicht gespeichert: ") + fehlerText(server.lastError()));
    return k;
}

// The value of the server's column as a file stores it.
QVariant fuerDatei(Typ typ, const QSqlQuery &q, int spalte)
{
    if (q.isNull(spalte))
        return QVariant();
    switch (typ) {
    case Typ::ganzzahl:
    case Typ::kleinzahl:
        return QVariant(q.value(spalte).toLongLong());
    case Typ::zahl:
        return QVariant(q.value(spalte).toDouble());
    case Typ::text:
        break;
    }
    const QString text = q.value(spalte).toString();
    return QVariant(text.isNull() ? QString(QLatin1String("")) : text);
}

Kopie inDatei(QSqlDatabase &server, QSqlDatabase &datei)
{
    QSqlQuery s(server);
    s.setForwardOnly(true);
    s.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    const auto serverFehler = [&s](const QString &was) {
        return abbruch(was + QStringLiteral(": ") + fehlerText(s.lastError()));
    };
    // One snapshot: what other seats change meanwhile is not half in the copy.
    if (!s.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        return serverFehler(QStringLiteral("Der Server hat die Verbindung nicht angenommen"));
    Zuruecknehmen serverEnde(server);
    if (!s.exec(Dialekt::tabellenAbfrage(Datenbankart::postgres)))
        return serverFehler(QStringLiteral("Die Tabellen des Servers konnten nicht gelesen werden"));
    QSet<QString> vorhanden;
    while (s.next())
        vorhanden.insert(s.value(0).toString());
    for (const Tabelle &t : programmTabellen()) {
        if (t.grund && !vorhanden.contains(t.name))
            return abbruch(QStringLiteral("Auf dem Server fehlt die Tabelle \u201E%1\u201C; die Datenbank ist keine "
                                          "Kalvoria-Datenbank.")
                               .arg(t.name));
    }

    QSqlQuery d(datei);
    const auto dateiFehler = [&d] {
        return abbruch(QStringLiteral("Die Datei konnte nicht geschrieben werden: ") + fehlerText(d.lastError()));
    };
    if (!datei.transaction())
        return abbruch(QStringLiteral("Die Datei konnte nicht geschrieben werden: ") + fehlerText(datei.lastError()));
    Zuruecknehmen dateiEnde(datei);

    Kopie k;
    QVector<const Tabelle *> tabellen;
    for (const Tabelle &t : programmTabellen()) {
        if (!vorhanden.contains(t.name))
            continue;
        tabellen.append(&t);
        for (const QString &sql : t.dateiAnlegen) {
            if (!d.exec(sql))
                return dateiFehler();
        }
        if (!s.exec(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(spaltenListe(t), t.name, t.spalten.first().name)))
            return serverFehler(QStringLiteral("Die Tabelle \u201E%1\u201C konnte nicht gelesen werden").arg(t.name));
        if (!d.prepare(einfuegen(t)))
            return dateiFehler();
        while (s.next()) {
            for (int i = 0; i < t.spalten.size(); ++i)
                d.bindValue(i, fuerDatei(t.spalten.at(i).typ, s, i));
            if (!d.exec())
                return dateiFehler();
        }
        if (s.lastError().isValid())
            return serverFehler(QStringLiteral("Die Tabelle \u201E%1\u201C konnte nicht gelesen werden").arg(t.name));
        // The file goes on counting where the server's counter stands, past
        // keys of rows deleted there. The counter stands outside the snapshot:
        // a seat adding a row meanwhile only leaves a gap.
        if (t.zaehlt) {
            if (!s.prepare(QStringLiteral("SELECT pg_sequence_last_value(CAST(pg_get_serial_sequence(?, 'id') AS "
                                          "regclass))")))
                return serverFehler(QStringLiteral("Der Z\u00E4hler der Tabelle \u201E%1\u201C konnte nicht gelesen "
                                                   "werden")
                                        .arg(t.name));
            s.bindValue(0, t.name);
            if (!s.exec() || !s.next())
                return serverFehler(QStringLiteral("Der Z\u00E4hler der Tabelle \u201E%1\u201C konnte nicht gelesen "
                                                   "werden")
                                        .arg(t.name));
            if (!s.isNull(0)) {
                const qlonglong zaehler = s.value(0).toLongLong();
                if (!d.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?")))
                    return dateiFehler();
                d.bindValue(0, zaehler);
                d.bindValue(1, t.name);
                d.bindValue(2, zaehler);
                if (!d.exec() || !d.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?, ? "
                                                           "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE "
                                                           "name = ?)")))
                    return dateiFehler();
                d.bindValue(0, t.name);
                d.bindValue(1, zaehler);
                d.bindValue(2, t.name);
                if (!d.exec())
                    return dateiFehler();
            }
        }
        for (const QString &sql : t.dateiSchutz) {
            if (!d.exec(sql))
                return dateiFehler();
        }
    }

    for (const Tabelle *t : tabellen) {
        const std::optional<qint64> aufDemServer = zeilenZaehlen(s, *t);
        const std::optional<qint64> inDerDatei = zeilenZaehlen(d, *t);
        if (!inDerDatei || !aufDemServer || *inDerDatei != *aufDemServer)
            return abbruch(QStringLiteral("Nach dem Kopieren stimmt die Zahl der Zeilen der Tabelle \u201E%1\u201C "
                                          "nicht: auf dem Server %2, in der Datei %3.")
                               .arg(t->name, aufDemServer ? QString::number(*aufDemServer) : QStringLiteral("?"),
                                    inDerDatei ? QString::number(*inDerDatei) : QStringLiteral("?")));
        k.zeilen.append({t->name, *inDerDatei});
    }
    d.finish();
    s.finish();
    if (!dateiEnde.festschreiben())
        return abbruch(QStringLiteral("Die Datei konnte nicht geschrieben werden: ") + fehlerText(datei.lastError()));
    serverEnde.festschreiben();
    return k;
}

void dateiEntfernen(const QString &pfad)
{
    QFile::remove(pfad);
    QFile::remove(pfad + QStringLiteral("-journal"));
}

} // namespace

qint64 Kopie::anzahl(const QString &tabelle) const
{
    for (const auto &z : zeilen) {
        if (z.first == tabelle)
            return z.second;
    }
    return 0;
}

Kopie dateiAufServer(const QString &datei, QSqlDatabase &server)
{
    if (!QFileInfo(datei).isFile())
        return abbruch(QStringLiteral("Die Datei %1 gibt es nicht.").arg(zeigen(datei)));
    const Dateiverbindung quelle(datei, true);
    if (!quelle.fehler.isEmpty())
        return abbruch(QStringLiteral("Die Datei konnte nicht ge\u00F6ffnet werden: ") + quelle.fehler);
    QSqlDatabase db = quelle.db();
    return aufServer(db, server);
}

Kopie serverInDatei(QSqlDatabase &server, const QString &pfad)
{
    if (QFileInfo::exists(pfad))
        return abbruch(QStringLiteral("Die Datei %1 gibt es bereits.").arg(zeigen(pfad)));
    Kopie k;
    {
        const Dateiverbindung ziel(pfad, false);
        if (!ziel.fehler.isEmpty()) {
            k = abbruch(QStringLiteral("Die Datei konnte nicht angelegt werden: ") + ziel.fehler);
        } else {
            QSqlDatabase db = ziel.db();
            k = inDatei(server, db);
        }
    }
    if (!k.gut())
        dateiEntfernen(pfad);
    return k;
}

Kopie serverAlsDatei(QSqlDatabase &server, const QString &ziel, bool ersetzen)
{
    if (QFileInfo::exists(ziel) && !ersetzen)
        return abbruch(QStringLiteral("Die Datei %1 gibt es bereits.").arg(zeigen(ziel)));
    // A copy cut short never got its name; one left from before goes.
    const QString teil = ziel + QStringLiteral(".teil");
    dateiEntfernen(teil);
    Kopie k = serverInDatei(server, teil);
    if (!k.gut())
        return k;
    const QString befund = dateiPruefen(teil, true);
    if (!befund.isEmpty()) {
        dateiEntfernen(teil);
        return abbruch(QStringLiteral("Die Kopie ist fehlerhaft: ") + befund);
    }
    if (!aufDiskSchreiben(teil) || !(ersetzen ? ersetzendUmbenennen(teil, ziel) : QFile::rename(teil, ziel))) {
        dateiEntfernen(teil);
        return abbruch(QStringLiteral("Die Datei %1 konnte nicht fertig geschrieben werden.").arg(zeigen(ziel)));
    }
    return k;
}
