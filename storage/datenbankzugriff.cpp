// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/datenbankzugriff.h"

#include "storage/dateisperre.h"

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

int DbVerbindung::Sitzung::wartezeitMs = 5000;

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

// Runs the statement with its values bound. The server's driver prepares a
// statement with PREPARE, which takes no CREATE or BEGIN: one without values
// is sent as it is.
bool starten(QSqlQuery &q, const QString &sql, const Werte &werte, Datenbankart art)
{
    if (art == Datenbankart::postgres && werte.isEmpty())
        return q.exec(sql);
    if (!q.prepare(sql))
        return false;
    for (const auto &w : werte)
        q.bindValue(w.first, Dialekt::binden(art, w.second));
    return q.exec();
}

// Device and inode: tells a file replaced at the same path from the one opened.
QByteArray kennungLesen(const QString &pfad)
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

qint64 versionLesen(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

// Indexes on the keys every patient's fill looks up, added when a file is
// opened for writing, so that choosing a patient costs what the patient's
// own lines cost, and on the family-doctor appointments from today, so that
// the next one of every patient is found without reading every appointment
// (appointments/hausarzt.h). Earlier versions and other programs do not see
// them; a read-only file gets none, and a failure (a locked or foreign file)
// changes nothing.
const char *const indizes[] = {
    "CREATE INDEX IF NOT EXISTS einnahme_pat_id ON einnahme (pat_id)",
    "CREATE INDEX IF NOT EXISTS termine_pata_id ON termine (pata_id)",
    "CREATE INDEX IF NOT EXISTS sorte_medizin_id ON sorte (medizin_id)",
    "CREATE INDEX IF NOT EXISTS termine_hausarzt ON termine (arzt, arzt_date, pata_id)",
};

void indizesAnlegen(QSqlDatabase &db, const QString &pfad)
{
    const QFileInfo datei(pfad);
    if (!datei.isWritable() || !QFileInfo(datei.absolutePath()).isWritable())
        return;
    QSqlQuery q(db);
    for (const char *sql : indizes)
        q.exec(QString::fromLatin1(sql));
}

QString fehlerText(const QSqlError &e)
{
    QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("unbekannter Fehler") : t;
}

} // namespace

const QStringList &Serverzugang::sslModi()
{
    static const QStringList modi{QStringLiteral("disable"),   QStringLiteral("allow"),
                                  QStringLiteral("prefer"),    QStringLiteral("require"),
                                  QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modi;
}

QString Serverzugang::anzeige() const
{
    QString wo = host.isEmpty() ? QStringLiteral("localhost") : host;
    if (port > 0)
        wo += QLatin1Char(':') + QString::number(port);
    return QStringLiteral("%1 auf %2").arg(datenbank, wo);
}

DbVerbindung::DbVerbindung()
{
    static int verbindungen = 0;
    const QString name = QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection))
                             ? QStringLiteral("kalvoria-%1").arg(++verbindungen)
                             : QLatin1String(QSqlDatabase::defaultConnection);
    datenbank = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
}

DbVerbindung::~DbVerbindung()
{
    // Give the connection name back, so a later window (or test) can add it
    // again without Qt's "connection still in use" warning.
    const QString name = datenbank.connectionName();
    datenbank.close();
    datenbank = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

void DbVerbindung::serverVerwenden(const Serverzugang &zugang, const QString &passwort)
{
    const QString name = datenbank.connectionName();
    datenbank.close();
    datenbank = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    datenbank = QSqlDatabase::addDatabase(Dialekt::treiber(Datenbankart::postgres), name);
    datenbank.setHostName(zugang.host);
    datenbank.setPort(zugang.port);
    datenbank.setDatabaseName(zugang.datenbank);
    datenbank.setUserName(zugang.benutzer);
    datenbank.setPassword(passwort);
    // Only a known mode reaches the connection string.
    const QString modus = Serverzugang::sslModi().contains(zugang.sslModus) ? zugang.sslModus
                                                                            : QStringLiteral("prefer");
    datenbank.setConnectOptions(QStringLiteral("sslmode=") + modus);
    server = zugang;
    sperre.reset();
    offeneDatei.clear();
    dateiKennung.clear();
    datenVersion = -1;
}

DbVerbindung::Sitzung::Sitzung(DbVerbindung &verbindung, bool anlegen) : v(verbindung)
{
    if (v.tiefe++ > 0) {
        istOffen = v.datenbank.isOpen();
        return;
    }
    aeussere = true;
    v.fehlerGemeldet = false;
    v.konfliktOffen = false;
    istOffen = verbinden(anlegen);
    if (!istOffen && v.art() == Datenbankart::postgres) {
        melden(
            QStringLiteral("Die Datenbank \u201E%1\u201C konnte nicht ge\u00F6ffnet werden.").arg(v.server.anzeige()),
            fehlerText(v.datenbank.lastError()));
    } else if (!istOffen) {
        const bool fehlt = !anlegen && !v.datenbankDatei.isEmpty() && !QFileInfo(v.datenbankDatei).isFile();
        melden(QStringLiteral("Die Datenbank \u201E%1\u201C konnte nicht ge\u00F6ffnet werden.").arg(v.datenbankDatei),
               fehlt
                   ? QStringLiteral("Die Datei gibt es nicht mehr: Sie wurde verschoben, umbenannt oder gel\u00F6scht.")
                   : fehlerText(v.datenbank.lastError()));
    }
}

// The connection stays open between operations, so that data_version can
// tell another program's commits from the window's own; it is opened anew
// when the window switches files or the file at the path was replaced.
bool DbVerbindung::Sitzung::verbinden(bool anlegen)
{
    QSqlDatabase &db = v.datenbank;
    if (v.art() == Datenbankart::postgres)
        return db.isOpen() || db.open();
    const QString &pfad = v.datenbankDatei;
    if (db.isOpen() && v.offeneDatei == pfad && !v.dateiKennung.isEmpty() && kennungLesen(pfad) == v.dateiKennung)
        return true;
    db.close();
    v.offeneDatei.clear();
    v.dateiKennung.clear();
    if (pfad.isEmpty() || (!anlegen && !QFileInfo(pfad).isFile()))
        return false;
    db.setDatabaseName(pfad);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(wartezeitMs));
    if (!db.open())
        return false;
    if (!v.sperre || v.sperre->datenbank() != pfad)
        v.sperre = std::make_unique<Dateisperre>(pfad);
    indizesAnlegen(db, pfad);
    v.offeneDatei = pfad;
    v.dateiKennung = kennungLesen(pfad);
    v.datenVersion = versionLesen(db);
    return true;
}

DbVerbindung::Sitzung::~Sitzung()
{
    --v.tiefe;
    if (aeussere && v.konfliktOffen) {
        v.konfliktOffen = false;
        v.datenbankKonflikt();
    }
}

void DbVerbindung::Sitzung::melden(const QString &was, const QString &fehler)
{
    if (v.fehlerGemeldet)
        return;
    v.fehlerGemeldet = true;
    v.datenbankFehler(was + QStringLiteral("\n\n") + fehler);
}

QVector<QSqlRecord> DbVerbindung::Sitzung::lesen(const QString &sql, const Werte &werte, bool *ok)
{
    QVector<QSqlRecord> zeilen;
    if (ok)
        *ok = false;
    if (!istOffen)
        return zeilen;
    QSqlQuery q(v.datenbank);
    q.setForwardOnly(true);
    if (!starten(q, sql, werte, v.art())) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        return zeilen;
    }
    // The columns' names and types once, not read from the driver anew for
    // every row: a list of thousands of patients reads much faster.
    const QSqlRecord vorlage = q.record();
    const int spalten = vorlage.count();
    while (q.next()) {
        QSqlRecord zeile = vorlage;
        for (int i = 0; i < spalten; ++i)
            zeile.setValue(i, q.value(i));
        zeilen.append(zeile);
    }
    if (q.lastError().isValid()) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        zeilen.clear();
        return zeilen;
    }
    if (ok)
        *ok = true;
    return zeilen;
}

bool DbVerbindung::Sitzung::durchlaufen(const QString &sql, const Werte &werte,
                                        const std::function<void(const QSqlQuery &q)> &zeile)
{
    if (!istOffen)
        return false;
    QSqlQuery q(v.datenbank);
    q.setForwardOnly(true);
    if (!starten(q, sql, werte, v.art())) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        return false;
    }
    while (q.next())
        zeile(q);
    if (q.lastError().isValid()) {
        melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehlerText(q.lastError()));
        return false;
    }
    return true;
}

bool DbVerbindung::Sitzung::aendern(const QString &sql, const Werte &werte, QVariant *neueId)
{
    return ausfuehren(sql, werte, neueId, false);
}

bool DbVerbindung::Sitzung::aendernZeile(const QString &sql, const Werte &werte, QVariant *neueId)
{
    return ausfuehren(sql, werte, neueId, true);
}

bool DbVerbindung::Sitzung::ausfuehren(const QString &sql, const Werte &werte, QVariant *neueId, bool zeileNoetig)
{
    // No key for an insert that wrote nothing, whatever an earlier one gave.
    if (neueId)
        *neueId = QVariant();
    if (!istOffen)
        return false;
    const Datenbankart art = v.art();
    QSqlQuery q(v.datenbank);
    if (!starten(q, neueId ? Dialekt::mitNeuerId(art, sql) : sql, werte, art)) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), fehlerText(q.lastError()));
        return false;
    }
    if (zeileNoetig && q.numRowsAffected() < 1) {
        konflikt();
        return false;
    }
    if (neueId && q.numRowsAffected() > 0)
        *neueId = Dialekt::neueIdNachher(art) ? q.lastInsertId() : q.next() ? q.value(0) : QVariant();
    return true;
}

QSqlDatabase &DbVerbindung::Sitzung::verbindung()
{
    return v.datenbank;
}

const QString &DbVerbindung::Sitzung::datei() const
{
    return v.datenbankDatei;
}

void DbVerbindung::Sitzung::konflikt()
{
    v.konfliktOffen = true;
}

bool DbVerbindung::Sitzung::hatKonflikt() const
{
    return v.konfliktOffen;
}

bool DbVerbindung::Sitzung::transaktion(const std::function<bool()> &schritte)
{
    if (!istOffen)
        return false;
    if (v.inTransaktion)
        return schritte();
    // SQLite's IMMEDIATE takes the write lock at once: what the steps read
    // cannot be changed by another program before they write, and two
    // programs cannot each wait for the other to let go of its read lock.
    // The server's SERIALIZABLE gives the same promise without the lock.
    QSqlQuery beginn(v.datenbank);
    if (!beginn.exec(Dialekt::schreibtransaktion(v.art()))) {
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), fehlerText(beginn.lastError()));
        return false;
    }
    v.inTransaktion = true;
    bool gut = schritte();
    v.inTransaktion = false;
    if (gut && v.datenbank.commit())
        return true;
    if (gut)
        melden(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."),
               fehlerText(v.datenbank.lastError()));
    v.datenbank.rollback();
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

bool DbVerbindung::fremdGeaendert()
{
    // A server database has no data_version; its seats will tell each other.
    if (!datenbank.isOpen() || tiefe > 0 || art() == Datenbankart::postgres)
        return false;
    // A file gone has nothing to show; the next change reports it.
    const QByteArray kennung = kennungLesen(offeneDatei);
    if (kennung.isEmpty())
        return false;
    if (kennung != dateiKennung)
        return true;
    const qint64 version = versionLesen(datenbank);
    if (version == datenVersion)
        return false;
    datenVersion = version;
    return true;
}

bool tabellenAnlegen(DbSitzung &sitzung)
{
    const Datenbankart art = sitzung.art();
    bool ok = false;
    QSet<QString> vorhanden;
    for (const QSqlRecord &r : sitzung.lesen(Dialekt::tabellenAbfrage(art), {}, &ok))
        vorhanden.insert(r.value(0).toString());
    if (!ok)
        return false;
    const bool gut = sitzung.transaktion([&] {
        for (const auto &t : schema) {
            if (!vorhanden.contains(QString::fromLatin1(t[0])) &&
                !sitzung.aendern(Dialekt::tabelle(art, QString::fromLatin1(t[1]))))
                return false;
        }
        // A file gets its indexes whenever it is opened for writing; a
        // server database once, with its tables.
        if (art == Datenbankart::postgres) {
            for (const char *sql : indizes) {
                if (!sitzung.aendern(QString::fromLatin1(sql)))
                    return false;
            }
        }
        return true;
    });
    if (gut && art == Datenbankart::sqlite)
        indizesAnlegen(sitzung.verbindung(), sitzung.datei());
    return gut;
}

bool tabelleDa(DbSitzung &sitzung, const QString &name, bool *ok)
{
    bool gelesen = false;
    const auto zeilen = sitzung.lesen(Dialekt::tabelleDaAbfrage(sitzung.art()), {{QStringLiteral(":name"), name}},
                                      &gelesen);
    if (ok)
        *ok = gelesen;
    return gelesen && !zeilen.isEmpty();
}

QVector<QString> tabellenSchema()
{
    QVector<QString> anweisungen;
    for (const auto &t : schema)
        anweisungen << QString::fromLatin1(t[1]);
    return anweisungen;
}
