// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/dialekt.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class Dateisperre;
class QSqlError;
// Named placeholder values, bound in order: {":id", 3}, {":name", text}.
using Werte = QList<QPair<QString, QVariant>>;

// Where a server database is. Empty fields (and port -1) are left to libpq,
// which then takes PGHOST, PGPORT, PGUSER, a service file or its own
// defaults; ~/.pgpass gives the password when none is passed.
struct Serverzugang {
    QString host;
    int port = -1;
    QString datenbank;
    QString benutzer;
    // One of sslModi(); anything else is taken as "prefer".
    QString sslModus = QStringLiteral("prefer");

    static const QStringList &sslModi();
    // "datenbank auf host:port", for titles and messages.
    QString anzeige() const;
};

struct sqlite3;

// One row of a read: value(i) is what QSqlQuery::value(i) gives for it, of
// the same type and value; an invalid value past the last column.
class DbZeile
{
public:
    const QVariant &value(int spalte) const
    {
        static const QVariant keiner;
        return spalte >= 0 && static_cast<std::size_t>(spalte) < werte.size() ? werte[static_cast<std::size_t>(spalte)]
                                                                              : keiner;
    }

protected:
    // Filled by the session's reader, which derives from this class.
    std::vector<QVariant> werte;
};

// One window's connection to the file in use, and where the failures and
// conflicts of its sessions are reported. The session bookkeeping is private:
// only a Sitzung (nested, so it may touch it) changes it.
class DbVerbindung
{
public:
    class Sitzung;

    // What tells whether a file's data may have changed between two looks:
    // the file and the connection open on it, SQLite's data_version (other
    // connections' commits) and total_changes() (this connection's own rows
    // written). Two stands are equal only when both were taken on an open
    // file and nothing of these moved. On a server: the connection, the
    // other seats' notices received on it and this seat's own writes.
    struct Datenstand {
        QString datei;
        QByteArray kennung;
        quint64 verbindung = 0; // counts the connections opened; 0: none was open
        qint64 fremde = -1;
        qint64 eigene = -1;
        bool operator==(const Datenstand &b) const
        {
            return verbindung != 0 && fremde >= 0 && eigene >= 0 && verbindung == b.verbindung && fremde == b.fremde &&
                   eigene == b.eigene && datei == b.datei && kennung == b.kennung;
        }
        bool operator!=(const Datenstand &b) const { return !(*this == b); }
    };

    DbVerbindung(const DbVerbindung &) = delete;
    DbVerbindung &operator=(const DbVerbindung &) = delete;

    // Whether a session is running (a command or fill is between its reads).
    bool sitzungLaeuft() const { return tiefe > 0; }
    Datenbankart art() const { return Dialekt::art(datenbank); }
    // Whether another connection has committed to the open file since it was
    // opened or last asked (SQLite's data_version; this connection's own
    // changes do not count). Never opens the file and never reports: a file
    // that vanished or was replaced counts as changed.
    bool fremdGeaendert();

protected:
    // Adds a connection of its own: a second window in the same process (a
    // test, a second file) would otherwise have its connection closed under it.
    DbVerbindung();
    virtual ~DbVerbindung();

    // Works on the server database from now on, in place of the file; the
    // password is kept only by the open connection.
    void serverVerwenden(const Serverzugang &zugang, const QString &passwort = QString());
    // Works on the file datenbankDatei again, after a server.
    void dateiVerwenden();
    // Another seat committed a change to the server database, writing these
    // tables; none named when the connection was made anew, after which
    // anything may have changed. Never called inside a statement.
    virtual void serverGeaendert(const QStringList &tabellen) { Q_UNUSED(tabellen) }

    // A statement or the file failed; called once per outermost session.
    virtual void datenbankFehler(const QString &text) = 0;
    // A change found its rows changed or removed elsewhere and wrote nothing;
    // called once when the outermost session ends.
    virtual void datenbankKonflikt() = 0;

    QSqlDatabase datenbank;
    // The file the user works on; sessions open it.
    QString datenbankDatei;
    // Held on the file the connection last opened, so that other windows
    // can tell it is in use (storage/dateisperre.h).
    std::unique_ptr<Dateisperre> sperre;
    // The server database, when the connection is on one.
    Serverzugang server;

private:
    int tiefe = 0;
    bool fehlerGemeldet = false;
    bool konfliktOffen = false;
    bool inTransaktion = false;
    // The file the connection has open, its device and inode, and SQLite's
    // data_version as last seen.
    QString offeneDatei;
    QByteArray dateiKennung;
    qint64 datenVersion = -1;
    // Which opening of a file this connection's is (Datenstand::verbindung).
    quint64 verbindungsNummer = 0;
    // SQLite's own handle of the open connection, where Sitzung::durchlaufen
    // may step through it; null otherwise.
    sqlite3 *direkt = nullptr;
    // On a server: the tables the running transaction wrote, told to the
    // other seats when it commits; whether a serialization failure may still
    // be met by running the transaction once more, and whether one was met.
    QSet<QString> geschrieben;
    bool wiederholbar = false;
    bool serialisiert = false;
    bool mitteilungenVerbunden = false;
    // On a server, for Datenstand: notices of other seats received (and
    // connections made anew, after which anything may have changed), and
    // statements that wrote here.
    qint64 fremdeMitteilungen = 0;
    qint64 eigeneAenderungen = 0;
};

// One database operation on a connection: opens the file in use when needed,
// runs prepared statements, and reports through the connection when the
// outermost session ends (sessions nest, so a fill called from a command
// shares the command's session). Every failure is reported through
// DbVerbindung::datenbankFehler, once per outermost session.
class DbVerbindung::Sitzung
{
public:
    // A missing file is created only when anlegen is set (the first start's
    // default file); otherwise a file removed meanwhile is reported as such.
    explicit Sitzung(DbVerbindung &verbindung, bool anlegen = false);
    ~Sitzung();
    Sitzung(const Sitzung &) = delete;
    Sitzung &operator=(const Sitzung &) = delete;

    bool offen() const { return istOffen; }

    // Runs a query and returns its rows; on failure no rows and a report.
    QVector<QSqlRecord> lesen(const QString &sql, const Werte &werte = {}, bool *ok = nullptr);
    // The same for reads of many thousands of rows: hands each row to zeile
    // as the driver gives it (q.value(i)), keeping none; false (and a
    // report) when the query failed. On SQLite the rows are stepped through
    // SQLite itself, sparing Qt's row cache and its copies of every value.
    bool durchlaufen(const QString &sql, const Werte &werte, const std::function<void(const DbZeile &q)> &zeile);
    // Whether durchlaufen steps through SQLite itself on this connection.
    bool liestDirekt() const;
    // Runs one changing statement; false (and a report) when it failed.
    // neueId gets the key of the row an INSERT added (the server's comes
    // from "RETURNING id": the table needs its id column), nothing when it
    // added none.
    bool aendern(const QString &sql, const Werte &werte = {}, QVariant *neueId = nullptr);
    // Runs a changing statement that is meant to hit a row the window showed
    // (its WHERE names the key and, where it matters, the values shown; an
    // insert names the rows it belongs to). No row changed means the row was
    // changed or removed elsewhere: false, and the conflict is reported once
    // when the operation ends, after which the window reloads its views.
    bool aendernZeile(const QString &sql, const Werte &werte = {}, QVariant *neueId = nullptr);
    // Marks the operation as undone by a change made elsewhere (a read inside
    // the transaction found the row gone or changed).
    void konflikt();
    bool hatKonflikt() const;
    // The stand of the open file's data now; one equal to no other when the
    // file is not open. Does not count as a look for fremdGeaendert.
    Datenstand datenstand();
    // Runs the steps inside one transaction: all of them or none.
    // The steps return false to give up; the transaction is then rolled back.
    bool transaktion(const std::function<bool()> &schritte);

    // How long SQLite waits for another program's lock before failing.
    static int wartezeitMs;
    // Whether durchlaufen steps through SQLite itself where it can; off,
    // every read takes Qt's way, which the tests compare it with.
    static bool direktLesen;

    QSqlDatabase &verbindung();
    const QString &datei() const;
    Datenbankart art() const { return v.art(); }

private:
    bool verbinden(bool anlegen);
    bool ausfuehren(const QString &sql, const Werte &werte, QVariant *neueId, bool zeileNoetig);
    void melden(const QString &was, const QString &fehler);
    // Reports a failed statement; a serialization failure on a first attempt
    // is only noted, as the transaction runs once more. A connection to the
    // server that is gone is closed, so that the next session connects anew.
    void fehlschlag(const QString &was, const QSqlError &fehler, bool beimAbschluss = false);
    // Tells the other seats which tables a commit wrote.
    bool mitteilen();

    DbVerbindung &v;
    bool istOffen = false;
    bool aeussere = false;
};

using DbSitzung = DbVerbindung::Sitzung;

// Why the file at pfad is no database of this program (not an SQLite file,
// a table or a column missing), or "" when it is one. Extra tables and
// columns are fine. Opens it read-only through its own connection.
QString datenbankMangel(const QString &pfad);
bool istKalvoriaDatenbank(const QString &pfad);

// Sets a connection up for the server database: host, port, database,
// user, SSL mode (one of Serverzugang::sslModi(), else "prefer").
void serverEinrichten(QSqlDatabase &db, const Serverzugang &zugang, const QString &passwort);

// What a server database is to the program, as found through a connection
// of its own that is closed again.
struct Serverpruefung {
    QString fehler;    // why no connection could be made; "" when one was
    bool leer = false; // no tables at all: the program may create its own
    QString mangel;    // why its tables are no Kalvoria database; "" when they are
};
Serverpruefung serverPruefen(const Serverzugang &zugang, const QString &passwort);

// Creates the tables of this program that the session's database lacks.
bool tabellenAnlegen(DbSitzung &sitzung);
// Whether the session's database has the table; false as well when it could
// not be asked (*ok false, reported).
bool tabelleDa(DbSitzung &sitzung, const QString &name, bool *ok = nullptr);

// The CREATE TABLE statements of the five tables, as a new file gets them.
QVector<QString> tabellenSchema();
// The CREATE INDEX statements on them that a file gets when opened for writing.
QVector<QString> tabellenIndizes();
