#include "testhilfe.h"

#include "app/seams.h"
#include "storage/datenbankzugriff.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUuid>

Umgebung::Umgebung()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path());
    zeit = QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0));
    DbSitzung::wartezeitMs = 300;
    Seams::uhr = [this] { return zeit; };
    Seams::meldung = [this](const QString &text) { meldungen << text; };
    Seams::frage = [this](const QString &text) {
        fragen << text;
        return antworten.isEmpty() ? false : antworten.takeFirst();
    };
    Seams::datei = [this](const QString &titel, const QString &, const QString &, bool) {
        dateiTitel << titel;
        return dateiAntworten.isEmpty() ? QString() : dateiAntworten.takeFirst();
    };
}

Umgebung::~Umgebung()
{
    Seams::zuruecksetzen();
    DbSitzung::wartezeitMs = 5000;
}

void Umgebung::letzteDateiSetzen(const QString &pfad)
{
    QDir().mkpath(einstellungsOrdner());
    QSettings s(konfiguration(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("pfade"));
    s.setValue(QStringLiteral("letzteDatei"), pfad);
    s.endGroup();
}

void Umgebung::datenbankAnlegen(const QString &pfad)
{
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    const char *const schema[] = {
        "CREATE TABLE einnahme (id INTEGER PRIMARY KEY AUTOINCREMENT, pat_id INTEGER, med_id INTEGER, tag DATE, "
        "stand REAL, morgen REAL, mittag REAL, abend REAL, nacht REAL, hilfe BOOLEAN, ordnung INTEGER ) ; ",
        "CREATE TABLE medikament (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin VARCHAR (30) ) ; ",
        "CREATE TABLE patient (id INTEGER PRIMARY KEY AUTOINCREMENT, firstname VARCHAR (30), lastname VARCHAR (30), "
        "birth DATE, plz CHAR (10), ort VARCHAR (30), strasse VARCHAR (30), nr VARCHAR (10) ) ;",
        "CREATE TABLE sorte (id INTEGER PRIMARY KEY AUTOINCREMENT, medizin_id INTEGER, handelsname VARCHAR (50), "
        "dosis VARCHAR (20), packung DOUBLE) ; ",
        "CREATE TABLE termine (id INTEGER PRIMARY KEY AUTOINCREMENT, pata_id INTEGER, arzt VARCHAR (30), "
        "arzt_date DATE) ; "};
    for (const char *s : schema)
        Datei::ausfuehren(pfad, QString::fromLatin1(s));
}

std::unique_ptr<MainWindow> Umgebung::starten()
{
    auto w = std::make_unique<MainWindow>();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

namespace {

template <typename F>
auto mitVerbindung(const QString &pfad, F arbeit)
{
    const QString name = QStringLiteral("test-") + QUuid::createUuid().toString();
    using Ergebnis = decltype(arbeit(std::declval<QSqlDatabase &>()));
    Ergebnis ergebnis{};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(pfad));
        ergebnis = arbeit(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ergebnis;
}

void vorbereiten(QSqlQuery &q, const QString &sql, const QVariantList &werte)
{
    if (!q.prepare(sql))
        qFatal("prepare failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte.at(i));
    if (!q.exec())
        qFatal("exec failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

} // namespace

namespace Datei {

void ausfuehren(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    mitVerbindung(pfad, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        vorbereiten(q, sql, werte);
        return 0;
    });
}

QList<QVariantList> zeilen(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    return mitVerbindung(pfad, [&](QSqlDatabase &db) {
        QList<QVariantList> ergebnis;
        QSqlQuery q(db);
        vorbereiten(q, sql, werte);
        while (q.next()) {
            QVariantList zeile;
            for (int i = 0; i < q.record().count(); ++i)
                zeile << q.value(i);
            ergebnis << zeile;
        }
        return ergebnis;
    });
}

QVariant wert(const QString &pfad, const QString &sql, const QVariantList &werte)
{
    const auto z = zeilen(pfad, sql, werte);
    return z.isEmpty() || z.first().isEmpty() ? QVariant() : z.first().first();
}

QStringList tabellen(const QString &pfad)
{
    QStringList namen;
    for (const auto &z : zeilen(pfad, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                                     "name <> 'sqlite_sequence' ORDER BY name")))
        namen << z.first().toString();
    return namen;
}

} // namespace Datei

void seiteZeigen(QWidget *w)
{
    // Walk up: every tab widget on the way shows the page that holds w.
    for (QWidget *kind = w, *eltern = w->parentWidget(); eltern; kind = eltern, eltern = eltern->parentWidget()) {
        if (auto *stapel = qobject_cast<QStackedWidget *>(eltern)) {
            if (auto *tabs = qobject_cast<QTabWidget *>(stapel->parentWidget())) {
                const int i = tabs->indexOf(kind);
                if (i >= 0)
                    tabs->setCurrentIndex(i);
            }
        }
    }
    QApplication::processEvents();
}

void klicken(QAbstractButton *knopf)
{
    seiteZeigen(knopf);
    QTest::mouseClick(knopf, Qt::LeftButton);
}

void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte)
{
    seiteZeigen(tabelle);
    QTableWidgetItem *item = tabelle->item(zeile, spalte);
    if (!item)
        qFatal("no cell %d,%d in %s", zeile, spalte, qPrintable(tabelle->objectName()));
    tabelle->scrollToItem(item);
    const QRect r = tabelle->visualItemRect(item);
    QTest::mouseClick(tabelle->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

void tippen(QWidget *feld, const QString &text)
{
    auto *e = qobject_cast<QLineEdit *>(feld);
    if (!e)
        qFatal("not a line edit");
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

void beiDialog(std::function<void(QDialog *)> handler)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto rest = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, [timer, handler, rest] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (d && d->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handler(d);
            return;
        }
        if (--*rest <= 0) {
            timer->stop();
            timer->deleteLater();
            qWarning("no dialog appeared");
        }
    });
    timer->start();
}
