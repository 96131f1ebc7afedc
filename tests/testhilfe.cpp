// SPDX-License-Identifier: GPL-3.0-or-later
#include "testhilfe.h"

#include "app/seams.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
}

Umgebung::~Umgebung()
{
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
    QSettings(konfiguration(), QSettings::IniFormat).setValue(QStringLiteral("pfade/letzteDatei"), pfad);
}

QString Umgebung::letzteDatei() const
{
    return QSettings(konfiguration(), QSettings::IniFormat).value(QStringLiteral("pfade/letzteDatei")).toString();
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
        while (q.next()) {
            QVariantList zeile;
            for (int i = 0; i < q.record().count(); ++i)
                zeile << q.value(i);
            ergebnis << zeile;
        }
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
    for (const auto &z : zeilen(pfad, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                                     "name <> 'sqlite_sequence' ORDER BY name")))
        namen << z.first().toString();
    return namen;
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
