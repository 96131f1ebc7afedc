// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/datenbankzugriff.h"

#include "app/mainwindow.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

int DbSitzung::wartezeitMs = 5000;

namespace {

const char *const schema[][3] = {
    {"einnahme",
     "CREATE TABLE einnahme (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id INTEGER, med_id INTEGER, tag DATE, "
     "stand REAL, morgen REAL, mittag REAL, abend REAL, nacht REAL, hilfe BOOLEAN, ordnung INTEGER ) ; ",
     "id pat_id med_id tag stand morgen mittag abend nacht hilfe ordnung"},
    {"medikament", "CREATE TABLE medikament (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin VARCHAR (30) ) ; ",
     "id medizin"},
    {"patient",
     "CREATE TABLE patient (id INTEGER PRIMARY KEY AUTOINCREMENT, firstname VARCHAR (30), lastname VARCHAR (30), "
     "birth DATE, plz CHAR (10), ort VARCHAR (30), strasse VARCHAR (30), nr VARCHAR (10) ) ;",
     "id firstname lastname birth plz ort strasse nr"},
    {"sorte",
     "CREATE TABLE sorte (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin_id INTEGER, handelsname VARCHAR (50), "
     "dosis VARCHAR (20), packung DOUBLE) ; ",
     "id medizin_id handelsname dosis packung"},
    {"termine",
     "CREATE TABLE termine (id INTEGER PRIMARY KEY AUTOINCREMENT, pata_id INTEGER, arzt VARCHAR (30), "
     "arzt_date DATE) ; ",
     "id pata_id arzt arzt_date"},
};

bool vorbereiten(QSqlQuery &q, const QString &sql, const Werte &werte)
{
    if (!q.prepare(sql))
        return false;
    for (const auto &w : werte)
        q.bindValue(w.first, w.second);
    return true;
}

// Device and inode: tells a file replaced at the same path from the one opened.
QByteArray dateiKennung(const QString &pfad)
{
#ifdef Q_OS_UNIX
    struct stat st {
    };
    if (pfad.isEmpty() || ::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return QByteArray();
    return QByteArray::number(static_cast<qulonglong>(st.st_dev)) + ':' +
           QByteArray::number(static_cast<qulonglong>(st.st_ino));
#else
    return QFileInfo::exists(pfad) ? QByteArray("1") : QByteArray();
#endif
}

qint64 datenVersion(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

// Indexes on the keys every patient's fill looks up, added with the first
// change to a file (opening alone leaves it as it was). Earlier versions and
// other programs do not see them; a read-only file gets none, and a failure
// (a locked or foreign file) changes nothing.
void indizesAnlegen(QSqlDatabase &db, const QString &pfad)
{
    const QFileInfo datei(pfad);
    if (!datei.isWritable() || !QFileInfo(datei.absolutePath()).isWritable())
        return;
    QSqlQuery q(db);
    for (const char *sql : {"CREATE INDEX IF NOT EXISTS einnahme_pat_id ON einnahme (pat_id)",
                            "CREATE INDEX IF NOT EXISTS termine_pata_id ON termine (pata_id)",
                            "CREATE INDEX IF NOT EXISTS sorte_medizin_id ON sorte (medizin_id)"})
        q.exec(QString::fromLatin1(sql));
}

QString fehlerText(const QSqlError &e)
{
    QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("unbekannter Fehler") : t;
}

} // namespace

DbSitzung::DbSitzung(MainWindow &f, bool anlegen) : fenster(f)
{
    if (fenster.dbTiefe++ > 0) {
        istOffen = fenster.datenbank.isOpen();
        return;
    }
    aeussere = true;
    fenster.dbFehlerGemeldet = false;
    fenster.dbKonflikt = false;
    istOffen = verbinden(anlegen);
    if (!istOffen) {
        const bool fehlt = !anlegen && !fenster.datenbankDatei.isEmpty() && !QFileInfo(fenster.datenbankDatei).isFile();
        melden(QStringLiteral("Die Datenbank \u201E%1\u201C konnte nicht ge\u00F6ffnet werden.")
                   .arg(fenster.datenbankDatei),
               fehlt
                   ? QStringLiteral("Die Datei gibt es nicht mehr: Sie wurde verschoben, umbenannt oder gel\u00F6scht.")
                   : fehlerText(fenster.datenbank.lastError()));
    }
}

// The connection stays open between operations, so that data_version can
// tell another program's commits from the window's own; it is opened anew
// when the window switches files or the file at the path was replaced.
bool DbSitzung::verbinden(bool anlegen)
{
    QSqlDatabase &db = fenster.datenbank;
    const QString &pfad = fenster.datenbankDatei;
    if (db.isOpen() && fenster.offeneDatei == pfad && !fenster.dateiKennung.isEmpty() &&
        dateiKennung(pfad) == fenster.dateiKennung)
        return true;
    db.close();
    fenster.offeneDatei.clear();
    fenster.dateiKennung.clear();
    if (pfad.isEmpty() || (!anlegen && !QFileInfo(pfad).isFile()))
        return false;
    db.setDatabaseName(pfad);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(wartezeitMs));
    if (!db.open())
        return false;
    fenster.offeneDatei = pfad;
    fenster.dateiKennung = dateiKennung(pfad);
    fenster.datenVersion = datenVersion(db);
    fenster.indizesGeprueft = false;
    return true;
}

DbSitzung::~DbSitzung()
{
    --fenster.dbTiefe;
    if (aeussere && fenster.dbKonflikt) {
        fenster.dbKonflikt = false;
        fenster.datenbankKonflikt();
    }
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
    return ausfuehren(sql, werte, neueId, false);
}

bool DbSitzung::aendernZeile(const QString &sql, const Werte &werte, QVariant *neueId)
{
    return ausfuehren(sql, werte, neueId, true);
}

bool DbSitzung::ausfuehren(const QString &sql, const Werte &werte, QVariant *neueId, bool zeileNoetig)
{
    if (!istOffen)
        return false;
    if (!fenster.indizesGeprueft) {
        fenster.indizesGeprueft = true;
        indizesAnlegen(fenster.datenbank, fenster.datenbankDatei);
    }
    QSqlQuery q(fenster.datenbank);
    if (!vorbereiten(q, sql, werte) || !q.exec()) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), fehlerText(q.lastError()));
        return false;
    }
    if (zeileNoetig && q.numRowsAffected() < 1) {
        konflikt();
        return false;
    }
    if (neueId)
        *neueId = q.lastInsertId();
    return true;
}

QSqlDatabase &DbSitzung::verbindung()
{
    return fenster.datenbank;
}

const QString &DbSitzung::datei() const
{
    return fenster.datenbankDatei;
}

void DbSitzung::konflikt()
{
    fenster.dbKonflikt = true;
}

bool DbSitzung::hatKonflikt() const
{
    return fenster.dbKonflikt;
}

bool DbSitzung::transaktion(const std::function<bool()> &schritte)
{
    if (!istOffen)
        return false;
    if (fenster.inTransaktion)
        return schritte();
    // IMMEDIATE takes the write lock at once: what the steps read cannot be
    // changed by another program before they write, and two programs
    // cannot each wait for the other to let go of its read lock.
    QSqlQuery beginn(fenster.datenbank);
    if (!beginn.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), fehlerText(beginn.lastError()));
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

QString datenbankMangel(const QString &pfad)
{
    if (pfad.isEmpty() || !QFileInfo(pfad).isFile())
        return QStringLiteral("Die Datei gibt es nicht.");
    const QString name = QStringLiteral("kalvoria-pruefung-") + QUuid::createUuid().toString();
    QString mangel;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery q(db);
        QSet<QString> namen;
        if (!db.open() || !q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
            mangel = QStringLiteral("Die Datei ist keine SQLite-Datenbank oder kann nicht gelesen werden.");
        } else {
            while (q.next())
                namen.insert(q.value(0).toString());
        }
        for (const auto &t : schema) {
            if (!mangel.isEmpty())
                break;
            const QString tabelle = QString::fromLatin1(t[0]);
            if (!namen.contains(tabelle)) {
                mangel = QStringLiteral("Die Tabelle \u201E%1\u201C fehlt.").arg(tabelle);
                break;
            }
            // The table's name comes from the list above, never from the file or the user.
            QSet<QString> spalten;
            if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(tabelle))) {
                while (q.next())
                    spalten.insert(q.value(1).toString());
            }
            for (const QString &spalte : QString::fromLatin1(t[2]).split(QLatin1Char(' '))) {
                if (!spalten.contains(spalte)) {
                    mangel = QStringLiteral("In der Tabelle \u201E%1\u201C fehlt die Spalte \u201E%2\u201C.")
                                 .arg(tabelle, spalte);
                    break;
                }
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return mangel;
}

bool istKalvoriaDatenbank(const QString &pfad)
{
    return datenbankMangel(pfad).isEmpty();
}

bool fremdGeaendert(MainWindow &fenster)
{
    QSqlDatabase &db = fenster.datenbank;
    if (!db.isOpen() || fenster.dbTiefe > 0)
        return false;
    // A file gone has nothing to show; the next change reports it.
    const QByteArray kennung = dateiKennung(fenster.offeneDatei);
    if (kennung.isEmpty())
        return false;
    if (kennung != fenster.dateiKennung)
        return true;
    const qint64 version = datenVersion(db);
    if (version == fenster.datenVersion)
        return false;
    fenster.datenVersion = version;
    return true;
}

bool tabellenAnlegen(DbSitzung &sitzung)
{
    bool ok = false;
    QSet<QString> vorhanden;
    for (const QSqlRecord &r :
         sitzung.lesen(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), {}, &ok))
        vorhanden.insert(r.value(0).toString());
    if (!ok)
        return false;
    const bool gut = sitzung.transaktion([&] {
        for (const auto &t : schema) {
            if (!vorhanden.contains(QString::fromLatin1(t[0])) && !sitzung.aendern(QString::fromLatin1(t[1])))
                return false;
        }
        return true;
    });
    if (gut)
        indizesAnlegen(sitzung.verbindung(), sitzung.datei());
    return gut;
}

QVector<QString> tabellenSchema()
{
    QVector<QString> anweisungen;
    for (const auto &t : schema)
        anweisungen << QString::fromLatin1(t[1]);
    return anweisungen;
}
