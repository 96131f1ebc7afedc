// SPDX-License-Identifier: GPL-3.0-or-later
#include "sicherung/sicherung.h"

#include "maintenance/dateipflege.h"
#include "server/uebertragen.h"
#include "storage/datenbankzugriff.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

std::function<bool(const QString &)> Sicherungspflege::vorDemUmbenennen;

namespace {

const struct {
    Sicherungsanlass anlass;
    const char *kennung;
    const char *text;
} anlaesse[] = {
    {Sicherungsanlass::taeglich, "taeglich", "t\u00E4glich"},
    {Sicherungsanlass::patientLoeschen, "patient-loeschen", "vor dem L\u00F6schen eines Patienten"},
    {Sicherungsanlass::medikamentLoeschen, "medikament-loeschen", "vor dem L\u00F6schen eines Medikaments"},
    {Sicherungsanlass::verschieben, "verschieben", "vor dem Verschieben der Datenbank"},
    {Sicherungsanlass::verbinden, "verbinden", "vor dem Wechsel zu einer anderen Datenbank"},
    {Sicherungsanlass::wiederherstellen, "wiederherstellen", "vor dem Wiederherstellen einer Sicherung"},
    {Sicherungsanlass::medikationsplan, "medikationsplan", "vor dem Einlesen eines Medikationsplans"},
    {Sicherungsanlass::reparieren, "reparieren", "vor dem Reparieren"},
    {Sicherungsanlass::beschaedigt, "beschaedigt", "besch\u00E4digte Datenbank, vor dem Wiederherstellen"},
};

const QString taeglich = QStringLiteral("taeglich");
const QString endung = QStringLiteral(".db");
// A copy being written carries this behind its name until it is checked.
const QString teilEndung = QStringLiteral(".teil");

const QRegularExpression &namensMuster()
{
    static const QRegularExpression muster(
        QStringLiteral("^(.+)_(\\d{4}-\\d{2}-\\d{2})_(\\d{2}-\\d{2}-\\d{2})_([a-z]+(?:-[a-z]+)*)(?:-\\d+)?\\.db$"));
    return muster;
}

// Runs f on a connection of its own to pfad, opened read-only, and gives
// the connection's name back afterwards; works on any thread.
template <typename F>
void lesend(const QString &pfad, F &&f)
{
    const QString name = QStringLiteral("kalvoria-sicherung-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(DbSitzung::wartezeitMs));
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Runs f on a connection of its own to the file, opened for writing.
template <typename F>
void schreibend(const QString &pfad, F &&f)
{
    const QString name = QStringLiteral("kalvoria-sicherung-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The table in a copy that names the file it was taken from. It exists in
// copies only; restoring one takes it out again.
const QString herkunftTabelle = QStringLiteral("sicherung_herkunft");

const QString serverVorsatz = QStringLiteral("postgresql://");

QString absoluterPfad(const QString &datei)
{
    if (datei.startsWith(serverVorsatz))
        return datei;
    return QDir::cleanPath(QFileInfo(datei).absoluteFilePath());
}

QDate wochenAnfang(const QDate &tag)
{
    return tag.addDays(1 - tag.dayOfWeek());
}

int monatsNummer(const QDate &tag)
{
    return tag.year() * 12 + tag.month() - 1;
}

// The daily copy of befund.datei into ordner when none of today exists
// yet; verbinden runs its argument on a connection to the database.
template <typename Verbinden>
void taeglichSichern(Startbefund &befund, const QString &ordner, const Sicherungseinstellungen &einstellungen,
                     const QDateTime &jetzt, Verbinden &&verbinden)
{
    if (!einstellungen.aktiv)
        return;
    for (const Sicherungskopie &k : sicherungenLesen(ordner)) {
        if (sicherungVon(k, befund.datei) && k.anlass == taeglich && k.zeit.date() == jetzt.date())
            return;
    }
    verbinden([&](QSqlDatabase &db) {
        if (!db.open()) {
            befund.fehler = db.lastError().text();
            return;
        }
        sicherungSchreiben(db, ordner, befund.datei, jetzt, Sicherungsanlass::taeglich, &befund.fehler);
    });
    if (befund.fehler.isEmpty())
        sicherungenAufraeumen(ordner, befund.datei, jetzt, einstellungen.taeglich);
}

} // namespace

QString anlassKennung(Sicherungsanlass anlass)
{
    for (const auto &a : anlaesse) {
        if (a.anlass == anlass)
            return QString::fromLatin1(a.kennung);
    }
    return QString();
}

QString anlassText(const QString &kennung)
{
    for (const auto &a : anlaesse) {
        if (kennung == QLatin1String(a.kennung))
            return QString::fromUtf8(a.text);
    }
    return kennung;
}

QString sicherungsName(const QString &stamm, const QDateTime &zeit, const QString &anlass)
{
    return stamm + QLatin1Char('_') + zeit.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss")) + QLatin1Char('_') + anlass +
           endung;
}

std::optional<Sicherungskopie> sicherungErkennen(const QString &pfad)
{
    const QRegularExpressionMatch m = namensMuster().match(QFileInfo(pfad).fileName());
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime zeit = QDateTime::fromString(m.captured(2) + QLatin1Char(' ') + m.captured(3),
                                                 QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    if (!zeit.isValid())
        return std::nullopt;
    return Sicherungskopie{pfad, m.captured(1), zeit, m.captured(4)};
}

QString serverQuelle(const Serverzugang &zugang)
{
    QString wo = zugang.host.isEmpty() ? QStringLiteral("localhost") : zugang.host;
    if (zugang.port > 0)
        wo += QLatin1Char(':') + QString::number(zugang.port);
    return serverVorsatz + wo + QLatin1Char('/') + zugang.datenbank;
}

QString sicherungHerkunft(const QString &kopie)
{
    QString herkunft;
    lesend(kopie, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        // Asked of sqlite_master first: a copy without the table is no error.
        if (db.open() &&
            q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '") + herkunftTabelle +
                   QStringLiteral("'")) &&
            q.next() && q.exec(QStringLiteral("SELECT pfad FROM ") + herkunftTabelle) && q.next())
            herkunft = q.value(0).toString();
    });
    return herkunft;
}

bool sicherungVon(const Sicherungskopie &k, const QString &datei)
{
    return k.stamm == QFileInfo(datei).completeBaseName() &&
           (k.herkunft.isEmpty() || k.herkunft == absoluterPfad(datei));
}

QVector<Sicherungskopie> sicherungenLesen(const QString &ordner)
{
    QVector<Sicherungskopie> kopien;
    const QDir dir(ordner);
    for (const QString &name : dir.entryList({QStringLiteral("*") + endung}, QDir::Files)) {
        if (auto k = sicherungErkennen(dir.filePath(name))) {
            k->herkunft = sicherungHerkunft(k->datei);
            kopien.append(*k);
        }
    }
    std::sort(kopien.begin(), kopien.end(), [](const Sicherungskopie &a, const Sicherungskopie &b) {
        return a.zeit != b.zeit ? a.zeit > b.zeit : a.datei > b.datei;
    });
    return kopien;
}

QVector<Sicherungskopie> ueberzaehligeSicherungen(const QVector<Sicherungskopie> &kopien, const QDateTime &jetzt,
                                                  int taeglichBehalten)
{
    QMap<QString, QVector<Sicherungskopie>> jeDatei;
    for (const Sicherungskopie &k : kopien)
        jeDatei[k.stamm + QLatin1Char('\n') + k.herkunft].append(k);

    const QDate ersteWoche = wochenAnfang(jetzt.date()).addDays(-7 * (sicherungWochen - 1));
    const int ersterMonat = monatsNummer(jetzt.date()) - (sicherungMonate - 1);
    const QDateTime riskantBis = jetzt.addDays(-sicherungTageVorRiskantem);

    QVector<Sicherungskopie> weg;
    for (QVector<Sicherungskopie> &datei : jeDatei) {
        std::sort(datei.begin(), datei.end(),
                  [](const Sicherungskopie &a, const Sicherungskopie &b) { return a.zeit > b.zeit; });
        QSet<QString> behalten;
        QSet<QDate> wochen;
        QSet<int> monate;
        int taeglicheGezaehlt = 0;
        for (const Sicherungskopie &k : datei) {
            if (k.anlass != taeglich || k.zeit > jetzt)
                continue;
            // Newest first: the first copy of a week or month met is its newest.
            const QDate woche = wochenAnfang(k.zeit.date());
            const int monat = monatsNummer(k.zeit.date());
            if (taeglicheGezaehlt++ < taeglichBehalten)
                behalten.insert(k.datei);
            if (woche >= ersteWoche && !wochen.contains(woche)) {
                wochen.insert(woche);
                behalten.insert(k.datei);
            }
            if (monat >= ersterMonat && !monate.contains(monat)) {
                monate.insert(monat);
                behalten.insert(k.datei);
            }
        }
        for (const Sicherungskopie &k : datei) {
            if (k.zeit > jetzt)
                continue;
            const bool gehen = k.anlass == taeglich ? !behalten.contains(k.datei) : k.zeit < riskantBis;
            if (gehen)
                weg.append(k);
        }
    }
    return weg;
}

void sicherungenAufraeumen(const QString &ordner, const QString &datei, const QDateTime &jetzt, int taeglichBehalten)
{
    const QString stamm = QFileInfo(datei).completeBaseName();
    QVector<Sicherungskopie> eigene;
    for (const Sicherungskopie &k : sicherungenLesen(ordner)) {
        if (k.stamm == stamm)
            eigene.append(k);
    }
    // Removing is best effort: a copy that stays is removed next time.
    for (const Sicherungskopie &k : ueberzaehligeSicherungen(eigene, jetzt, taeglichBehalten))
        QFile::remove(k.datei);
    // A copy cut short (the program killed while writing it) never got its
    // name; one that young may still be being written by another window.
    const QDir dir(ordner);
    for (const QFileInfo &teil : dir.entryInfoList({QStringLiteral("*") + teilEndung}, QDir::Files)) {
        if (teil.lastModified().secsTo(QDateTime::currentDateTime()) > 24 * 3600)
            QFile::remove(teil.absoluteFilePath());
    }
}

Sicherungseinstellungen sicherungseinstellungenLesen(const QString &konfiguration)
{
    Sicherungseinstellungen e;
    QSettings s(konfiguration, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("sicherung"));
    e.aktiv = s.value(QStringLiteral("aktiv"), e.aktiv).toBool();
    e.ordner = s.value(QStringLiteral("ordner"), e.ordner).toString();
    bool ok = false;
    const int n = s.value(QStringLiteral("taeglich"), e.taeglich).toInt(&ok);
    if (ok && n >= 1 && n <= 365)
        e.taeglich = n;
    s.endGroup();
    return e;
}

bool sicherungseinstellungenSchreiben(const QString &konfiguration, const Sicherungseinstellungen &e)
{
    QSettings s(konfiguration, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("sicherung"));
    s.setValue(QStringLiteral("aktiv"), e.aktiv);
    s.setValue(QStringLiteral("ordner"), e.ordner);
    s.setValue(QStringLiteral("taeglich"), e.taeglich);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

QString standardSicherungsordner()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Sicherungen");
}

QString sicherungsOrdner(const Sicherungseinstellungen &e)
{
    return e.ordner.trimmed().isEmpty() ? standardSicherungsordner() : QDir::cleanPath(e.ordner.trimmed());
}

QString sicherungSchreiben(QSqlDatabase &db, const QString &ordner, const QString &datei, const QDateTime &zeit,
                           Sicherungsanlass anlass, QString *fehler)
{
    const QString stamm = QFileInfo(datei).completeBaseName();
    if (!QDir().mkpath(ordner)) {
        *fehler = QStringLiteral("Der Ordner \u201E%1\u201C kann nicht angelegt werden.")
                      .arg(QDir::toNativeSeparators(ordner));
        return QString();
    }
    // Two copies in the same second (a delete right after the daily copy)
    // get a number each.
    const QDir dir(ordner);
    QString ziel = dir.filePath(sicherungsName(stamm, zeit, anlassKennung(anlass)));
    for (int n = 2; QFileInfo::exists(ziel) || QFileInfo::exists(ziel + teilEndung); ++n)
        ziel = dir.filePath(sicherungsName(stamm, zeit, anlassKennung(anlass) + QStringLiteral("-%1").arg(n)));
    const QString teil = ziel + teilEndung;

    if (Dialekt::art(db) == Datenbankart::postgres) {
        const Kopie kopie = serverInDatei(db, teil);
        if (!kopie.gut()) {
            *fehler = kopie.fehler;
            return QString();
        }
    } else {
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("VACUUM INTO :ziel"))) {
            *fehler = q.lastError().text();
            return QString();
        }
        q.bindValue(QStringLiteral(":ziel"), teil);
        if (!q.exec()) {
            *fehler = q.lastError().text();
            q.finish();
            QFile::remove(teil);
            return QString();
        }
        q.finish();
    }
    schreibend(teil, [&](QSqlDatabase &kopie) {
        QSqlQuery h(kopie);
        if (!kopie.open() ||
            !h.exec(QStringLiteral("CREATE TABLE ") + herkunftTabelle + QStringLiteral(" (pfad TEXT)")) ||
            !h.prepare(QStringLiteral("INSERT INTO ") + herkunftTabelle + QStringLiteral(" (pfad) VALUES (:pfad)"))) {
            *fehler = h.lastError().text();
            return;
        }
        h.bindValue(QStringLiteral(":pfad"), absoluterPfad(datei));
        if (!h.exec())
            *fehler = h.lastError().text();
    });
    if (!fehler->isEmpty()) {
        QFile::remove(teil);
        return QString();
    }
    const QString befund = dateiPruefen(teil, true);
    if (!befund.isEmpty()) {
        *fehler = QStringLiteral("Die Kopie ist fehlerhaft: ") + befund;
        QFile::remove(teil);
        return QString();
    }
    if (Sicherungspflege::vorDemUmbenennen && !Sicherungspflege::vorDemUmbenennen(teil)) {
        *fehler = QStringLiteral("Das Schreiben wurde abgebrochen.");
        return QString();
    }
    if (!aufDiskSchreiben(teil) || !QFile::rename(teil, ziel)) {
        *fehler = QStringLiteral("Die Kopie konnte nicht fertig geschrieben werden.");
        QFile::remove(teil);
        return QString();
    }
    return ziel;
}

QString dateiPruefen(const QString &pfad, bool gruendlich)
{
    if (!QFileInfo(pfad).isFile())
        return QStringLiteral("Die Datei gibt es nicht.");
    QString befund;
    lesend(pfad, [&](QSqlDatabase &db) {
        if (!db.open()) {
            befund = db.lastError().text();
            return;
        }
        QSqlQuery q(db);
        if (!q.exec(gruendlich ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check"))) {
            befund = q.lastError().text();
            return;
        }
        QStringList zeilen;
        while (q.next() && zeilen.size() < 5)
            zeilen << q.value(0).toString();
        if (q.lastError().isValid())
            zeilen << q.lastError().text();
        if (zeilen != QStringList{QStringLiteral("ok")})
            befund = zeilen.isEmpty() ? QStringLiteral("keine Antwort") : zeilen.join(QLatin1Char('\n'));
    });
    return befund;
}

std::optional<QPair<int, int>> sicherungZaehlen(const QString &pfad)
{
    std::optional<QPair<int, int>> anzahl;
    lesend(pfad, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (db.open() &&
            q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM patient), (SELECT COUNT(*) FROM einnahme)")) &&
            q.next())
            anzahl = qMakePair(q.value(0).toInt(), q.value(1).toInt());
    });
    return anzahl;
}

std::optional<Sicherungskopie> neuesteGuteSicherung(const QString &ordner, const QString &datei)
{
    for (const Sicherungskopie &k : sicherungenLesen(ordner)) {
        if (sicherungVon(k, datei) && datenbankMangel(k.datei).isEmpty() && dateiPruefen(k.datei, true).isEmpty())
            return k;
    }
    return std::nullopt;
}

Startbefund startPruefen(const QString &datei, const QString &ordner, const Sicherungseinstellungen &einstellungen,
                         const QDateTime &jetzt)
{
    Startbefund befund;
    befund.datei = datei;
    // A file that is missing or foreign was reported when the window opened it.
    if (!datenbankMangel(datei).isEmpty())
        return befund;
    befund.beschaedigt = dateiPruefen(datei, false);
    if (!befund.beschaedigt.isEmpty()) {
        // A damaged file is not copied: its copy would push good ones out.
        befund.angebot = neuesteGuteSicherung(ordner, datei);
        return befund;
    }
    taeglichSichern(befund, ordner, einstellungen, jetzt, [&](const auto &f) { lesend(datei, f); });
    return befund;
}

Startbefund startPruefenServer(const QString &verbindung, const QString &quelle, const QString &ordner,
                               const Sicherungseinstellungen &einstellungen, const QDateTime &jetzt)
{
    Startbefund befund;
    befund.datei = quelle;
    taeglichSichern(befund, ordner, einstellungen, jetzt, [&](const auto &f) {
        const QString name = QStringLiteral("kalvoria-sicherung-") + QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::cloneDatabase(verbindung, name);
            f(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    });
    return befund;
}
