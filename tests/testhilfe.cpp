// SPDX-License-Identifier: GPL-3.0-or-later
#include "testhilfe.h"

#include "app/seams.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "storage/dialekt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QLineEdit>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QProcess>
#include <QTimer>
#include <QUuid>
#include <utility>

namespace {

// Every row a statement gave, each as its values; none for one that reads nothing.
QList<QVariantList> alleZeilen(QSqlQuery &q)
{
    QList<QVariantList> zeilen;
    while (q.isSelect() && q.next()) {
        QVariantList zeile;
        for (int i = 0; i < q.record().count(); ++i)
            zeile << q.value(i);
        zeilen << zeile;
    }
    return zeilen;
}

// The server databases made for paths since the last test ended, by name.
QHash<QString, QString> &serverPfade()
{
    static QHash<QString, QString> pfade;
    return pfade;
}

// Runs a statement on the server database (the cluster's own one when
// datenbank is empty) through a connection of its own.
QList<QVariantList> aufDemServer(const QString &datenbank, const QString &sql, const QVariantList &werte = {});

void serverDatenbankAnlegen(const QString &name)
{
    if (serverPfade().contains(name))
        return;
    aufDemServer(QString(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    aufDemServer(QString(), QStringLiteral("CREATE DATABASE %1").arg(name));
}

// The test's connections to the server databases, by database; opened
// when first used, kept until the test ends, since connecting takes long.
QHash<QString, QString> &serverVerbindungen()
{
    static QHash<QString, QString> verbindungen;
    return verbindungen;
}

// The tables of the triggers the test made on the server, by name: the
// server drops a trigger only with its table named.
QHash<QString, QString> &serverAusloeser()
{
    static QHash<QString, QString> tabellen;
    return tabellen;
}

// SQLite's CREATE TRIGGER and DROP TRIGGER, with which tests make a table
// refuse or undo a change, as the server writes them: the trigger's body in
// a function of its own. False for any other statement.
bool ausloeserAufServer(const QString &datenbank, const QString &sql)
{
    static const QRegularExpression anlegen(
        QStringLiteral("^CREATE TRIGGER (\\w+) (BEFORE|AFTER) (.+?) ON (\\w+)(?: WHEN (.+?))? BEGIN (.+?); END$"));
    static const QRegularExpression abbruch(QStringLiteral("^SELECT RAISE\\(ABORT, ('[^']*')\\)$"));
    static const QRegularExpression entfernen(QStringLiteral("^DROP TRIGGER (\\w+)$"));
    const QString text = sql.simplified();
    if (const auto m = entfernen.match(text); m.hasMatch()) {
        aufDemServer(
            datenbank,
            QStringLiteral("DROP TRIGGER %1 ON %2").arg(m.captured(1), serverAusloeser().value(m.captured(1))));
        return true;
    }
    const auto m = anlegen.match(text);
    if (!m.hasMatch())
        return false;
    const QString name = m.captured(1), tabelle = m.captured(4), bedingung = m.captured(5);
    const auto a = abbruch.match(m.captured(6));
    const QString tun = a.hasMatch() ? QStringLiteral("RAISE EXCEPTION %1").arg(a.captured(1)) : m.captured(6);
    aufDemServer(datenbank, QStringLiteral("CREATE FUNCTION %1_tun() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN %2; "
                                           "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END$$")
                                .arg(name, tun));
    aufDemServer(datenbank, QStringLiteral("CREATE TRIGGER %1 %2 %3 ON %4 FOR EACH ROW %5 EXECUTE FUNCTION %1_tun()")
                                .arg(name, m.captured(2), m.captured(3), tabelle,
                                     bedingung.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(bedingung)));
    serverAusloeser().insert(name, tabelle);
    return true;
}

void serverDatenbankenEntfernen()
{
    serverAusloeser().clear();
    for (const QString &verbindung : serverVerbindungen())
        QSqlDatabase::removeDatabase(verbindung);
    serverVerbindungen().clear();
    for (const QString &name : serverPfade().keys())
        aufDemServer(QString(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    serverPfade().clear();
}

} // namespace

bool aufServer()
{
    static const bool server = qEnvironmentVariable("KALVORIA_TESTDATENBANK") == QLatin1String("server");
    return server;
}

QString serverDatenbank(const QString &pfad)
{
    const QString pfadVoll = QFileInfo(pfad).absoluteFilePath();
    const QString name = QStringLiteral("kt_") +
                         QString::fromLatin1(
                             QCryptographicHash::hash(pfadVoll.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));
    serverDatenbankAnlegen(name);
    serverPfade().insert(name, pfadVoll);
    return name;
}

Umgebung::Umgebung()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path());
    // A home folder of the test's own, so that the documents folder the file
    // dialogs start in is one the test made and never the user's; without
    // XDG_CONFIG_HOME the user's own list of folders is not read either.
    altesHeim = qgetenv("HOME");
    alteKonfiguration = qgetenv("XDG_CONFIG_HOME");
    alteDaten = qgetenv("XDG_DATA_HOME");
    alterBenutzer = qgetenv("USER");
    qputenv("HOME", QFile::encodeName(heim()));
    qunsetenv("XDG_CONFIG_HOME");
    // The backups go to the data location: the test's own, never the user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.path() + QStringLiteral("/daten")));
    qputenv("USER", benutzer);
    if (!dokumente().startsWith(heim() + QLatin1Char('/')))
        fehlschlag(QStringLiteral("documents folder %1 outside the test's home").arg(dokumente()));
    QDir().mkpath(dokumente());
    zeit = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    DbSitzung::wartezeitMs = 300;
    // A refill between a test's counting rows and clicking one would shift
    // them; the tests of changes made elsewhere ask for the look themselves.
    MainWindow::waechterAbstandMs = 0;
    MainWindow::startPruefungNachMs = 0;
    Seams::uhr = [this] { return zeit; };
    Seams::meldung = [this](const QString &text) { meldungen << text; };
    Seams::frage = [this](const QString &text) {
        fragen << text;
        return antworten.isEmpty() ? false : antworten.takeFirst();
    };
    Seams::ordner = [this](const QString &titel, const QString &) {
        dateiTitel << titel;
        return ordnerAntworten.isEmpty() ? QString() : ordnerAntworten.takeFirst();
    };
    Seams::datei = [this](const QString &titel, const QString &vorschlag, const QString &, bool speichern) {
        dateiTitel << titel;
        dateiSpeichern << speichern;
        dateiVorschlaege << vorschlag;
        return dateiAntworten.isEmpty() ? QString() : dateiAntworten.takeFirst();
    };
    // The program starts on the server database that stands for its usual file.
    if (aufServer())
        letzteDateiSetzen(standardDatei());
}

Umgebung::~Umgebung()
{
    if (aufServer())
        serverDatenbankenEntfernen();
    Seams::zuruecksetzen();
    Sicherungspflege::vorDemUmbenennen = nullptr;
    DbSitzung::wartezeitMs = 5000;
    MainWindow::waechterAbstandMs = 2000;
    MainWindow::startPruefungNachMs = 1000;
    qputenv("HOME", altesHeim);
    for (const auto &[name, wert] : {std::pair{"XDG_DATA_HOME", alteDaten}, {"USER", alterBenutzer}}) {
        if (wert.isNull())
            qunsetenv(name);
        else
            qputenv(name, wert);
    }
    if (alteKonfiguration.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", alteKonfiguration);
}

QString Umgebung::dokumente() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void Umgebung::letzteDateiSetzen(const QString &pfad)
{
    QDir().mkpath(einstellungsOrdner());
    QSettings s(konfiguration(), QSettings::IniFormat);
    if (!aufServer()) {
        s.setValue(QStringLiteral("pfade/letzteDatei"), pfad);
        return;
    }
    // As the program remembers a server it was connected to; pg_virtualenv
    // names the cluster, and libpq finds its password.
    s.setValue(QStringLiteral("pfade/serverHost"), qEnvironmentVariable("PGHOST"));
    s.setValue(QStringLiteral("pfade/serverPort"), qEnvironmentVariableIntValue("PGPORT"));
    s.setValue(QStringLiteral("pfade/serverDatenbank"), serverDatenbank(pfad));
    s.setValue(QStringLiteral("pfade/serverBenutzer"), qEnvironmentVariable("PGUSER"));
    s.setValue(QStringLiteral("pfade/serverSslModus"), QStringLiteral("prefer"));
}

QString Umgebung::letzteDatei() const
{
    QSettings s(konfiguration(), QSettings::IniFormat);
    if (aufServer())
        return serverPfade().value(s.value(QStringLiteral("pfade/serverDatenbank")).toString());
    return s.value(QStringLiteral("pfade/letzteDatei")).toString();
}

void Umgebung::datenbankAnlegen(const QString &pfad)
{
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    // The tables as files of earlier versions hold them, written independently of the program.
    const QString schema = QStringLiteral(
        "CREATE TABLE einnahme (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id INTEGER, med_id INTEGER, tag DATE, "
        "stand REAL, morgen REAL, mittag REAL, abend REAL, nacht REAL, hilfe BOOLEAN, ordnung INTEGER ) ; "
        "CREATE TABLE medikament (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin VARCHAR (30) ) ; "
        "CREATE TABLE patient (id INTEGER PRIMARY KEY AUTOINCREMENT, firstname VARCHAR (30), lastname VARCHAR (30), "
        "birth DATE, plz CHAR (10), ort VARCHAR (30), strasse VARCHAR (30), nr VARCHAR (10) ) ;"
        "CREATE TABLE sorte (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin_id INTEGER, handelsname VARCHAR (50), "
        "dosis VARCHAR (20), packung DOUBLE) ; "
        "CREATE TABLE termine (id INTEGER PRIMARY KEY AUTOINCREMENT, pata_id INTEGER, arzt VARCHAR (30), "
        "arzt_date DATE) ; ");
    for (const QString &tabelle : schema.split(QLatin1Char(';')))
        if (!tabelle.trimmed().isEmpty())
            Datei::ausfuehren(pfad, tabelle);
}

QString Umgebung::sicherungsOrdner() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Sicherungen");
}

QStringList Umgebung::sicherungen() const
{
    QStringList namen = QDir(sicherungsOrdner()).entryList(QDir::Files);
    std::sort(namen.begin(), namen.end(), [](const QString &a, const QString &b) {
        return a.section(QLatin1Char('_'), 1) < b.section(QLatin1Char('_'), 1);
    });
    return namen;
}

std::unique_ptr<MainWindow> Umgebung::starten()
{
    auto w = std::make_unique<MainWindow>();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        fehlschlag(QStringLiteral("window not shown"));
    // What the check after the start shows or writes is there before the test goes on.
    if (!QTest::qWaitFor([&] { return !w->sicherungLaeuft(); }, 60000))
        fehlschlag(QStringLiteral("the check after the start did not end"));
    return w;
}

namespace Datei {

// Every access opens its own named connection and closes it again, so the
// program never meets a connection of the test holding the file.
QList<QVariantList> zeilen(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    if (aufServer()) {
        const QString datenbank = serverDatenbank(pfad);
        if (ausloeserAufServer(datenbank, sql))
            return {};
        const bool anlegen = sql.trimmed().startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive);
        const auto ergebnis = aufDemServer(datenbank, anlegen ? Dialekt::tabelle(Datenbankart::postgres, sql) : sql,
                                           werte);
        // Written as by a program that tells no seat, as another program
        // changes a file: the window sees it when it looks, as there.
        // Rows written with keys of their own: the next key the program
        // takes follows them, as in SQLite.
        if (sql.trimmed().startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive))
            aufDemServer(datenbank,
                         QStringLiteral("DO $$DECLARE t text; BEGIN FOR t IN SELECT table_name FROM "
                                        "information_schema.columns WHERE table_schema = current_schema() AND "
                                        "column_name = 'id' AND is_identity = 'YES' LOOP EXECUTE format('SELECT "
                                        "setval(pg_get_serial_sequence(%L, ''id''), coalesce((SELECT max(id) FROM "
                                        "%I), 0) + 1, false)', t, t); END LOOP; END$$"));
        return ergebnis;
    }
    const QString name = QStringLiteral("test-") + QUuid::createUuid().toString();
    QList<QVariantList> ergebnis;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        const bool offen = db.open();
        QSqlQuery q(db);
        const bool vorbereitet = offen && q.prepare(sql);
        for (int i = 0; vorbereitet && i < werte.size(); ++i)
            q.bindValue(i, werte.at(i));
        if (!vorbereitet || !q.exec())
            fehlschlag(pfad + QStringLiteral(": ") + sql + QStringLiteral(": ") + q.lastError().text());
        ergebnis = alleZeilen(q);
    }
    // Closes the connection; the query and the handle are gone by now.
    QSqlDatabase::removeDatabase(name);
    return ergebnis;
}

void ausfuehren(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    zeilen(pfad, sql, werte);
}

QVariant wert(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    return zeilen(pfad, sql, werte).value(0).value(0);
}

QStringList tabellen(const QString &pfad)
{
    QStringList namen;
    if (aufServer()) {
        for (const auto &z : zeilen(pfad, QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                                         "table_schema = current_schema() ORDER BY table_name")))
            namen << z.first().toString();
        return namen;
    }
    for (const auto &z : zeilen(pfad, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                                     "name <> 'sqlite_sequence' ORDER BY name")))
        namen << z.first().toString();
    return namen;
}

void mitteilen(MainWindow *w, const QString &pfad)
{
    if (!aufServer())
        return;
    ausfuehren(pfad, QStringLiteral("SELECT pg_notify('kalvoria', '')"));
    auto *auffrischer = teil<QTimer>(w, QStringLiteral("serverAuffrischer"));
    // The notice arrives, the window gathers what follows it for a moment, then reads.
    if (!QTest::qWaitFor([&] { return auffrischer->isActive(); }, 5000) ||
        !QTest::qWaitFor([&] { return !auffrischer->isActive(); }, 5000))
        fehlschlag(QStringLiteral("the window did not read the notice"));
    QApplication::processEvents();
}

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return !pfad.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Only SQLite's own refusal can make the history's insert fail: the table
// as the program makes it, with a trigger that refuses every new row.
void verlaufVoll(const QString &pfad)
{
    for (const char *sql : {"CREATE TABLE verlauf (id INTEGER PRIMARY KEY AUTOINCREMENT, zeit TEXT NOT NULL, art TEXT "
                            "NOT NULL, pat_id INTEGER, patient TEXT, einnahme_id INTEGER, medikament_id INTEGER, "
                            "sorte_id INTEGER, termin_id INTEGER, betrifft TEXT, alt TEXT, neu TEXT, benutzer TEXT)",
                            "CREATE TRIGGER voll BEFORE INSERT ON verlauf BEGIN SELECT RAISE(ABORT, 'Datentraeger "
                            "voll'); END"})
        ausfuehren(pfad, QString::fromLatin1(sql));
}

} // namespace Datei

namespace {

// SQLite's group_concat and quote as the server writes them: string_agg,
// with the separator SQLite takes when none is given, and quote_nullable.
QString aufServerGeschrieben(QString sql)
{
    const QString wort = QStringLiteral("group_concat(");
    for (int start = sql.indexOf(wort); start >= 0; start = sql.indexOf(wort, start)) {
        int tiefe = 1, komma = -1, i = start + wort.size();
        bool inText = false;
        for (; i < sql.size() && tiefe > 0; ++i) {
            const QChar c = sql.at(i);
            if (c == QLatin1Char('\''))
                inText = !inText;
            else if (!inText && c == QLatin1Char('('))
                ++tiefe;
            else if (!inText && c == QLatin1Char(')'))
                --tiefe;
            else if (!inText && tiefe == 1 && c == QLatin1Char(','))
                komma = i;
        }
        const int ende = i - 1; // the closing parenthesis
        const int innen = start + wort.size();
        QString ausdruck = sql.mid(innen, (komma < 0 ? ende : komma) - innen).trimmed();
        const QString trenner = komma < 0 ? QStringLiteral("','") : sql.mid(komma + 1, ende - komma - 1).trimmed();
        QString vorn;
        if (ausdruck.startsWith(QLatin1String("DISTINCT "))) {
            vorn = QStringLiteral("DISTINCT ");
            ausdruck = ausdruck.mid(9);
        }
        const QString neu = QStringLiteral("string_agg(%1(%2)::text, %3)").arg(vorn, ausdruck, trenner);
        sql.replace(start, ende + 1 - start, neu);
        start += neu.size();
    }
    // SQLite's rows come in the order of their keys, the server's as they
    // lie; an update moves a row to the end.
    static const QRegularExpression eineTabelle(
        QStringLiteral("^(SELECT string_agg\\(.*)\\) FROM (\\w+)( WHERE .*)?$"));
    static const QStringList mitId{QStringLiteral("patient"),    QStringLiteral("medikament"),
                                   QStringLiteral("sorte"),      QStringLiteral("einnahme"),
                                   QStringLiteral("termine"),    QStringLiteral("verlauf"),
                                   QStringLiteral("anforderung")};
    if (const auto m = eineTabelle.match(sql); m.hasMatch() && mitId.contains(m.captured(2)) &&
                                               !m.captured(1).contains(QLatin1String(" FROM ")) &&
                                               !m.captured(1).contains(QLatin1String("DISTINCT")))
        sql = m.captured(1) + QStringLiteral(" ORDER BY id) FROM ") + m.captured(2) + m.captured(3);
    // SQLite's quote of a text or NULL.
    return sql.replace(QLatin1String("quote("), QLatin1String("quote_nullable("));
}

QList<QVariantList> aufDemServer(const QString &datenbank, const QString &sqlite, const QVariantList &werte)
{
    const QString sql = aufServerGeschrieben(sqlite);
    const QString ziel = datenbank.isEmpty() ? QStringLiteral("postgres") : datenbank;
    QString name = serverVerbindungen().value(ziel);
    if (name.isEmpty()) {
        name = QStringLiteral("test-") + QUuid::createUuid().toString();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(ziel);
        if (!db.open()) {
            fehlschlag(ziel + QStringLiteral(": ") + db.lastError().text());
            QSqlDatabase::removeDatabase(name);
            return {};
        }
        // The cluster's own database is used only to create and drop the others.
        if (!datenbank.isEmpty())
            serverVerbindungen().insert(ziel, name);
    }
    QList<QVariantList> ergebnis;
    {
        QSqlQuery q(QSqlDatabase::database(name));
        bool gut = false;
        // The server prepares no CREATE, DROP or DO: those are sent as they are.
        if (werte.isEmpty()) {
            gut = q.exec(sql);
        } else if (q.prepare(sql)) {
            for (int i = 0; i < werte.size(); ++i)
                q.bindValue(i, werte.at(i));
            gut = q.exec();
        }
        if (!gut)
            fehlschlag(ziel + QStringLiteral(": ") + sql + QStringLiteral(": ") + q.lastError().text());
        ergebnis = alleZeilen(q);
    }
    if (datenbank.isEmpty())
        QSqlDatabase::removeDatabase(name);
    return ergebnis;
}

} // namespace

QString ausfuehren(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        fehlschlag(programm + QStringLiteral(" failed"));
    return QString::fromUtf8(p.readAllStandardOutput());
}

void fehlschlag(const QString &was)
{
    QTest::qFail(qPrintable(was), __FILE__, __LINE__);
}

QStringList texte(QWidget *w, const QStringList &namen, const char *eigenschaft)
{
    QStringList t;
    for (const QString &n : namen)
        t << teil<QWidget>(w, n)->property(eigenschaft).toString();
    return t;
}

void seiteZeigen(QWidget *w)
{
    // Walk up: every tab widget on the way shows the page that holds w.
    for (QWidget *kind = w, *eltern = w->parentWidget(); eltern; kind = eltern, eltern = eltern->parentWidget()) {
        auto *tabs = qobject_cast<QTabWidget *>(eltern->parentWidget());
        if (qobject_cast<QStackedWidget *>(eltern) && tabs && tabs->indexOf(kind) >= 0)
            tabs->setCurrentIndex(tabs->indexOf(kind));
    }
    QApplication::processEvents();
}

void klicken(QAbstractButton *knopf)
{
    seiteZeigen(knopf);
    QTest::mouseClick(knopf, Qt::LeftButton);
}

void menue(QWidget *fenster, const QString &aktion)
{
    teil<QAction>(fenster, aktion)->trigger();
}

void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte)
{
    seiteZeigen(tabelle);
    QTableWidgetItem *item = tabelle->item(zeile, spalte);
    if (!item)
        return fehlschlag(QStringLiteral("no cell %1,%2 in %3").arg(zeile).arg(spalte).arg(tabelle->objectName()));
    tabelle->scrollToItem(item);
    QTest::mouseClick(tabelle->viewport(), Qt::LeftButton, Qt::NoModifier, tabelle->visualItemRect(item).center());
}

void tippen(QWidget *feld, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(feld);
    if (!e)
        return fehlschlag(feld->objectName() + QStringLiteral(" is no line edit"));
    seiteZeigen(e);
    e->selectAll();
    e->del();
    QTest::keyClicks(e, text);
}

QStringList spalte(QTableWidget *tabelle, int s)
{
    QStringList texte;
    for (int z = 0; z < tabelle->rowCount(); ++z)
        texte << (tabelle->item(z, s) ? tabelle->item(z, s)->text() : QString());
    return texte;
}

bool imFenster(const std::function<void()> &ausloesen, const std::function<void(QDialog *)> &handler, int warteMs)
{
    bool geoeffnet = false;
    QTimer waechter;
    QObject::connect(&waechter, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || std::exchange(geoeffnet, true))
            return;
        waechter.stop();
        if (handler)
            handler(d);
        if (d->isVisible())
            d->reject();
    });
    waechter.start(10);
    ausloesen();
    return geoeffnet || (warteMs > 0 && QTest::qWaitFor([&] { return geoeffnet; }, warteMs));
}
