#include "storage/datenbankzugriff.h"

#include "app/mainwindow.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

int DbSitzung::wartezeitMs = 5000;

namespace {

const char *const schema[][2] = {
    {"einnahme",
     "CREATE TABLE einnahme (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id INTEGER, med_id INTEGER, tag DATE, "
     "stand REAL, morgen REAL, mittag REAL, abend REAL, nacht REAL, hilfe BOOLEAN, ordnung INTEGER ) ; "},
    {"medikament", "CREATE TABLE medikament (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin VARCHAR (30) ) ; "},
    {"patient",
     "CREATE TABLE patient (id INTEGER PRIMARY KEY AUTOINCREMENT, firstname VARCHAR (30), lastname VARCHAR (30), "
     "birth DATE, plz CHAR (10), ort VARCHAR (30), strasse VARCHAR (30), nr VARCHAR (10) ) ;"},
    {"sorte",
     "CREATE TABLE sorte (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin_id INTEGER, handelsname VARCHAR (50), "
     "dosis VARCHAR (20), packung DOUBLE) ; "},
    {"termine",
     "CREATE TABLE termine (id INTEGER PRIMARY KEY AUTOINCREMENT, pata_id INTEGER, arzt VARCHAR (30), "
     "arzt_date DATE) ; "},
};

bool vorbereiten(QSqlQuery &q, const QString &sql, const Werte &werte)
{
    if (!q.prepare(sql))
        return false;
    for (const auto &w : werte)
        q.bindValue(w.first, w.second);
    return true;
}

QString fehlerText(const QSqlError &e)
{
    QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("unbekannter Fehler") : t;
}

} // namespace

DbSitzung::DbSitzung(MainWindow &f) : fenster(f)
{
    if (fenster.dbTiefe++ > 0) {
        istOffen = fenster.datenbank.isOpen();
        return;
    }
    aeussere = true;
    fenster.dbFehlerGemeldet = false;
    fenster.datenbank.setDatabaseName(fenster.datenbankDatei);
    fenster.datenbank.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(wartezeitMs));
    istOffen = !fenster.datenbankDatei.isEmpty() && fenster.datenbank.open();
    if (!istOffen) {
        melden(QStringLiteral("Die Datenbank \u201E%1\u201C konnte nicht ge\u00F6ffnet werden.").arg(fenster.datenbankDatei),
               fehlerText(fenster.datenbank.lastError()));
    }
}

DbSitzung::~DbSitzung()
{
    --fenster.dbTiefe;
    if (aeussere)
        fenster.datenbank.close();
}

void DbSitzung::melden(const QString &was, const QString &fehler)
{
    if (fenster.dbFehlerGemeldet)
        return;
    fenster.dbFehlerGemeldet = true;
    fenster.datenbankFehler(was + QStringLiteral("\n\n") + fehler);
}

QVector<QSqlRecord> DbSitzung::lesen(const QString &sql, const Werte &werte, bool *ok)
{
    QVector<QSqlRecord> zeilen;
    if (ok)
        *ok = false;
    if (!istOffen)
        return zeilen;
    QSqlQuery q(fenster.datenbank);
    q.setForwardOnly(true);
    if (!vorbereiten(q, sql, werte) || !q.exec()) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        return zeilen;
    }
    while (q.next())
        zeilen.append(q.record());
    if (q.lastError().isValid()) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        zeilen.clear();
        return zeilen;
    }
    if (ok)
        *ok = true;
    return zeilen;
}

bool DbSitzung::aendern(const QString &sql, const Werte &werte, QVariant *neueId)
{
    if (!istOffen)
        return false;
    QSqlQuery q(fenster.datenbank);
    if (!vorbereiten(q, sql, werte) || !q.exec()) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), fehlerText(q.lastError()));
        return false;
    }
    if (neueId)
        *neueId = q.lastInsertId();
    return true;
}

bool DbSitzung::transaktion(const std::function<bool()> &schritte)
{
    if (!istOffen)
        return false;
    if (fenster.inTransaktion)
        return schritte();
    if (!fenster.datenbank.transaction()) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."),
               fehlerText(fenster.datenbank.lastError()));
        return false;
    }
    fenster.inTransaktion = true;
    bool gut = schritte();
    fenster.inTransaktion = false;
    if (gut && fenster.datenbank.commit())
        return true;
    if (gut)
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."),
               fehlerText(fenster.datenbank.lastError()));
    fenster.datenbank.rollback();
    return false;
}

bool istKalvoriaDatenbank(const QString &pfad)
{
    if (pfad.isEmpty() || !QFileInfo(pfad).isFile())
        return false;
    const QString name = QStringLiteral("kalvoria-pruefung-") + QUuid::createUuid().toString();
    bool gut = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            QSet<QString> namen;
            if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
                while (q.next())
                    namen.insert(q.value(0).toString());
                gut = true;
                for (const auto &t : schema)
                    gut = gut && namen.contains(QString::fromLatin1(t[0]));
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return gut;
}

bool tabellenAnlegen(DbSitzung &sitzung)
{
    bool ok = false;
    QSet<QString> vorhanden;
    for (const QSqlRecord &r : sitzung.lesen(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), {}, &ok))
        vorhanden.insert(r.value(0).toString());
    if (!ok)
        return false;
    return sitzung.transaktion([&] {
        for (const auto &t : schema) {
            if (!vorhanden.contains(QString::fromLatin1(t[0])) && !sitzung.aendern(QString::fromLatin1(t[1])))
                return false;
        }
        return true;
    });
}
