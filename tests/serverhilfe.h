// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The server's tests: a seat without a window, and a connection of the
// test's own to a server database beside the program's.
#include "storage/datenbankzugriff.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <QVariant>

// One seat: a connection of the program's on the server database or on a
// file, counting what it reports instead of showing it.
class Platz : public DbVerbindung
{
public:
    Platz(Datenbankart art, const QString &wo)
    {
        if (art == Datenbankart::sqlite) {
            datenbankDatei = wo;
            return;
        }
        Serverzugang zugang;
        zugang.datenbank = wo;
        serverVerwenden(zugang);
    }

    QString verbindungsName() const { return datenbank.connectionName(); }
    // What the connection passes to libpq besides host, port, database and user.
    QString optionen() const { return datenbank.connectOptions(); }
    void zugangSetzen(const Serverzugang &zugang) { serverVerwenden(zugang); }

    QStringList fehler;
    int konflikte = 0;

protected:
    void datenbankFehler(const QString &text) override { fehler << text; }
    void datenbankKonflikt() override { ++konflikte; }
};

// A connection of the test's own, beside the program's.
class Blick
{
public:
    explicit Blick(const QString &datenbank) : name(QStringLiteral("blick-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(datenbank);
        if (!db.open())
            qFatal("%s", qPrintable(db.lastError().text()));
    }
    ~Blick() { QSqlDatabase::removeDatabase(name); }
    Blick(const Blick &) = delete;
    Blick &operator=(const Blick &) = delete;

    // Whether the statement ran; its error in fehler.
    bool ausfuehren(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(name));
        const bool gut = q.exec(sql);
        fehler = q.lastError().text();
        return gut;
    }
    // The rows of a statement; one that fails ends the test program. The
    // server prepares no CREATE or DROP: statements without values are sent
    // as they are.
    QList<QVariantList> zeilen(const QString &sql, const QVariantList &werte = {})
    {
        QSqlQuery q(QSqlDatabase::database(name));
        bool gut = false;
        if (werte.isEmpty()) {
            gut = q.exec(sql);
        } else {
            q.prepare(sql);
            for (const QVariant &w : werte)
                q.addBindValue(w);
            gut = q.exec();
        }
        if (!gut)
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        QList<QVariantList> ergebnis;
        while (q.next()) {
            QVariantList zeile;
            for (int i = 0; i < q.record().count(); ++i)
                zeile << q.value(i);
            ergebnis << zeile;
        }
        return ergebnis;
    }
    QVariant wert(const QString &sql, const QVariantList &werte = {})
    {
        const auto z = zeilen(sql, werte);
        return z.isEmpty() ? QVariant() : z.first().value(0);
    }
    QStringList spalten(const QString &tabelle)
    {
        QStringList namen;
        for (const QVariantList &z :
             zeilen(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                   "current_schema() AND table_name = '%1' ORDER BY ordinal_position")
                        .arg(tabelle)))
            namen << z.value(0).toString();
        return namen;
    }

    QString fehler;

private:
    QString name;
};
