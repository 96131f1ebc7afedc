// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Copies between a database file of this program and a server database:
// the program's tables, every row with its key, every value as it is (a
// copy there and back gives the same file content, types included). A copy
// is whole or is not made at all.

#include <QPair>
#include <QString>
#include <QVector>

class QSqlDatabase;

struct Kopie {
    // Why nothing was copied, in German; "" when the copy is complete.
    QString fehler;
    // The rows of each table copied, in the order the tables were copied.
    QVector<QPair<QString, qint64>> zeilen;

    bool gut() const { return fehler.isEmpty(); }
    // The rows copied of the table; 0 when it was not copied.
    qint64 anzahl(const QString &tabelle) const;
};

// Copies the tables of the file datei into the open server database, which
// must have no tables yet, in one transaction of the server: the tables in
// their server form, the rows with their keys, each key counter past the
// highest key the file ever gave. The file is read in one read transaction.
// A value the server's column does not take (a text in a number column)
// refuses the whole copy, naming its table, row and column. Tables of the
// file this program does not know refuse it too; the note a backup keeps of
// its origin is not copied.
Kopie dateiAufServer(const QString &datei, QSqlDatabase &server);

// Writes the program's tables of the open server database, as one snapshot,
// into the new file pfad (which must not exist yet), in the form this
// program gives a file, so that earlier versions open it. Leaves checking
// and naming the file to the caller: a failed copy leaves pfad removed.
// Other tables on the server are no part of the program's data.
Kopie serverInDatei(QSqlDatabase &server, const QString &pfad);

// serverInDatei into ziel: written under a temporary name, checked, flushed
// to the disk and then renamed, so that ziel is either complete or absent
// (or, with ersetzen, the file it was before). Without ersetzen an existing
// ziel is refused.
Kopie serverAlsDatei(QSqlDatabase &server, const QString &ziel, bool ersetzen);
