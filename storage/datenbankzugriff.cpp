// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/datenbankzugriff.h"

#include "app/programm.h"
#include "storage/dateisperre.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#if KALVORIA_SQLITE_DIREKT
#include <sqlite3.h>
#endif

int DbVerbindung::Sitzung::wartezeitMs = 5000;
bool DbVerbindung::Sitzung::direktLesen = true;

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

// The channel on which the seats of one server database tell each other
// which tables a commit wrote.
const char *const mitteilungsKanal = "kalvoria";

// The server refused a transaction that would contradict another seat's
// (or the two waited for each other); run again, it sees what that stored.
bool istSerialisierungsfehler(const QSqlError &e)
{
    return e.nativeErrorCode() == QLatin1String("40001") || e.nativeErrorCode() == QLatin1String("40P01");
}

// Whether the server connection is gone (the server stopped or restarted,
// the network lost), rather than a statement refused: a connection that
// is there answers, or says that its transaction already failed.
bool verbindungAbgerissen(QSqlDatabase &db)
{
    if (!db.isOpen())
        return true;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT 1")))
        return false;
    return q.lastError().nativeErrorCode() != QLatin1String("25P02");
}

// The table an INSERT, UPDATE or DELETE of the program writes; "" for
// other statements.
QString geschriebeneTabelle(const QString &sql)
{
    static const QRegularExpression aenderung(
        QStringLiteral("^\\s*(?:INSERT\\s+(?:OR\\s+\\w+\\s+)?INTO|UPDATE|DELETE\\s+FROM)\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = aenderung.match(sql);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

// SQLite's handle of an open QSQLITE connection, where this program's SQLite
// is the driver's own: the same source (a copy of SQLite linked twice would
// share no locks) and values read as doubles, as the driver reads them.
sqlite3 *direktesHandle(QSqlDatabase &db)
{
#if KALVORIA_SQLITE_DIREKT
    if (db.driverName() != QLatin1String("QSQLITE"))
        return nullptr;
    const QSql::NumericalPrecisionPolicy genauigkeit = db.numericalPrecisionPolicy();
    if (genauigkeit != QSql::LowPrecisionDouble && genauigkeit != QSql::HighPrecision)
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT sqlite_source_id()")) || !q.next() ||
        q.value(0).toString() != QLatin1String(sqlite3_sourceid()))
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
#else
    Q_UNUSED(db)
    return nullptr;
#endif
}

// A row whose values the reader writes.
class Zeilenpuffer : public DbZeile
{
public:
    explicit Zeilenpuffer(int spalten) { werte.resize(static_cast<std::size_t>(spalten)); }
    QVariant &operator[](int spalte) { return werte[static_cast<std::size_t>(spalte)]; }
};

// A value as the SQLite driver gives it: a NULL is a null text for every
// column, where the server's driver gives a null of the column's type, which
// shows as "0" for a number.
QVariant gelesen(const QSqlQuery &q, int spalte, Datenbankart art)
{
    if (art == Datenbankart::sqlite || !q.isNull(spalte))
        return q.value(spalte);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QVariant(QMetaType::fromType<QString>());
#else
    return QVariant(QVariant::String);
#endif
}

// Qt's way, which every driver has.
bool ueberQtLesen(QSqlDatabase &db, Datenbankart art, const QString &sql, const Werte &werte,
                  const std::function<void(const DbZeile &)> &zeile, QSqlError *fehler)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!starten(q, sql, werte, art)) {
        *fehler = q.lastError();
        return false;
    }
    const int spalten = q.record().count();
    Zeilenpuffer z(spalten);
    while (q.next()) {
        for (int i = 0; i < spalten; ++i)
            z[i] = gelesen(q, i, art);
        zeile(z);
    }
    if (q.lastError().isValid()) {
        *fehler = q.lastError();
        return false;
    }
    return true;
}

#if KALVORIA_SQLITE_DIREKT
// Null as the driver binds it: in Qt 6 a null text is null only to the driver.
bool istNull(const QVariant &v)
{
    return v.isNull() || (v.userType() == QMetaType::QString && v.toString().isNull());
}

// Through SQLite itself, each value made as QSQLITE makes it. Nothing
// when a value to bind is of a type bound differently there (the
// caller then takes Qt's way); false when SQLite failed, the text as
// QSQLITE writes it.
std::optional<bool> ueberSqliteLesen(sqlite3 *h, const QString &sql, const Werte &werte,
                                     const std::function<void(const DbZeile &)> &zeile, QString *fehler)
{
    for (const auto &w : werte) {
        if (istNull(w.second))
            continue;
        const int typ = w.second.userType();
        if (typ != QMetaType::Int && typ != QMetaType::Bool && typ != QMetaType::UInt && typ != QMetaType::LongLong &&
            typ != QMetaType::Double && typ != QMetaType::QString)
            return std::nullopt;
    }
    sqlite3_stmt *roh = nullptr;
    const auto melden = [&](const char *was) {
        *fehler = (QString(static_cast<const QChar *>(sqlite3_errmsg16(h))) + QLatin1Char(' ') +
                   QCoreApplication::translate("QSQLiteResult", was))
                      .trimmed();
        return false;
    };
    const void *rest = nullptr;
    const int vorbereitet = sqlite3_prepare16_v2(h, sql.utf16(), static_cast<int>(sql.size() * 2), &roh, &rest);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> anweisung(roh, sqlite3_finalize);
    if (vorbereitet != SQLITE_OK)
        return melden("Unable to execute statement");
    // No statement, more than one, or placeholders not each named once:
    // Qt's way, with its own verdict.
    const auto gelesen = static_cast<int>(static_cast<const ushort *>(rest) - sql.utf16());
    if (!roh || !QStringView(sql).mid(gelesen).trimmed().isEmpty() ||
        sqlite3_bind_parameter_count(roh) != static_cast<int>(werte.size()))
        return std::nullopt;
    for (const auto &w : werte) {
        const int i = sqlite3_bind_parameter_index(roh, w.first.toUtf8().constData());
        if (i == 0)
            return std::nullopt;
        const QVariant &v = w.second;
        int rc = SQLITE_OK;
        if (istNull(v)) {
            rc = sqlite3_bind_null(roh, i);
        } else {
            switch (v.userType()) {
            case QMetaType::Int:
            case QMetaType::Bool:
                rc = sqlite3_bind_int(roh, i, v.toInt());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                rc = sqlite3_bind_int64(roh, i, v.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(roh, i, v.toDouble());
                break;
            default: {
                const QString text = v.toString();
                rc = sqlite3_bind_text16(roh, i, text.utf16(), static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            return melden("Unable to bind parameters");
    }
    const int spalten = sqlite3_column_count(roh);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QVariant nullText(QMetaType::fromType<QString>());
#else
    const QVariant nullText(QVariant::String);
#endif
    Zeilenpuffer z(spalten);
    int rc;
    sqlite3_mutex *sperre = sqlite3_db_mutex(h);
    while ((rc = sqlite3_step(roh)) == SQLITE_ROW) {
        // The row's values read as one, under the connection's lock, which
        // the value functions need and the column functions would take
        // and give back for every call.
        sqlite3_mutex_enter(sperre);
        for (int i = 0; i < spalten; ++i) {
            QVariant &wert = z[i];
            sqlite3_value *gespeichert = sqlite3_column_value(roh, i);
            // setValue reuses a number's place, where assigning would destroy and make a value.
            switch (sqlite3_value_type(gespeichert)) {
            case SQLITE_INTEGER:
                wert.setValue(static_cast<qlonglong>(sqlite3_value_int64(gespeichert)));
                break;
            case SQLITE_FLOAT:
                wert.setValue(sqlite3_value_double(gespeichert));
                break;
            case SQLITE_NULL:
                wert = nullText;
                break;
            case SQLITE_BLOB:
                wert = QByteArray(static_cast<const char *>(sqlite3_value_blob(gespeichert)),
                                  sqlite3_value_bytes(gespeichert));
                break;
            default: {
                // ASCII, the usual text, is taken as it is stored: SQLite's
                // conversion to UTF-16 would give the same at twice the cost.
                const auto *utf8 = reinterpret_cast<const char *>(sqlite3_value_text(gespeichert));
                const int laenge = sqlite3_value_bytes(gespeichert);
                if (!std::all_of(utf8, utf8 + laenge, [](char c) { return static_cast<uchar>(c) < 0x80; })) {
                    wert = QString(static_cast<const QChar *>(sqlite3_value_text16(gespeichert)),
                                   sqlite3_value_bytes16(gespeichert) / int(sizeof(QChar)));
                } else if (wert.userType() == QMetaType::QString && !wert.isNull()) {
                    // Written into the text the place held: no new text for
                    // every row, and one the caller kept is left as it was.
                    QString &text = *static_cast<QString *>(wert.data());
                    text.resize(laenge);
                    std::transform(utf8, utf8 + laenge, text.data(), [](char c) { return QLatin1Char(c); });
                } else {
                    wert = QString::fromLatin1(utf8, laenge);
                }
                break;
            }
            }
        }
        sqlite3_mutex_leave(sperre);
        zeile(z);
    }
    if (rc != SQLITE_DONE)
        return melden("Unable to fetch row");
    return true;
}
#endif

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

void serverEinrichten(QSqlDatabase &db, const Serverzugang &zugang, const QString &passwort)
{
    db.setHostName(zugang.host);
    db.setPort(zugang.port);
    db.setDatabaseName(zugang.datenbank);
    db.setUserName(zugang.benutzer);
    db.setPassword(passwort);
    // Only a known mode reaches the connection string.
    const QString modus = Serverzugang::sslModi().contains(zugang.sslModus) ? zugang.sslModus
                                                                            : QStringLiteral("prefer");
    // A server that does not answer is given up on after a while, not waited for.
    db.setConnectOptions(QStringLiteral("sslmode=%1;connect_timeout=10").arg(modus));
}

void DbVerbindung::serverVerwenden(const Serverzugang &zugang, const QString &passwort)
{
    const QString name = datenbank.connectionName();
    datenbank.close();
    datenbank = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    datenbank = QSqlDatabase::addDatabase(Dialekt::treiber(Datenbankart::postgres), name);
    serverEinrichten(datenbank, zugang, passwort);
    server = zugang;
    sperre.reset();
    direkt = nullptr;
    offeneDatei.clear();
    dateiKennung.clear();
    datenVersion = -1;
    mitteilungenVerbunden = false;
}

void DbVerbindung::dateiVerwenden()
{
    if (art() == Datenbankart::sqlite)
        return;
    const QString name = datenbank.connectionName();
    datenbank.close();
    datenbank = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    datenbank = QSqlDatabase::addDatabase(Dialekt::treiber(Datenbankart::sqlite), name);
    server = Serverzugang();
    mitteilungenVerbunden = false;
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
    if (v.art() == Datenbankart::postgres) {
        if (db.isOpen())
            return true;
        if (!db.open())
            return false;
        // The other seats' commits are told on the channel every seat
        // listens to; a connection opened anew listens anew.
        QSqlDriver *treiber = db.driver();
        if (!treiber->subscribedToNotifications().contains(QLatin1String(mitteilungsKanal)))
            treiber->subscribeToNotification(QLatin1String(mitteilungsKanal));
        static quint64 verbunden = 0;
        v.verbindungsNummer = ++verbunden;
        // What other seats told while the line was down never arrived.
        if (v.mitteilungenVerbunden)
            v.serverGeaendert({});
        if (!v.mitteilungenVerbunden) {
            v.mitteilungenVerbunden = true;
            DbVerbindung *verbindung = &v;
            QObject::connect(
                treiber,
                static_cast<void (QSqlDriver::*)(const QString &, QSqlDriver::NotificationSource, const QVariant &)>(
                    &QSqlDriver::notification),
                treiber, [verbindung](const QString &, QSqlDriver::NotificationSource quelle, const QVariant &was) {
                    if (quelle == QSqlDriver::SelfSource)
                        return;
                    ++verbindung->fremdeMitteilungen;
                    verbindung->serverGeaendert(was.toString().split(QLatin1Char(','), Qt::SkipEmptyParts));
                });
        }
        return true;
    }
    const QString &pfad = v.datenbankDatei;
    if (db.isOpen() && v.offeneDatei == pfad && !v.dateiKennung.isEmpty() && kennungLesen(pfad) == v.dateiKennung)
        return true;
    v.direkt = nullptr;
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
    static quint64 geoeffnet = 0;
    v.verbindungsNummer = ++geoeffnet;
    v.offeneDatei = pfad;
    v.dateiKennung = kennungLesen(pfad);
    v.datenVersion = versionLesen(db);
    v.direkt = direktesHandle(db);
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

void DbVerbindung::Sitzung::fehlschlag(const QString &was, const QSqlError &fehler, bool beimAbschluss)
{
    if (v.art() != Datenbankart::postgres) {
        melden(was, fehlerText(fehler));
        return;
    }
    if (v.wiederholbar && istSerialisierungsfehler(fehler)) {
        v.serialisiert = true;
        return;
    }
    if (!verbindungAbgerissen(v.datenbank)) {
        melden(was, fehlerText(fehler));
        return;
    }
    v.datenbank.close();
    // A commit the server may or may not have made before the line broke
    // cannot be told apart from one it never got.
    const QString folge = !v.inTransaktion && !beimAbschluss ? was
                          : beimAbschluss
                              ? QStringLiteral(
                                    "Ob die \u00C4nderung gespeichert wurde, ist nicht sicher: Bitte nach dem erneuten "
                                    "Verbinden pr\u00FCfen, ob sie angezeigt wird.")
                              : QStringLiteral("Die \u00C4nderung wurde nicht gespeichert, auch nicht zum Teil.");
    melden(QStringLiteral("Die Verbindung zum Server \u201E%1\u201C ist unterbrochen. %2 Beim n\u00E4chsten "
                          "Versuch verbindet Kalvoria neu.")
               .arg(v.server.anzeige(), folge),
           fehlerText(fehler));
}

bool DbVerbindung::Sitzung::mitteilen()
{
    if (v.art() != Datenbankart::postgres || v.geschrieben.isEmpty())
        return true;
    QStringList tabellen(v.geschrieben.cbegin(), v.geschrieben.cend());
    tabellen.sort();
    v.geschrieben.clear();
    QSqlQuery q(v.datenbank);
    // Sent with the commit, and only if it commits.
    if (!starten(q, QStringLiteral("SELECT pg_notify(:kanal, :was)"),
                 {{QStringLiteral(":kanal"), QString::fromLatin1(mitteilungsKanal)},
                  {QStringLiteral(":was"), tabellen.join(QLatin1Char(','))}},
                 Datenbankart::postgres)) {
        fehlschlag(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), q.lastError());
        return false;
    }
    return true;
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
        fehlschlag(QStringLiteral("Die Daten konnten nicht gelesen werden."), q.lastError());
        return zeilen;
    }
    // The columns' names and types once, not read from the driver anew for
    // every row: a list of thousands of patients reads much faster.
    const QSqlRecord vorlage = q.record();
    const int spalten = vorlage.count();
    while (q.next()) {
        QSqlRecord zeile = vorlage;
        for (int i = 0; i < spalten; ++i)
            zeile.setValue(i, gelesen(q, i, v.art()));
        zeilen.append(zeile);
    }
    if (q.lastError().isValid()) {
        fehlschlag(QStringLiteral("Die Daten konnten nicht gelesen werden."), q.lastError());
        zeilen.clear();
        return zeilen;
    }
    if (ok)
        *ok = true;
    return zeilen;
}

bool DbVerbindung::Sitzung::durchlaufen(const QString &sql, const Werte &werte,
                                        const std::function<void(const DbZeile &q)> &zeile)
{
    if (!istOffen)
        return false;
    QString fehler;
    std::optional<bool> gut;
#if KALVORIA_SQLITE_DIREKT
    // A connection closed under the session (the window's own close) has
    // freed the handle: Qt's way then reports it.
    if (direktLesen && v.direkt && v.datenbank.isOpen())
        gut = ueberSqliteLesen(v.direkt, sql, werte, zeile, &fehler);
#endif
    if (gut) {
        if (!*gut)
            melden(QStringLiteral("Die Daten konnten nicht gelesen werden."), fehler);
        return *gut;
    }
    QSqlError qtFehler;
    if (ueberQtLesen(v.datenbank, v.art(), sql, werte, zeile, &qtFehler))
        return true;
    fehlschlag(QStringLiteral("Die Daten konnten nicht gelesen werden."), qtFehler);
    return false;
}

bool DbVerbindung::Sitzung::liestDirekt() const
{
    return istOffen && direktLesen && v.direkt && v.datenbank.isOpen();
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
        fehlschlag(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), q.lastError());
        return false;
    }
    if (art == Datenbankart::postgres) {
        if (const QString tabelle = geschriebeneTabelle(sql); !tabelle.isEmpty()) {
            v.geschrieben.insert(tabelle);
            ++v.eigeneAenderungen;
            // Outside a transaction the statement committed on its own.
            if (!v.inTransaktion && !mitteilen())
                return false;
        }
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

DbVerbindung::Datenstand DbVerbindung::Sitzung::datenstand()
{
    Datenstand d;
    if (!istOffen || !v.datenbank.isOpen())
        return d;
    // A server tells every seat's commits (serverGeaendert): counted as they
    // come; one made before its notice arrived is read when it does.
    if (v.art() == Datenbankart::postgres) {
        d.datei = v.server.anzeige();
        d.verbindung = v.verbindungsNummer;
        d.fremde = v.fremdeMitteilungen;
        d.eigene = v.eigeneAenderungen;
        return d;
    }
    QSqlQuery q(v.datenbank);
    if (!q.exec(QStringLiteral("SELECT total_changes()")) || !q.next())
        return d;
    d.eigene = q.value(0).toLongLong();
    d.fremde = versionLesen(v.datenbank);
    d.datei = v.offeneDatei;
    // As the file at the path is now: one replaced meanwhile differs.
    d.kennung = kennungLesen(v.offeneDatei);
    d.verbindung = v.verbindungsNummer;
    return d;
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
    // The server's SERIALIZABLE gives the same promise without the lock,
    // failing the later of two seats that would contradict each other: its
    // steps then run once more on what the other stored.
    const Datenbankart art = v.art();
    for (int versuch = 0;; ++versuch) {
        v.geschrieben.clear();
        v.serialisiert = false;
        v.wiederholbar = art == Datenbankart::postgres && versuch == 0;
        QSqlQuery beginn(v.datenbank);
        if (!beginn.exec(Dialekt::schreibtransaktion(art))) {
            v.wiederholbar = false;
            fehlschlag(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), beginn.lastError());
            return false;
        }
        v.inTransaktion = true;
        bool gut = schritte() && mitteilen();
        v.inTransaktion = false;
        if (gut) {
            if (v.datenbank.commit()) {
                v.wiederholbar = false;
                return true;
            }
            fehlschlag(QStringLiteral("Die \u00C4nderung konnte nicht gespeichert werden."), v.datenbank.lastError(),
                       true);
        }
        if (v.datenbank.isOpen())
            v.datenbank.rollback();
        v.geschrieben.clear();
        if (!v.serialisiert) {
            v.wiederholbar = false;
            return false;
        }
        // The first attempt's refusal is not the user's conflict.
        v.konfliktOffen = false;
    }
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

Serverpruefung serverPruefen(const Serverzugang &zugang, const QString &passwort)
{
    Serverpruefung ergebnis;
    const QString name = QStringLiteral("kalvoria-serverpruefung-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(Dialekt::treiber(Datenbankart::postgres), name);
        serverEinrichten(db, zugang, passwort);
        if (!db.open()) {
            ergebnis.fehler = fehlerText(db.lastError());
        } else {
            QSqlQuery q(db);
            QSet<QString> tabellen;
            if (q.exec(Dialekt::tabellenAbfrage(Datenbankart::postgres))) {
                while (q.next())
                    tabellen.insert(q.value(0).toString());
            } else {
                ergebnis.fehler = fehlerText(q.lastError());
            }
            ergebnis.leer = ergebnis.fehler.isEmpty() && tabellen.isEmpty();
            for (const auto &t : schema) {
                if (!ergebnis.fehler.isEmpty() || ergebnis.leer || !ergebnis.mangel.isEmpty())
                    break;
                const QString tabelle = QString::fromLatin1(t[0]);
                if (!tabellen.contains(tabelle)) {
                    ergebnis.mangel = QStringLiteral("Die Tabelle \u201E%1\u201C fehlt.").arg(tabelle);
                    break;
                }
                QSet<QString> spalten;
                q.prepare(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                         "current_schema() AND table_name = :name"));
                q.bindValue(QStringLiteral(":name"), tabelle);
                if (q.exec()) {
                    while (q.next())
                        spalten.insert(q.value(0).toString());
                }
                for (const QString &spalte : QString::fromLatin1(t[2]).split(QLatin1Char(' '))) {
                    if (!spalten.contains(spalte)) {
                        ergebnis.mangel = QStringLiteral("In der Tabelle \u201E%1\u201C fehlt die Spalte "
                                                         "\u201E%2\u201C.")
                                              .arg(tabelle, spalte);
                        break;
                    }
                }
            }
            q.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ergebnis;
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

QVector<QString> tabellenIndizes()
{
    QVector<QString> anweisungen;
    for (const char *sql : indizes)
        anweisungen << QString::fromLatin1(sql);
    return anweisungen;
}
