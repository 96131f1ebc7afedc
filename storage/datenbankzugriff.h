#pragma once

#include <QList>
#include <QPair>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class MainWindow;

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
    explicit DbSitzung(MainWindow &fenster);
    ~DbSitzung();
    DbSitzung(const DbSitzung &) = delete;
    DbSitzung &operator=(const DbSitzung &) = delete;

    bool offen() const { return istOffen; }

    // Runs a query and returns its rows; on failure no rows and a report.
    QVector<QSqlRecord> lesen(const QString &sql, const Werte &werte = {}, bool *ok = nullptr);
    // Runs one changing statement; false (and a report) when it failed.
    bool aendern(const QString &sql, const Werte &werte = {}, QVariant *neueId = nullptr);
    // Runs the steps inside one transaction: all of them or none.
    // The steps return false to give up; the transaction is then rolled back.
    bool transaktion(const std::function<bool()> &schritte);

    // How long SQLite waits for another program's lock before failing.
    static int wartezeitMs;

private:
    void melden(const QString &was, const QString &fehler);

    MainWindow &fenster;
    bool istOffen = false;
    bool aeussere = false;
};

// True when the file at pfad is an SQLite database holding the five tables
// of this program. Opens it read-only through its own connection.
bool istKalvoriaDatenbank(const QString &pfad);

// Creates the tables of this program that the open default connection lacks.
bool tabellenAnlegen(DbSitzung &sitzung);
