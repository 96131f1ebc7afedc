// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class MainWindow;
class QSqlDatabase;

// Named placeholder values, bound in order: {":id", 3}, {":name", text}.
using Werte = QList<QPair<QString, QVariant>>;

// One database operation on the window's connection: names the file in use,
// opens it, runs prepared statements and closes it again when the outermost
// session ends (sessions nest, so a fill called from a command shares the
// command's connection). Every failure is reported through
// MainWindow::datenbankFehler, once per outermost session.
class DbSitzung
{
public:
    // A missing file is created only when anlegen is set (the first start's
    // default file); otherwise a file removed meanwhile is reported as such.
    explicit DbSitzung(MainWindow &fenster, bool anlegen = false);
    ~DbSitzung();
    DbSitzung(const DbSitzung &) = delete;
    DbSitzung &operator=(const DbSitzung &) = delete;

    bool offen() const { return istOffen; }

    // Runs a query and returns its rows; on failure no rows and a report.
    QVector<QSqlRecord> lesen(const QString &sql, const Werte &werte = {}, bool *ok = nullptr);
    // Runs one changing statement; false (and a report) when it failed.
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
    // Runs the steps inside one transaction: all of them or none.
    // The steps return false to give up; the transaction is then rolled back.
    bool transaktion(const std::function<bool()> &schritte);

    // How long SQLite waits for another program's lock before failing.
    static int wartezeitMs;

    QSqlDatabase &verbindung();
    const QString &datei() const;

private:
    bool verbinden(bool anlegen);
    bool ausfuehren(const QString &sql, const Werte &werte, QVariant *neueId, bool zeileNoetig);
    void melden(const QString &was, const QString &fehler);

    MainWindow &fenster;
    bool istOffen = false;
    bool aeussere = false;
};

// Why the file at pfad is no database of this program (not an SQLite file,
// a table or a column missing), or "" when it is one. Extra tables and
// columns are fine. Opens it read-only through its own connection.
QString datenbankMangel(const QString &pfad);
bool istKalvoriaDatenbank(const QString &pfad);

// Whether another connection has committed to the window's open file since
// it was opened or last asked (SQLite's data_version; the window's own
// changes do not count). Never opens the file and never reports: a file
// that vanished or was replaced counts as changed.
bool fremdGeaendert(MainWindow &fenster);

// Creates the tables of this program that the open default connection lacks.
bool tabellenAnlegen(DbSitzung &sitzung);

// The CREATE TABLE statements of the five tables, as a new file gets them.
QVector<QString> tabellenSchema();
