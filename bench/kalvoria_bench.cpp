// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks of the program's real operations on the sample databases
// "familie", "pflegedienst" and "gross", headless, each beside its database
// floor (the same SQL statements through the SQLite C API alone).
//
//     kalvoria_bench [--umfang=familie,pflegedienst,gross] [--runden=N] [--ohne-server]
//                    [Google Benchmark flags]
//
// The sample files get the indexes the program adds to every file it opens
// for writing, so that the first start is not timed building them and the
// floor reads through them as the program does.
//
// Every sample is one operation as the user triggers it: the slot runs and
// the events it leaves behind (layout, painting of the visible page,
// deferred deletes) are processed, as the event loop would before the next
// click. Medians and interquartile ranges are taken over all samples.
// The window is driven only as a user would (see Messung): a row chosen is a
// click on it, and "book packages" is timed from the click on "Apotheke"
// through opening its window, typing, "Eintragen" and the window closing.
//
// With a PostgreSQL server at hand (PGHOST and the rest set, as
// pg_virtualenv sets them for "make bench"), "pflegedienst" and "gross" are
// copied into fresh databases there with the program's own copy to a server,
// and the window's operations are timed once more with the window connected
// to them, as a remembered server connects it at the start, over the
// server's Unix socket. Operations on files alone (the copies) have no such
// figure.
#include "app/mainwindow.h"
#include "app/seams.h"
#include "appointments/hausarzt.h"
#include "bench/boden.h"
#include "bmp/abgleich.h"
#include "bmp/bmplesen.h"
#include "bmp/bmppdf.h"
#include "bmp/bmpschreiben.h"
#include "bmp/datamatrix.h"
#include "server/uebertragen.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "tools/beispieldaten.h"
#include "verlauf/verlauf.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// Drives the window through what a user reaches, as the tests do: widgets
// and actions found by object name, buttons clicked, rows clicked (the
// table's cellClicked), texts typed. The parts are looked up once per
// window, so that no lookup is timed.
struct Messung {
    explicit Messung(MainWindow &fenster) : w(fenster) {}

    template <typename T>
    T *teil(const char *name) const
    {
        T *t = w.findChild<T *>(QLatin1String(name));
        if (!t)
            qFatal("no %s in the window", name);
        return t;
    }

    // A click on a cell: it becomes current, and the table says it was clicked.
    static void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte)
    {
        tabelle->setCurrentCell(zeile, spalte);
        emit tabelle->cellClicked(zeile, spalte);
    }

    void seiteEinstellungen() const { tabs->setCurrentWidget(teil<QWidget>("seiteEinstellungen")); }
    void listenZeigen(bool an) const
    {
        if (listen->isChecked() != an)
            listen->trigger();
        tabs->setCurrentWidget(teil<QWidget>(an ? "seitePatienten" : "seiteEinstellungen"));
    }
    int patienten() const { return patientenwahl->rowCount(); }
    int packungen() const { return sortenwahl->rowCount(); }
    void patientWaehlen(int zeile) const { zelleKlicken(patientenwahl, zeile, 1); }
    int zeilen() const { return zuordnung->rowCount(); }
    int aktuelleZeile() const { return zuordnung->currentRow(); }
    void zeileWaehlen(int zeile) const { zelleKlicken(zuordnung, zeile, 1); }
    // The stock the details show for the line, once it is clicked.
    QString bestand(int zeile) const
    {
        zeileWaehlen(zeile);
        return detailBestand->text();
    }
    // Clicks a package and types the doses, as before "Eintragen".
    void packungWaehlen(int zeile) const
    {
        zelleKlicken(sortenwahl, zeile, 2);
        morgen->setText(QStringLiteral("1"));
        abend->setText(QStringLiteral("0,5"));
    }
    void zuordnen() const { eintragen->click(); }
    void loeschen() const { zuordnungLoeschen->click(); }
    void hoch() const { zuordnungHoch->click(); }
    void runter() const { zuordnungRunter->click(); }
    // Opens the pharmacy window through its button and answers it as a user
    // would: the number of packages typed, "Eintragen" clicked. A timer of no
    // delay finds the window once its event loop runs.
    void buchen(const QString &anzahl) const
    {
        bool beantwortet = false;
        QTimer antwort;
        antwort.setInterval(0);
        QObject::connect(&antwort, &QTimer::timeout, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible() || std::exchange(beantwortet, true))
                return;
            antwort.stop();
            auto *feld = d->findChild<QLineEdit *>(QStringLiteral("fensterPackungen"));
            if (feld)
                feld->setText(anzahl);
            for (QPushButton *k : d->findChildren<QPushButton *>()) {
                if (k->text() == QLatin1String("&Eintragen")) {
                    k->click();
                    break;
                }
            }
            if (d->isVisible())
                d->reject();
        });
        antwort.start();
        apotheke->click();
    }
    void suchen(const QString &spalte, const QString &text) const
    {
        suchspalte->setCurrentIndex(suchspalte->findData(spalte));
        suchbegriff->setText(text);
        patientSuchen->click();
    }
    int gefunden() const { return patientenliste->rowCount(); }
    void verordnungsplanDrucken() const { pdfPlan->trigger(); }
    void medikamentenlisteDrucken() const { pdfListe->trigger(); }
    void rezeptbedarfZeigen() const { tabs->setCurrentWidget(teil<QWidget>("seiteRezeptbedarf")); }
    // A click on "bis zum nächsten Hausarzttermin", which chooses from the
    // list as read, or reads it anew when the file changed.
    void bisHausarztUmschalten() const { bisHausarzt->click(); }
    int bedarf() const { return rezeptbedarf->rowCount(); }
    // The rows from the first to the one given chosen, as a click on the
    // first and a Shift-click on the last choose them.
    void bedarfWaehlen(int bis) const
    {
        const QModelIndex erste = rezeptbedarf->model()->index(0, 1);
        const QModelIndex letzte = rezeptbedarf->model()->index(bis, 1);
        rezeptbedarf->selectionModel()->setCurrentIndex(erste, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
        rezeptbedarf->selectionModel()->select(QItemSelection(erste, letzte),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // The patient of a row of the list, by the name it shows.
    QString bedarfPatient(int zeile) const
    {
        rezeptbedarf->scrollTo(rezeptbedarf->model()->index(zeile, 1));
        return rezeptbedarf->item(zeile, 1) ? rezeptbedarf->item(zeile, 1)->text() : QString();
    }
    void rezeptanforderungDrucken() const { pdfAnforderung->trigger(); }

    MainWindow &w;
    QTabWidget *tabs = teil<QTabWidget>("hauptTabs");
    QAction *listen = teil<QAction>("aktionListen");
    QAction *pdfPlan = teil<QAction>("aktionVerordnungsplan");
    QAction *pdfListe = teil<QAction>("aktionMedikamentenplan");
    QAction *pdfAnforderung = teil<QAction>("aktionRezeptanforderung");
    QTableWidget *rezeptbedarf = teil<QTableWidget>("tabelleRezeptbedarf");
    QCheckBox *bisHausarzt = teil<QCheckBox>("auswahlBisHausarzt");
    QTableWidget *patientenwahl = teil<QTableWidget>("tabellePatientenwahl");
    QTableWidget *sortenwahl = teil<QTableWidget>("tabelleSortenwahl");
    QTableWidget *zuordnung = teil<QTableWidget>("tabelleZuordnung");
    QTableWidget *patientenliste = teil<QTableWidget>("tabellePatienten");
    QLabel *detailBestand = teil<QLabel>("detailBestand");
    QLineEdit *morgen = teil<QLineEdit>("editZuordnenMorgen");
    QLineEdit *abend = teil<QLineEdit>("editZuordnenAbend");
    QLineEdit *suchbegriff = teil<QLineEdit>("editSuchbegriff");
    QComboBox *suchspalte = teil<QComboBox>("auswahlSuchspalte");
    QAbstractButton *eintragen = teil<QAbstractButton>("knopfEintragen");
    QAbstractButton *zuordnungLoeschen = teil<QAbstractButton>("knopfZuordnungLoeschen");
    QAbstractButton *zuordnungHoch = teil<QAbstractButton>("knopfZuordnungHoch");
    QAbstractButton *zuordnungRunter = teil<QAbstractButton>("knopfZuordnungRunter");
    QAbstractButton *apotheke = teil<QAbstractButton>("knopfApotheke");
    QAbstractButton *patientSuchen = teil<QAbstractButton>("knopfPatientSuchen");
};

// Catches the program's openUrl calls, so that no viewer starts.
class UrlFaenger : public QObject
{
    Q_OBJECT
public:
    int geoeffnet = 0;
public slots:
    void oeffnen(const QUrl &) { ++geoeffnet; }
};

namespace {

using Uhr = std::chrono::steady_clock;

const QDate heute(2026, 12, 6);
const quint64 saat = 1;
const char *const suchtext = "mann";

const char *const einnahmeAbfrage =
    "SELECT * FROM einnahme LEFT JOIN sorte ON einnahme.med_id = sorte.id LEFT JOIN medikament ON "
    "sorte.medizin_id = medikament.id WHERE einnahme.pat_id = :pat ORDER BY ordnung ";
const char *const patientenAbfrage =
    "SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient ORDER BY lastname ASC ";

struct Groesse {
    Beispielumfang umfang;
    QString original; // as generated, never changed
    QString programm; // the copy the program works on
    QString boden;    // the copy the floor works on
    int runden = 5;
    int schritte = 10; // timed operations per round
    int startSchritte = 3;
    // The server database the window works on instead of the file; "" for the file.
    QString serverDatenbank;
    bool aufServer() const { return !serverDatenbank.isEmpty(); }
};

struct Operation {
    const char *name;
    double zielPflegedienst; // ms, 0: none
    double zielGross;
};

const Operation opStart{"start-up", 300, 60};
// A connection of its own to the server, as each start opens several.
const Operation opVerbinden{"connect to the server", 0, 0};
const Operation opWaehlen{"choose patient", 16, 16};
const Operation opZuordnen{"assign package", 16, 16};
const Operation opLoeschen{"remove line", 16, 16};
const Operation opVerschieben{"move line", 16, 16};
const Operation opBuchen{"book packages", 16, 16};
const Operation opSuchen{"search patients", 16, 16};
const Operation opPdfPlan{"PDF regulation plan", 100, 100};
const Operation opPdfListe{"PDF medication list", 100, 100};
const Operation opBedarf{"fill orders list", 16, 100};
const Operation opBedarfNeu{"read orders list anew", 16, 100};
const Operation opPdfAnforderung{"PDF prescription requests, 50 patients", 300, 300};
// A booking's change alone and with its history entry, taken in turns.
const Operation opAenderung{"change alone", 0, 0};
const Operation opMitVerlauf{"change + history", 0, 0};
const Operation opTaeglich{"daily backup", 0, 0};
const Operation opVorRiskantem{"copy before delete", 0, 0};
const Operation *const operationen[] = {&opStart,       &opVerbinden,   &opWaehlen,        &opZuordnen,  &opLoeschen,
                                        &opVerschieben, &opBuchen,      &opSuchen,         &opPdfPlan,   &opPdfListe,
                                        &opBedarf,      &opBedarfNeu,   &opPdfAnforderung, &opAenderung, &opMitVerlauf,
                                        &opTaeglich,    &opVorRiskantem};
const int anforderungsPatienten = 50;
// What recording may add to a change at "gross".
constexpr double verlaufZielMs = 1.0;
// How much slower an operation of the window may be on the server than on the file.
constexpr double serverZielFaktor = 2.0;

std::vector<Groesse> groessen;
// The sizes once more, on the server; empty without one, and why.
std::vector<Groesse> servergroessen;
std::string ohneServer;
// Where the server databases are, as the window is told; password from PGPASSWORD.
Serverzugang serverZugang;
std::string serverBeschreibung;
std::map<std::string, std::vector<double>> proben;    // seconds per sample
std::map<std::string, std::vector<double>> cpuProben; // CPU seconds of this thread per sample
std::map<std::string, std::string> hinweise;
std::map<std::string, bool> ohneArbeit; // the slot did nothing: no target can be judged
std::map<std::string, bool> aufgewaermt;
std::unique_ptr<QTemporaryDir> arbeitsordner;
std::unique_ptr<MainWindow> fenster;
QString fensterFuer;
UrlFaenger *faenger = nullptr;

std::string schluessel(const Groesse &g, const Operation &op, bool boden = false)
{
    return g.umfang.name.toStdString() + "/" + op.name + (boden ? "/floor" : "") + (g.aufServer() ? "/server" : "");
}

void ereignisse()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double cpuZeit()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU time of the last sample: the work itself, without the time spent
// waiting for the disk (commits) or for other processes on the machine.
double letzteCpu = 0;

// One sample: the operation and the events it leaves for the event loop.
template <typename F>
double messen(F &&f, bool mitEreignissen = true)
{
    const double cpu = cpuZeit();
    const auto a = Uhr::now();
    f();
    if (mitEreignissen)
        ereignisse();
    const double wand = std::chrono::duration<double>(Uhr::now() - a).count();
    letzteCpu = cpuZeit() - cpu;
    return wand;
}

// Runs the warm-up once per benchmark, not once per round.
bool aufwaermen(const std::string &name)
{
    if (aufgewaermt[name])
        return false;
    aufgewaermt[name] = true;
    return true;
}

// Records a sample. The first operation of a benchmark that had no warm-up
// of its own is its warm-up (caches, first paint) and is not counted.
void eintragen(benchmark::State &state, const std::string &name, double sekunden)
{
    state.SetIterationTime(sekunden);
    if (aufwaermen(name))
        return;
    proben[name].push_back(sekunden);
    cpuProben[name].push_back(letzteCpu);
}

// Records the sample of an operation that did its work; one that did not
// stops the benchmark with the reason. Whether it did.
bool eintragenWennGetan(benchmark::State &state, const std::string &name, double sekunden, bool getan,
                        const char *fehler)
{
    if (!getan) {
        state.SkipWithError(fehler);
        return false;
    }
    eintragen(state, name, sekunden);
    return true;
}

void dateiKopieren(const QString &von, const QString &nach)
{
    QFile::remove(nach);
    if (!QFile::copy(von, nach))
        qFatal("cannot copy %s", qPrintable(von));
}

void letzteDateiSetzen(const QString &pfad)
{
    const QString ordner = arbeitsordner->path() + QStringLiteral("/Kalvoria");
    QDir().mkpath(ordner);
    QSettings s(ordner + QStringLiteral("/config.ini"), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("pfade"));
    s.setValue(QStringLiteral("letzteDatei"), pfad);
    s.endGroup();
    // The windows write no daily copy in the background of other samples:
    // the copy is timed on its own.
    s.setValue(QStringLiteral("sicherung/aktiv"), false);
}

// The file the window opens and, on the server, the database it connects to
// right after, as the program remembers its last connection.
void fensterEinstellen(const Groesse &g)
{
    letzteDateiSetzen(g.programm);
    QSettings s(arbeitsordner->path() + QStringLiteral("/Kalvoria/config.ini"), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("pfade"));
    if (!g.aufServer()) {
        s.remove(QStringLiteral("serverDatenbank"));
        return;
    }
    s.setValue(QStringLiteral("serverHost"), serverZugang.host);
    s.setValue(QStringLiteral("serverPort"), serverZugang.port);
    s.setValue(QStringLiteral("serverDatenbank"), g.serverDatenbank);
    s.setValue(QStringLiteral("serverBenutzer"), serverZugang.benutzer);
    s.setValue(QStringLiteral("serverSslModus"), serverZugang.sslModus);
}

// Whether the window works where the size's samples are meant to run.
bool amRichtigenOrt(const MainWindow &w, const Groesse &g)
{
    return (w.art() == Datenbankart::postgres) == g.aufServer();
}

QString fensterSchluessel(const Groesse &g)
{
    return g.umfang.name + (g.aufServer() ? QStringLiteral("/server") : QString());
}

// The check the window runs after its start (quick_check) must not share
// the machine with the samples: it ends untimed.
void startPruefungAbwarten(const MainWindow &w)
{
    while (w.sicherungLaeuft()) {
        QThread::msleep(2);
        ereignisse();
    }
}

void fensterSchliessen()
{
    fenster.reset();
    fensterFuer.clear();
    ereignisse();
}

MainWindow &fensterHolen(const Groesse &g)
{
    if (fensterFuer != fensterSchluessel(g)) {
        fensterSchliessen();
        fensterEinstellen(g);
        fenster = std::make_unique<MainWindow>();
        fenster->show();
        ereignisse();
        if (!amRichtigenOrt(*fenster, g))
            qFatal("the window is not on the server database %s", qPrintable(g.serverDatenbank));
        startPruefungAbwarten(*fenster);
        Messung(*fenster).seiteEinstellungen();
        ereignisse();
        fensterFuer = fensterSchluessel(g);
    }
    return *fenster;
}

// The patient the commands work on: the second in the list, if any; the
// floors work on the same patient.
int folgeIndex(const Groesse &g)
{
    return g.umfang.patienten > 1 ? 1 : 0;
}

int arbeitsPatient(const Messung &m)
{
    return m.patienten() > 1 ? 1 : 0;
}

// The window on the size's file, with the patient the commands work on chosen.
Messung amArbeitsPatienten(const Groesse &g)
{
    const Messung m(fensterHolen(g));
    m.patientWaehlen(arbeitsPatient(m));
    ereignisse();
    return m;
}

// Where the size's server database is.
Serverzugang zugangFuer(const Groesse &g)
{
    Serverzugang z = serverZugang;
    z.datenbank = g.serverDatenbank;
    return z;
}

// A connection of the benchmark's own to a server database, beside the
// window's, as another seat has one. An empty access leaves everything to
// libpq and the environment (PGHOST, PGPORT, PGUSER, PGPASSWORD).
class Serverblick
{
public:
    explicit Serverblick(const Serverzugang &zugang) : name(QStringLiteral("bench-%1").arg(++nummer))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        serverEinrichten(db, zugang, QString());
        offen = db.open();
        fehler = db.lastError().text();
    }
    ~Serverblick() { QSqlDatabase::removeDatabase(name); }
    Serverblick(const Serverblick &) = delete;
    Serverblick &operator=(const Serverblick &) = delete;

    QSqlDatabase datenbank() const { return QSqlDatabase::database(name, false); }
    // Whether the statement ran; its error in fehler.
    bool ausfuehren(const QString &sql)
    {
        QSqlQuery q(datenbank());
        const bool gut = q.exec(sql);
        fehler = q.lastError().text();
        return gut;
    }
    // The first column of the first row; invalid when the statement failed.
    QVariant wert(const QString &sql)
    {
        QSqlQuery q(datenbank());
        const bool gut = q.exec(sql) && q.next();
        fehler = q.lastError().text();
        return gut ? q.value(0) : QVariant();
    }

    bool offen = false;
    QString fehler;

private:
    static inline int nummer = 0;
    QString name;
};

// --- the program's operations ---

void startProgramm(benchmark::State &state, const Groesse &g)
{
    fensterSchliessen();
    fensterEinstellen(g);
    const std::string name = schluessel(g, opStart);
    if (aufwaermen(name)) {
        MainWindow w;
        w.show();
        ereignisse();
    }
    ereignisse();
    for (auto _ : state) {
        std::unique_ptr<MainWindow> w;
        const double t = messen([&] {
            w = std::make_unique<MainWindow>();
            w->show();
        });
        if (!eintragenWennGetan(state, name, t, amRichtigenOrt(*w, g) && Messung(*w).patienten() == g.umfang.patienten,
                                "the window does not list every patient of the database"))
            break;
        w.reset();
        ereignisse();
    }
}

// Opened as the start's checks open theirs, asked one thing, closed.
void verbindenProgramm(benchmark::State &state, const Groesse &g)
{
    const std::string name = schluessel(g, opVerbinden);
    for (auto _ : state) {
        bool gut = false;
        const double t = messen(
            [&] {
                Serverblick b(zugangFuer(g));
                gut = b.offen && b.wert(QStringLiteral("SELECT 1")).toInt() == 1;
            },
            false);
        if (!eintragenWennGetan(state, name, t, gut, "no connection to the server"))
            break;
    }
    hinweise[name] =
        "opened, one query, closed; a start with a remembered server opens two (a probe, then the window's own)";
}

void patientWaehlenProgramm(benchmark::State &state, const Groesse &g)
{
    MainWindow &w = fensterHolen(g);
    const Messung m(w);
    const int n = m.patienten();
    const std::string name = schluessel(g, opWaehlen);
    if (aufwaermen(name)) {
        m.patientWaehlen(0);
        ereignisse();
    }
    int i = 0;
    for (auto _ : state) {
        const int zeile = (i++ * 37 + 1) % n;
        const double t = messen([&] { m.patientWaehlen(zeile); });
        if (!eintragenWennGetan(state, name, t, m.zeilen() == g.umfang.zeilenJePatient,
                                "the chosen patient's plan is not shown"))
            break;
    }
}

void zuordnenProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m = amArbeitsPatienten(g);
    const std::string name = schluessel(g, opZuordnen);
    int i = 0;
    for (auto _ : state) {
        m.packungWaehlen((i++ * 13) % m.packungen());
        const int vorher = m.zeilen();
        const double t = messen([&] { m.zuordnen(); });
        if (!eintragenWennGetan(state, name, t, m.zeilen() == vorher + 1, "no line was added"))
            break;
        m.loeschen(); // the new line is current
        ereignisse();
    }
}

void loeschenProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m = amArbeitsPatienten(g);
    const std::string name = schluessel(g, opLoeschen);
    int i = 0;
    // Untimed: a line is added at the end, and the one in the middle is to go.
    const auto vorbereiten = [&] {
        m.packungWaehlen((i++ * 17) % m.packungen());
        m.zuordnen();
        ereignisse();
        m.zeileWaehlen(m.zeilen() / 2);
    };
    for (auto _ : state) {
        vorbereiten();
        const int vorher = m.zeilen();
        const double t = messen([&] { m.loeschen(); });
        if (!eintragenWennGetan(state, name, t, m.zeilen() == vorher - 1, "no line was removed"))
            break;
    }
}

void verschiebenProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m = amArbeitsPatienten(g);
    const int mitte = m.zeilen() / 2;
    m.zeileWaehlen(mitte);
    const std::string name = schluessel(g, opVerschieben);
    bool hoch = true;
    for (auto _ : state) {
        const double t = messen([&] { hoch ? m.hoch() : m.runter(); });
        if (!eintragenWennGetan(state, name, t, m.aktuelleZeile() == (hoch ? mitte - 1 : mitte),
                                "the line did not move"))
            break;
        hoch = !hoch;
    }
}

void buchenProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m = amArbeitsPatienten(g);
    const int mitte = m.zeilen() / 2;
    m.zeileWaehlen(mitte);
    const std::string name = schluessel(g, opBuchen);
    const QString vorher = m.bestand(mitte);
    for (auto _ : state) {
        m.zeileWaehlen(mitte);
        // Includes opening and closing the pharmacy window, not only the booking.
        const double t = messen([&] { m.buchen(QStringLiteral("2")); });
        eintragen(state, name, t);
    }
    if (m.bestand(mitte) == vorher) {
        hinweise[name] = "stock unchanged: booking does nothing in this build";
        ohneArbeit[name] = true;
    }
}

void suchenProgramm(benchmark::State &state, const Groesse &g)
{
    MainWindow &w = fensterHolen(g);
    const Messung m(w);
    m.listenZeigen(true);
    ereignisse();
    const std::string name = schluessel(g, opSuchen);
    for (auto _ : state) {
        const double t = messen([&] { m.suchen(QStringLiteral("lastname"), QString::fromLatin1(suchtext)); });
        eintragen(state, name, t);
    }
    hinweise[name] = std::to_string(m.gefunden()) + " found";
    m.listenZeigen(false);
    ereignisse();
}

// Times drucken writing pdf, once per sample; how many samples wrote a file.
template <typename Drucken>
int pdfMessen(benchmark::State &state, const std::string &name, const QString &pdf, Drucken drucken)
{
    int geschrieben = 0;
    for (auto _ : state) {
        QFile::remove(pdf);
        const double t = messen(drucken);
        geschrieben += QFileInfo(pdf).size() > 0 ? 1 : 0;
        eintragen(state, name, t);
    }
    Seams::datei = nullptr;
    return geschrieben;
}

void pdfProgramm(benchmark::State &state, const Groesse &g, const Operation &op)
{
    const Messung m = amArbeitsPatienten(g);
    const QString pdf = arbeitsordner->path() + QStringLiteral("/ausgabe.pdf");
    Seams::datei = [pdf](const QString &, const QString &, const QString &, bool) { return pdf; };
    const std::string name = schluessel(g, op);
    const bool plan = &op == &opPdfPlan;
    const int vorher = faenger->geoeffnet;
    const int geschrieben = pdfMessen(state, name, pdf,
                                      [&] { plan ? m.verordnungsplanDrucken() : m.medikamentenlisteDrucken(); });
    if (geschrieben == 0) {
        hinweise[name] = "no file written: printing does nothing in this build";
        ohneArbeit[name] = true;
    } else if (faenger->geoeffnet == vorher)
        hinweise[name] = "the file was not opened";
    else
        hinweise[name] = std::to_string(m.zeilen()) + " lines";
}

// The list of what every patient must order, filled anew as a click on its
// check box fills it (the list's page in front): no data changed, so it is
// chosen from what was read.
void bedarfProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m(fensterHolen(g));
    m.rezeptbedarfZeigen();
    ereignisse();
    const std::string name = schluessel(g, opBedarf);
    for (auto _ : state) {
        const double t = messen([&] { m.bisHausarztUmschalten(); });
        if (!eintragenWennGetan(state, name, t, m.bedarf() > 0, "nothing is listed"))
            break;
    }
    hinweise[name] = std::to_string(m.bedarf()) +
                     (g.aufServer() ? " rows listed; no SQL but the seat's stand (notices and own writes)"
                                    : " rows listed; no SQL but the file's stand");
    // Back as it was: the check box on.
    if (!m.bisHausarzt->isChecked())
        m.bisHausarztUmschalten();
    m.seiteEinstellungen();
    ereignisse();
}

// The same click after another program changed a line's stock (untimed),
// so that the list is read anew. The window's watch for such changes waits
// meanwhile: it would read everything once more within a sample.
void bedarfNeuProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m(fensterHolen(g));
    m.rezeptbedarfZeigen();
    ereignisse();
    auto *waechter = m.teil<QTimer>("aenderungsWaechter");
    const bool lief = waechter->isActive();
    waechter->stop();
    // On the server another seat changes it and tells the seats, as the
    // program does; the window reads what the notice names.
    Boden b(g.programm.toStdString());
    std::unique_ptr<Serverblick> sitz;
    long long zeile = 0;
    if (g.aufServer()) {
        sitz = std::make_unique<Serverblick>(zugangFuer(g));
        zeile = sitz->wert(QStringLiteral("SELECT min(id) FROM einnahme")).toLongLong();
    } else {
        b.oeffnen();
        zeile = b.zahl("SELECT min(id) FROM einnahme");
        b.schliessen();
    }
    // One more unit and one less by turns: the data ends as it was.
    int geaendert = 0;
    const auto aendern = [&](int um) {
        if (sitz) {
            if (!sitz->ausfuehren(
                    QStringLiteral("UPDATE einnahme SET stand = stand + %1 WHERE id = %2").arg(um).arg(zeile)) ||
                !sitz->ausfuehren(QStringLiteral("SELECT pg_notify('kalvoria', 'einnahme')")))
                qFatal("%s", qPrintable(sitz->fehler));
        } else {
            b.oeffnen();
            b.ausfuehren("UPDATE einnahme SET stand = stand + :um WHERE id = :id", {{":um", um}, {":id", zeile}});
            b.schliessen();
        }
        geaendert += um;
    };
    const std::string name = schluessel(g, opBedarfNeu);
    auto *auffrischer = m.teil<QTimer>("serverAuffrischer");
    for (auto _ : state) {
        aendern(geaendert == 0 ? 1 : -1);
        double t = 0;
        if (sitz) {
            // The notice arrives untimed; timed is what the window does with
            // it once it has gathered what follows (it waits 50 ms for that).
            QElapsedTimer warten;
            warten.start();
            while (!auffrischer->isActive() && warten.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (!auffrischer->isActive())
                qFatal("the other seat's notice did not arrive");
            auffrischer->stop();
            t = messen([&] { QMetaObject::invokeMethod(auffrischer, "timeout"); });
        } else {
            t = messen([&] { m.bisHausarztUmschalten(); });
        }
        if (!eintragenWennGetan(state, name, t, m.bedarf() > 0, "nothing is listed"))
            break;
    }
    if (geaendert != 0)
        aendern(-geaendert);
    hinweise[name] = std::to_string(m.bedarf()) + " rows listed, after a stock changed by another program";
    if (!m.bisHausarzt->isChecked())
        m.bisHausarztUmschalten();
    // The window takes in the change untimed, as its watch would.
    QMetaObject::invokeMethod(waechter, "timeout");
    if (lief)
        waechter->start();
    m.seiteEinstellungen();
    ereignisse();
}

// The sheets of the first patients on the list: rows chosen from the first
// until 50 patients are among them.
void pdfAnforderungProgramm(benchmark::State &state, const Groesse &g)
{
    const Messung m(fensterHolen(g));
    m.rezeptbedarfZeigen();
    ereignisse();
    QSet<QString> patienten;
    int bis = -1;
    while (bis + 1 < m.bedarf() && patienten.size() < anforderungsPatienten)
        patienten.insert(m.bedarfPatient(++bis));
    m.bedarfWaehlen(qMax(0, bis));
    ereignisse();
    const QString pdf = arbeitsordner->path() + QStringLiteral("/anforderung.pdf");
    Seams::datei = [pdf](const QString &, const QString &, const QString &, bool) { return pdf; };
    const std::string name = schluessel(g, opPdfAnforderung);
    const int geschrieben = pdfMessen(state, name, pdf, [&] { m.rezeptanforderungDrucken(); });
    if (geschrieben == 0) {
        hinweise[name] = "no file written: printing does nothing in this build";
        ohneArbeit[name] = true;
    } else {
        hinweise[name] = std::to_string(patienten.size()) + " patients, " + std::to_string(bis + 1) +
                         " lines; no SQL: the sheets print the list as read";
    }
    m.rezeptbedarf->clearSelection();
    m.seiteEinstellungen();
    ereignisse();
}

// A connection of the benchmark's own to the file, as the window has one.
class Verbindung : public DbVerbindung
{
public:
    explicit Verbindung(const QString &datei) { datenbankDatei = datei; }
    // The size's database: its file, or its server database.
    explicit Verbindung(const Groesse &g)
    {
        datenbankDatei = g.programm;
        if (g.aufServer())
            serverVerwenden(zugangFuer(g));
    }
    int fehler = 0;

protected:
    void datenbankFehler(const QString &text) override
    {
        ++fehler;
        std::fprintf(stderr, "database: %s\n", qPrintable(text));
    }
    void datenbankKonflikt() override { ++fehler; }
};

// The booking's statement alone and the same with the entry the booking
// records, in turns on the same line, each in its own transaction: what
// recording adds to a change.
void verlaufProgramm(benchmark::State &state, const Groesse &g)
{
    // A window on the server would be told of each change and read anew
    // within later samples.
    if (g.aufServer())
        fensterSchliessen();
    Verbindung v(g);
    QVariant zeile;
    {
        DbSitzung db(v);
        const auto zeilen = db.lesen(QStringLiteral("SELECT id FROM einnahme ORDER BY pat_id, id LIMIT 1 OFFSET :n"),
                                     {{QStringLiteral(":n"), g.umfang.zeilenJePatient / 2}});
        zeile = zeilen.value(0).value(0);
    }
    const std::string ohne = schluessel(g, opAenderung);
    const std::string mit = schluessel(g, opMitVerlauf);
    int probe = 0;
    const auto aendern = [&](bool aufzeichnen) {
        const double stand = 30.0 + 2.0 * (++probe % 50);
        DbSitzung db(v);
        db.transaktion([&] {
            return db.aendernZeile(QStringLiteral("UPDATE einnahme SET tag=:tag, stand=:stand  WHERE id=:id ;"),
                                   {{QStringLiteral(":tag"), heute.toString(QStringLiteral("yyyy-MM-dd"))},
                                    {QStringLiteral(":stand"), stand},
                                    {QStringLiteral(":id"), zeile}}) &&
                   (!aufzeichnen ||
                    verlaufBuchung(db, QDateTime(heute, QTime(10, 30)), zeile, stand - 60.0, stand, 2, 30));
        });
    };
    for (auto _ : state) {
        const double a = messen([&] { aendern(false); }, false);
        eintragen(state, ohne, a);
        const double b = messen([&] { aendern(true); }, false);
        eintragen(state, mit, b);
        state.SetIterationTime(a + b);
    }
    if (v.fehler > 0)
        hinweise[mit] = "the changes failed";
}

// The daily copy as the thread after the start writes it (quick_check,
// VACUUM INTO, integrity_check, rename, keep rules), each sample a day
// later so that one is due; and the copy a delete waits for.
void sicherungProgramm(benchmark::State &state, const Groesse &g, const Operation &op)
{
    const QString ordner = arbeitsordner->path() + QStringLiteral("/Sicherungen-") + g.umfang.name;
    Sicherungseinstellungen e;
    e.ordner = ordner;
    const std::string name = schluessel(g, op);
    Verbindung v(g.programm);
    QDateTime jetzt(heute, QTime(10, 30));
    qint64 groesse = 0;
    for (auto _ : state) {
        QDir(ordner).removeRecursively();
        jetzt = jetzt.addDays(1);
        QString kopie;
        const double t = messen(
            [&] {
                if (&op == &opTaeglich) {
                    startPruefen(g.programm, ordner, e, jetzt);
                    kopie = sicherungenLesen(ordner).value(0).datei;
                } else {
                    QString fehler;
                    DbSitzung db(v);
                    kopie = sicherungSchreiben(db.verbindung(), ordner, g.programm, jetzt,
                                               Sicherungsanlass::patientLoeschen, &fehler);
                    sicherungenAufraeumen(ordner, g.programm, jetzt, e.taeglich);
                }
            },
            false);
        groesse = QFileInfo(kopie).size();
        if (!eintragenWennGetan(state, name, t, groesse > 0, "no copy was written"))
            break;
    }
    char puffer[64];
    std::snprintf(puffer, sizeof puffer, "copy of %.1f MB", static_cast<double>(groesse) / 1048576.0);
    hinweise[name] = puffer;
    QDir(ordner).removeRecursively();
}

// --- the floors ---

std::string text(long long zahl)
{
    return std::to_string(zahl);
}

// Keys of the patients in the order of the choice list.
std::vector<long long> patientenFolge(Boden &b)
{
    b.oeffnen();
    b.ausfuehren(patientenAbfrage);
    std::vector<long long> ids = b.schluessel;
    b.schliessen();
    return ids;
}

void einnahmeLesen(Boden &b, long long patient)
{
    b.ausfuehren(einnahmeAbfrage, {{":pat", text(patient)}});
}

void termineLesen(Boden &b, long long patient)
{
    b.ausfuehren("SELECT * FROM termine WHERE pata_id=:pata_id ORDER BY arzt_date ASC ", {{":pata_id", patient}});
    b.ausfuehren("SELECT * FROM termine WHERE (arzt_date > :heute OR arzt_date = :heute) AND arzt=:arzt AND "
                 "pata_id=:pata_id ORDER BY arzt_date ASC LIMIT 1 ;",
                 {{":heute", heute.toString(QStringLiteral("yyyy-MM-dd")).toStdString()},
                  {":arzt", "Hausarzt"},
                  {":pata_id", patient}});
}

// After a line came or went: the patient's lines read again and numbered
// 1..n in one transaction.
void neuNummerieren(Boden &b, long long patient)
{
    einnahmeLesen(b, patient);
    const std::vector<long long> ids = b.schluessel;
    b.ausfuehren("BEGIN");
    for (std::size_t i = 0; i < ids.size(); ++i)
        b.ausfuehren("UPDATE einnahme SET ordnung=:ordnung WHERE id=:id ;",
                     {{":ordnung", static_cast<long long>(i + 1)}, {":id", ids[i]}});
    b.ausfuehren("COMMIT");
}

void einnahmeEinfuegen(Boden &b, long long patient, long long sorte, long long ordnung)
{
    b.ausfuehren("INSERT INTO einnahme (id, pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung) "
                 "VALUES (NULL, :pat_id, :med_id, :tag , :stand, :morgen, :mittag, :abend, :nacht, :hilfe, :ordnung) ;",
                 {{":pat_id", text(patient)},
                  {":med_id", sorte},
                  {":tag", heute.toString(QStringLiteral("yyyy-MM-dd")).toStdString()},
                  {":stand", 30.0},
                  {":morgen", 1.0},
                  {":mittag", 0.0},
                  {":abend", 0.5},
                  {":nacht", 0.0},
                  {":hilfe", 0},
                  {":ordnung", ordnung}});
}

// Adds a line of the package at the end of the patient's plan; its key.
long long zeileAnhaengen(Boden &b, long long patient, long long sorte)
{
    const long long hoechste = b.zahl("SELECT max(ordnung) AS hoechste FROM einnahme WHERE pat_id=:pat ;",
                                      {{":pat", text(patient)}});
    einnahmeEinfuegen(b, patient, sorte, hoechste + 1);
    return b.letzteId();
}

void zeileEntfernen(Boden &b, long long id)
{
    b.ausfuehren("DELETE FROM einnahme WHERE id=:id ;", {{":id", text(id)}});
}

// Times arbeit with the floor's file opened for it and closed after it;
// vorher, if any, runs untimed before each sample. Both are given the
// sample's number, counted from 0.
void bodenMessen(benchmark::State &state, const std::string &name, Boden &b, const std::function<void(int)> &vorher,
                 const std::function<void(int)> &arbeit)
{
    int probe = 0;
    const auto geoeffnet = [&] {
        b.oeffnen();
        arbeit(probe);
        b.schliessen();
    };
    for (auto _ : state) {
        if (vorher)
            vorher(probe);
        eintragen(state, name, messen(geoeffnet, false));
        ++probe;
    }
}

void startBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const std::vector<long long> folge = patientenFolge(b);
    b.oeffnen();
    const long long medikament = b.zahl("SELECT id FROM medikament ORDER BY medizin ASC LIMIT 1");
    b.schliessen();
    bodenMessen(state, schluessel(g, opStart, true), b, nullptr, [&](int) {
        b.ausfuehren("SELECT name FROM sqlite_master WHERE type = 'table'");
        b.ausfuehren(patientenAbfrage);
        einnahmeLesen(b, folge.front());
        termineLesen(b, folge.front());
        b.ausfuehren(
            "SELECT id, medizin_id, handelsname, dosis, packung FROM sorte ORDER BY handelsname ASC, dosis ASC ");
        b.ausfuehren("SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient WHERE firstname "
                     "LIKE:kat ORDER BY id ASC ",
                     {{":kat", "%%"}});
        b.ausfuehren("SELECT id, medizin FROM medikament WHERE medizin LIKE:kat ORDER BY medizin ASC ",
                     {{":kat", "%%"}});
        b.ausfuehren("SELECT id, medizin_id, handelsname, dosis, packung FROM sorte WHERE medizin_id=:medid ORDER BY "
                     "dosis ASC ",
                     {{":medid", medikament}});
    });
}

void patientWaehlenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const std::vector<long long> folge = patientenFolge(b);
    bodenMessen(state, schluessel(g, opWaehlen, true), b, nullptr, [&](int probe) {
        const long long p = folge[static_cast<std::size_t>((probe * 37 + 1) % static_cast<int>(folge.size()))];
        b.ausfuehren(patientenAbfrage);
        einnahmeLesen(b, p);
        termineLesen(b, p);
    });
}

void zuordnenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const long long p = patientenFolge(b).at(folgeIndex(g));
    long long neu = 0;
    // Untimed: the line the sample before added goes again.
    const auto zuruecknehmen = [&](int) {
        if (neu == 0)
            return;
        b.oeffnen();
        zeileEntfernen(b, neu);
        b.schliessen();
    };
    const auto zuordnen = [&](int probe) {
        neu = zeileAnhaengen(b, p, 1 + (probe * 13) % g.umfang.packungen);
        neuNummerieren(b, p);
    };
    bodenMessen(state, schluessel(g, opZuordnen, true), b, zuruecknehmen, zuordnen);
}

void loeschenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const long long p = patientenFolge(b).at(folgeIndex(g));
    long long weg = 0;
    // Untimed: a line is added at the end, and the one in the middle is to go.
    const auto vorbereiten = [&](int probe) {
        b.oeffnen();
        zeileAnhaengen(b, p, 1 + (probe * 17) % g.umfang.packungen);
        einnahmeLesen(b, p);
        weg = b.schluessel.at(b.schluessel.size() / 2);
        b.schliessen();
    };
    const auto loeschen = [&](int) {
        zeileEntfernen(b, weg);
        neuNummerieren(b, p);
    };
    bodenMessen(state, schluessel(g, opLoeschen, true), b, vorbereiten, loeschen);
}

void verschiebenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const long long p = patientenFolge(b).at(folgeIndex(g));
    const long long mitte = g.umfang.zeilenJePatient / 2 + 1;
    bodenMessen(state, schluessel(g, opVerschieben, true), b, nullptr, [&](int probe) {
        // Up and down by turns.
        const bool hoch = probe % 2 == 0;
        const long long von = hoch ? mitte : mitte - 1;
        const long long nach = hoch ? mitte - 1 : mitte;
        b.ausfuehren("BEGIN");
        b.ausfuehren("UPDATE einnahme SET ordnung=:zahl WHERE ordnung=:ordnung AND pat_id=:pat ;",
                     {{":zahl", 9999}, {":ordnung", nach}, {":pat", text(p)}});
        b.ausfuehren("UPDATE einnahme SET ordnung=:neueordnung WHERE ordnung=:ordnung AND pat_id=:pat ;",
                     {{":neueordnung", nach}, {":ordnung", von}, {":pat", text(p)}});
        b.ausfuehren("UPDATE einnahme SET ordnung=:neueordnung WHERE ordnung=9999 AND pat_id=:pat ;",
                     {{":neueordnung", von}, {":pat", text(p)}});
        b.ausfuehren("COMMIT");
        einnahmeLesen(b, p);
    });
}

void buchenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const long long p = patientenFolge(b).at(folgeIndex(g));
    b.oeffnen();
    einnahmeLesen(b, p);
    const long long zeile = b.schluessel.at(b.schluessel.size() / 2);
    b.schliessen();
    bodenMessen(state, schluessel(g, opBuchen, true), b, nullptr, [&](int probe) {
        // 32, 34, ...: a new stock each time.
        b.ausfuehren("UPDATE einnahme SET tag=:tag, stand=:stand  WHERE id=:id ;",
                     {{":tag", heute.toString(QStringLiteral("yyyy-MM-dd")).toStdString()},
                      {":stand", 30.0 + 2.0 * (probe + 1)},
                      {":id", text(zeile)}});
        einnahmeLesen(b, p);
    });
}

// The statements that read the list: patients, the next family-doctor
// appointment of each (one grouped query), the catalogue, whether the file
// has requests, and every intake line.
void bedarfBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    const std::string termine = naechsteHausarztTermine(Datenbankart::sqlite).toStdString();
    bodenMessen(state, schluessel(g, opBedarfNeu, true), b, nullptr, [&](int) {
        b.ausfuehren("SELECT id, lastname, firstname, birth FROM patient ORDER BY lastname, firstname, id");
        b.ausfuehren(termine.c_str(), {{":heute", heute.toString(QStringLiteral("yyyy-MM-dd")).toStdString()}});
        b.ausfuehren("SELECT sorte.id, sorte.handelsname, sorte.dosis, sorte.packung, medikament.medizin FROM sorte "
                     "LEFT JOIN medikament ON sorte.medizin_id = medikament.id");
        b.ausfuehren("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'anforderung'");
        b.ausfuehren("SELECT id, pat_id, med_id, ordnung, tag, stand, morgen, mittag, abend, nacht FROM einnahme");
    });
}

void suchenBoden(benchmark::State &state, const Groesse &g)
{
    Boden b(g.boden.toStdString());
    bodenMessen(state, schluessel(g, opSuchen, true), b, nullptr, [&](int) {
        b.ausfuehren("SELECT id, lastname, firstname, ort, birth, plz, strasse, nr FROM patient WHERE lastname "
                     "LIKE:kat ORDER BY id ASC ",
                     {{":kat", std::string("%") + suchtext + "%"}});
    });
}

// --- the server ---

// Copies "pflegedienst" and "gross" into fresh databases on the server the
// environment names (servergroessen); without one, ohneServer says why.
void serverVorbereiten(bool gewollt)
{
    if (!gewollt) {
        ohneServer = "left out (--ohne-server)";
        return;
    }
    if (qEnvironmentVariableIsEmpty("PGHOST")) {
        ohneServer = "PGHOST is not set (make bench sets it through pg_virtualenv, scripts/install-deps.sh --server)";
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        ohneServer = "Qt's PostgreSQL driver is missing (scripts/install-deps.sh --server)";
        return;
    }
    Serverblick verwaltung{Serverzugang()};
    if (!verwaltung.offen) {
        ohneServer = "no connection to the server: " + verwaltung.fehler.toStdString();
        return;
    }
    // The window goes through the server's Unix socket where it has one,
    // as on the machine the server runs on; else where PGHOST says.
    const QString sockel = verwaltung.wert(QStringLiteral("SHOW unix_socket_directories"))
                               .toString()
                               .section(QLatin1Char(','), 0, 0)
                               .trimmed();
    serverZugang.port = verwaltung.wert(QStringLiteral("SHOW port")).toInt();
    serverZugang.benutzer = verwaltung.wert(QStringLiteral("SELECT current_user")).toString();
    QStringList orte;
    if (!sockel.isEmpty())
        orte << sockel;
    orte << qEnvironmentVariable("PGHOST");
    for (const Groesse &g : groessen) {
        if (g.umfang.name != QLatin1String("pflegedienst") && g.umfang.name != QLatin1String("gross"))
            continue;
        Groesse s = g;
        s.serverDatenbank =
            QStringLiteral("kalvoria_bench_%1_%2").arg(g.umfang.name).arg(QCoreApplication::applicationPid());
        if (!verwaltung.ausfuehren(QStringLiteral("CREATE DATABASE %1").arg(s.serverDatenbank)))
            qFatal("%s", qPrintable(verwaltung.fehler));
        // Listed now, so that it is dropped at the end whatever happens.
        servergroessen.push_back(s);
        QStringList fehler;
        for (const QString &ort : orte) {
            serverZugang.host = ort;
            Serverblick ziel(zugangFuer(s));
            if (!ziel.offen) {
                fehler << ort + QStringLiteral(": ") + ziel.fehler;
                continue;
            }
            std::fprintf(stderr, "copying %s to the server\n", qPrintable(g.umfang.name));
            const auto a = Uhr::now();
            {
                QSqlDatabase db = ziel.datenbank();
                const Kopie k = dateiAufServer(g.original, db);
                if (!k.gut())
                    qFatal("%s", qPrintable(k.fehler));
            }
            // The statistics the server's autovacuum gathers soon after a
            // copy, gathered now, so that no sample depends on when it runs.
            if (!ziel.ausfuehren(QStringLiteral("ANALYZE")))
                qFatal("%s", qPrintable(ziel.fehler));
            std::fprintf(stderr, "  copied in %.1f s\n", std::chrono::duration<double>(Uhr::now() - a).count());
            fehler.clear();
            break;
        }
        if (!fehler.isEmpty()) {
            ohneServer = "no connection to the copy: " + fehler.join(QStringLiteral("; ")).toStdString();
            return;
        }
        orte = QStringList{serverZugang.host};
    }
    if (servergroessen.empty()) {
        ohneServer = "only pflegedienst and gross get one";
        return;
    }
    const bool ueberSockel = serverZugang.host.startsWith(QLatin1Char('/'));
    serverBeschreibung = "PostgreSQL " +
                         verwaltung.wert(QStringLiteral("SHOW server_version")).toString().toStdString() +
                         (ueberSockel ? ", Unix socket " : ", host ") + serverZugang.host.toStdString() + ":" +
                         std::to_string(serverZugang.port) + ", fsync " +
                         verwaltung.wert(QStringLiteral("SHOW fsync")).toString().toStdString() +
                         ", synchronous_commit " +
                         verwaltung.wert(QStringLiteral("SHOW synchronous_commit")).toString().toStdString();
}

// The server databases go again; no window may be on them any more.
void serverAufraeumen()
{
    if (servergroessen.empty())
        return;
    Serverblick verwaltung{Serverzugang()};
    for (const Groesse &s : servergroessen) {
        if (!verwaltung.ausfuehren(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(s.serverDatenbank)))
            std::fprintf(stderr, "database %s left on the server: %s\n", qPrintable(s.serverDatenbank),
                         qPrintable(verwaltung.fehler));
    }
}

// --- report ---

struct Kennzahlen {
    double median = 0, q1 = 0, q3 = 0;
    std::size_t n = 0;
};

Kennzahlen kennzahlen(std::vector<double> werte)
{
    Kennzahlen k;
    k.n = werte.size();
    if (werte.empty())
        return k;
    std::sort(werte.begin(), werte.end());
    auto quantil = [&](double p) {
        const double pos = p * static_cast<double>(werte.size() - 1);
        const auto unten = static_cast<std::size_t>(pos);
        const std::size_t oben = std::min(unten + 1, werte.size() - 1);
        return werte[unten] + (pos - static_cast<double>(unten)) * (werte[oben] - werte[unten]);
    };
    k.median = quantil(0.5);
    k.q1 = quantil(0.25);
    k.q3 = quantil(0.75);
    return k;
}

std::string ms(double sekunden)
{
    const double m = sekunden * 1000.0;
    char puffer[32];
    std::snprintf(puffer, sizeof puffer, m < 1 ? "%.3f ms" : m < 10 ? "%.2f ms" : m < 100 ? "%.1f ms" : "%.0f ms", m);
    return puffer;
}

double ziel(const Groesse &g, const Operation &op)
{
    if (&op == &opPdfPlan || &op == &opPdfListe || &op == &opPdfAnforderung)
        return op.zielGross;
    if (g.umfang.name == QLatin1String("pflegedienst"))
        return op.zielPflegedienst;
    if (g.umfang.name == QLatin1String("gross"))
        return op.zielGross;
    return 0;
}

std::string last()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return "?";
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2).toStdString();
}

long spitzeKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : f.readAll().split('\n')) {
        if (zeile.startsWith("VmHWM:"))
            return zeile.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// In a process of its own: starts the program on the file ("leer": a first
// start without any file), chooses ten patients and searches, and prints
// the peak resident memory.
int speicherMessen(int argc, char **argv, const QString &datei)
{
    QApplication app(argc, argv);
    arbeitsordner = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, arbeitsordner->path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, arbeitsordner->path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(arbeitsordner->path() + QStringLiteral("/daten")));
    Seams::uhr = [] { return QDateTime(heute, QTime(10, 30)); };
    Seams::meldung = [](const QString &t) { std::fprintf(stderr, "message: %s\n", qPrintable(t)); };
    Seams::frage = [](const QString &) { return false; };
    if (datei != QLatin1String("leer"))
        letzteDateiSetzen(datei);
    {
        MainWindow w;
        w.show();
        ereignisse();
        const Messung m(w);
        const int n = m.patienten();
        for (int i = 0; n > 0 && i < 10; ++i) {
            m.patientWaehlen((i * 37 + 1) % n);
            ereignisse();
        }
        m.listenZeigen(true);
        m.suchen(QStringLiteral("lastname"), QString::fromLatin1(suchtext));
        ereignisse();
        std::printf("%ld\n", spitzeKb());
    }
    Seams::zuruecksetzen();
    return 0;
}

long speicherIn(const QString &datei)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--speicher"), datei});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return -1;
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed().toLong();
}

void tabelleDrucken(const std::vector<std::pair<long, long>> &speicher)
{
    std::printf("\nKalvoria benchmarks: Qt %s, SQLite %s, %s build, %d cores, load average %s\n", qVersion(),
                sqlite3_libversion(), KALVORIA_BAUART, QThread::idealThreadCount(), last().c_str());
    std::printf("Median and spread (interquartile range) of the wall-clock time over all samples; cpu: median CPU "
                "time of the\nsame samples (without waiting for the disk or for other processes); floor: the same SQL "
                "statements\nthrough the SQLite C API alone (wall clock and cpu).\n");
    std::printf("\n");
    std::printf("%-13s %-38s %9s %19s %4s %9s %9s %9s %7s %8s %-7s %s\n", "size", "operation", "median", "spread (IQR)",
                "n", "cpu", "floor", "floor cpu", "ratio", "target", "met", "note");
    for (const Groesse &g : groessen) {
        for (const Operation *op : operationen) {
            const auto it = proben.find(schluessel(g, *op));
            if (it == proben.end())
                continue;
            const Kennzahlen k = kennzahlen(it->second);
            const Kennzahlen kc = kennzahlen(cpuProben[it->first]);
            const auto b = proben.find(schluessel(g, *op, true));
            std::string boden = "-", bodenCpu = "-", verhaeltnis = "-";
            if (b != proben.end()) {
                const Kennzahlen kb = kennzahlen(b->second);
                boden = ms(kb.median);
                bodenCpu = ms(kennzahlen(cpuProben[b->first]).median);
                char puffer[32];
                std::snprintf(puffer, sizeof puffer, "%.1fx", k.median / kb.median);
                verhaeltnis = puffer;
            }
            const double z = ziel(g, *op);
            const std::string zielText = z > 0 ? ms(z / 1000.0) : "-";
            const std::string erfuellt = z <= 0                           ? "-"
                                         : ohneArbeit[schluessel(g, *op)] ? "n/a"
                                         : k.median * 1000.0 <= z         ? "yes"
                                                                          : "MISSED";
            std::printf("%-13s %-38s %9s %19s %4zu %9s %9s %9s %7s %8s %-7s %s\n", g.umfang.name.toUtf8().constData(),
                        op->name, ms(k.median).c_str(), (ms(k.q1) + " - " + ms(k.q3)).c_str(), k.n,
                        ms(kc.median).c_str(), boden.c_str(), bodenCpu.c_str(), verhaeltnis.c_str(), zielText.c_str(),
                        erfuellt.c_str(), hinweise[schluessel(g, *op)].c_str());
        }
    }
    for (const Groesse &g : groessen) {
        const auto ohne = proben.find(schluessel(g, opAenderung));
        const auto mit = proben.find(schluessel(g, opMitVerlauf));
        if (ohne == proben.end() || mit == proben.end())
            continue;
        const double wand = (kennzahlen(mit->second).median - kennzahlen(ohne->second).median) * 1000.0;
        const double cpu = (kennzahlen(cpuProben[mit->first]).median - kennzahlen(cpuProben[ohne->first]).median) *
                           1000.0;
        std::printf("\n%s: recording a change's history adds %.3f ms wall, %.3f ms cpu (median difference; "
                    "target <= %.0f ms%s)",
                    g.umfang.name.toUtf8().constData(), wand, cpu, verlaufZielMs,
                    g.umfang.name == QLatin1String("gross") ? (wand <= verlaufZielMs ? ": met" : ": MISSED") : "");
    }
    std::printf("\n");
    if (!speicher.empty()) {
        std::printf("\nPeak memory (VmHWM) of a start, ten patients chosen and a search:\n");
        const long leer = speicher.front().second;
        std::printf("  empty first start   %8.1f MB\n", static_cast<double>(leer) / 1024.0);
        for (std::size_t i = 1; i < speicher.size(); ++i) {
            const Groesse &g = groessen[static_cast<std::size_t>(speicher[i].first)];
            const double faktor = leer > 0 ? static_cast<double>(speicher[i].second) / static_cast<double>(leer) : 0;
            const bool gross = g.umfang.name == QLatin1String("gross");
            std::printf("  %-19s %8.1f MB  %.2fx empty%s\n", g.umfang.name.toUtf8().constData(),
                        static_cast<double>(speicher[i].second) / 1024.0, faktor,
                        gross ? (faktor <= 2.0 ? "  (target <= 2x: met)" : "  (target <= 2x: MISSED)") : "");
        }
    }
    std::printf("\nLoad average at the end: %s\n", last().c_str());
}

// Right-aligned in breite columns, whatever the bytes of the characters.
std::string rechts(const std::string &text, std::size_t breite)
{
    const auto zeichen = static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return std::string(breite > zeichen ? breite - zeichen : 0, ' ') + text;
}

// The window's operations on the server beside the same on the file.
void servertabelleDrucken()
{
    if (!ohneServer.empty() || servergroessen.empty()) {
        std::printf("\nNo PostgreSQL column: %s.\n", ohneServer.c_str());
        return;
    }
    std::printf("\nThe same operations with the window on a copy of the file on the server (%s):\nmedian wall clock "
                "and cpu on the server, the file's median beside it; ratio: server / file, goal <= %.0fx for\nthe "
                "window's operations (reported only); \u2014: works on files alone.\n",
                serverBeschreibung.c_str(), serverZielFaktor);
    std::printf("%-13s %-38s %9s %9s %19s %4s %9s %7s %-7s %s\n", "size", "operation", "file", "server", "spread (IQR)",
                "n", "cpu", "ratio", "met", "note");
    for (const Groesse &s : servergroessen) {
        const auto datei = std::find_if(groessen.begin(), groessen.end(),
                                        [&](const Groesse &g) { return g.umfang.name == s.umfang.name; });
        for (const Operation *op : operationen) {
            const auto d = proben.find(schluessel(*datei, *op));
            const std::string dateiMedian = d == proben.end() ? "-" : ms(kennzahlen(d->second).median);
            const auto it = proben.find(schluessel(s, *op));
            if (it == proben.end()) {
                const bool nurDatei = op == &opTaeglich || op == &opVorRiskantem;
                std::printf("%-13s %-38s %9s %s %19s %4s %9s %7s %-7s %s\n", s.umfang.name.toUtf8().constData(),
                            op->name, dateiMedian.c_str(), rechts("\u2014", 9).c_str(), "-", "-", "-", "-", "-",
                            nurDatei ? "file only" : "no samples (see the errors above)");
                continue;
            }
            const Kennzahlen k = kennzahlen(it->second);
            std::string verhaeltnis = "-", erfuellt = "-";
            if (d != proben.end()) {
                const double faktor = k.median / kennzahlen(d->second).median;
                char puffer[32];
                std::snprintf(puffer, sizeof puffer, "%.2fx", faktor);
                verhaeltnis = puffer;
                // A change on its own is no operation of the window.
                if (op != &opAenderung && op != &opMitVerlauf)
                    erfuellt = ohneArbeit[it->first] ? "n/a" : faktor <= serverZielFaktor ? "yes" : "MISSED";
            }
            std::printf("%-13s %-38s %9s %9s %19s %4zu %9s %7s %-7s %s\n", s.umfang.name.toUtf8().constData(), op->name,
                        dateiMedian.c_str(), ms(k.median).c_str(), (ms(k.q1) + " - " + ms(k.q3)).c_str(), k.n,
                        ms(kennzahlen(cpuProben[it->first]).median).c_str(), verhaeltnis.c_str(), erfuellt.c_str(),
                        hinweise[it->first].c_str());
        }
    }
}

class Fortschritt : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context &) override { return true; }
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.error_occurred)
                std::fprintf(stderr, "%s: ERROR %s\n", r.benchmark_name().c_str(), r.error_message.c_str());
        }
        if (!runs.empty() && runs.front().run_type == Run::RT_Iteration)
            std::fprintf(stderr, "  %s\n", runs.front().run_name.function_name.c_str());
    }
};

void anmelden(const Groesse &g, const Operation &op, int schritte,
              void (*programm)(benchmark::State &, const Groesse &), void (*boden)(benchmark::State &, const Groesse &))
{
    benchmark::RegisterBenchmark(schluessel(g, op).c_str(), [&g, programm](benchmark::State &s) { programm(s, g); })
        ->UseManualTime()
        ->Iterations(schritte)
        ->Repetitions(g.runden)
        ->Unit(benchmark::kMillisecond);
    // The floor reads the file: the server's figures stand beside the file's.
    if (boden && !g.aufServer())
        benchmark::RegisterBenchmark(schluessel(g, op, true).c_str(), [&g, boden](benchmark::State &s) { boden(s, g); })
            ->UseManualTime()
            ->Iterations(schritte)
            ->Repetitions(g.runden)
            ->Unit(benchmark::kMillisecond);
}


// --- the medication plan (BMP): its building blocks, apart from the sample sizes ---

struct BmpMessung {
    const char *name;
    double ziel; // ms
    std::string hinweis;
};
std::vector<BmpMessung> bmpMessungen;

// A plan of n lines as Kalvoria prints it: trade name, ingredient and
// strength, a schedule, every seventh line in words.
BmpPlan bmpBeispiel(int n)
{
    BmpPlan p;
    p.version = QString::fromLatin1(bmpVersion);
    p.instanz = QStringLiteral("3F2A9C41D0B84E7A9C55E1B2A7D40F13");
    p.patient.vorname = QStringLiteral("J\u00FCrgen");
    p.patient.name = QStringLiteral("Wei\u00DFb\u00E4cker");
    p.patient.geburt = QStringLiteral("19410307");
    p.autor.name = QStringLiteral("Pflegedienst Lindenh\u00F6he");
    p.autor.strasse = QStringLiteral("M\u00FChlweg 4");
    p.autor.plz = QStringLiteral("79098");
    p.autor.ort = QStringLiteral("Freiburg");
    p.autor.zeit = QStringLiteral("2026-12-06T10:30:00");
    p.abschnitte.resize(1);
    for (int i = 0; i < n; ++i) {
        BmpEintrag e;
        e.handelsname = QStringLiteral("Mittel-%1").arg(i);
        e.wirkstoffe.append({QStringLiteral("Wirkstoff %1").arg(i), QStringLiteral("5 mg")});
        if (i % 7 == 6)
            e.dosisText = QStringLiteral("bei Bedarf 1");
        else
            e.dosen = {QStringLiteral("1"), QString(), i % 2 ? QStringLiteral("1/2") : QString(), QString()};
        p.abschnitte[0].eintraege.append(e);
    }
    return p;
}

void bmpPdf(benchmark::State &state, int zeilen, const std::string &name)
{
    const BmpPlan plan = bmpBeispiel(zeilen);
    const QString pdf = arbeitsordner->path() + QStringLiteral("/bmp.pdf");
    int seiten = 0;
    for (auto _ : state) {
        QFile::remove(pdf);
        const double t = messen(
            [&] {
                const BmpSeiten s = bmpSeitenTeilen(plan);
                seiten = int(s.seiten.size());
                if (seiten == 0 || !bmpPdfSchreiben(pdf, s.seiten).isEmpty())
                    state.SkipWithError("the plan was not written");
            },
            false);
        eintragen(state, name, t);
    }
    hinweise[name] = std::to_string(seiten) + (seiten == 1 ? " page" : " pages");
}

void bmpLesen300(benchmark::State &state, const std::string &name)
{
    // The 15-line plan printed and rendered as a scanner at 300 dpi gives it.
    const QString pdf = arbeitsordner->path() + QStringLiteral("/scan.pdf");
    const QString png = arbeitsordner->path() + QStringLiteral("/scan");
    bmpPdfSchreiben(pdf, bmpSeitenTeilen(bmpBeispiel(15)).seiten);
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("300"),
                                                   QStringLiteral("-singlefile"), pdf, png});
    int gefunden = 0;
    for (auto _ : state) {
        const double t = messen(
            [&] { gefunden = int(dataMatrixAusDatei(png + QStringLiteral(".png")).inhalte.size()); }, false);
        if (!eintragenWennGetan(state, name, t, gefunden == 1, "no code found in the scan"))
            return;
    }
    hinweise[name] = "A4 landscape, 3508 x 2480 pixels, file read and decoded";
}

void bmpAbgleich30(benchmark::State &state, const std::string &name)
{
    const BmpPlan plan = bmpBeispiel(30);
    QVector<KatalogPackung> katalog;
    QVector<VorhandeneZeile> zeilen;
    // 300 packages in the catalogue; the patient has the plan's 30 lines,
    // every third with another dose.
    for (int i = 0; i < 300; ++i)
        katalog.append({i + 1, QStringLiteral("Wirkstoff %1").arg(i), QStringLiteral("Mittel-%1").arg(i),
                        QStringLiteral("5 mg"), QString()});
    for (int i = 0; i < 30; ++i) {
        VorhandeneZeile z;
        z.einnahme = QString::number(i + 1);
        z.sorte = i + 1;
        z.dosen = {1, 0, i % 3 ? (i % 2 ? 0.5 : 0) : 2, 0};
        zeilen.append(z);
    }
    int geaendert = 0;
    for (auto _ : state) {
        const double t = messen(
            [&] {
                const AbgleichErgebnis a = abgleichen(plan, zeilen, katalog);
                geaendert = int(std::count_if(a.zeilen.begin(), a.zeilen.end(),
                                              [](const PlanZeile &z) { return z.art == Abgleich::geaendert; }));
            },
            false);
        eintragen(state, name, t);
    }
    hinweise[name] = std::to_string(geaendert) + " of 30 lines changed, 300 packages";
}

void bmpAnmelden(const char *name, double ziel, int schritte, void (*f)(benchmark::State &, const std::string &))
{
    bmpMessungen.push_back({name, ziel, {}});
    const std::string schluessel = std::string("bmp/") + name;
    benchmark::RegisterBenchmark(schluessel.c_str(), [schluessel, f](benchmark::State &s) { f(s, schluessel); })
        ->UseManualTime()
        ->Iterations(schritte)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
}

void bmpTabelleDrucken()
{
    std::printf("\nMedication plan (BMP), apart from the sample sizes:\n");
    std::printf("%-34s %9s %19s %4s %9s %8s %-7s %s\n", "operation", "median", "spread (IQR)", "n", "cpu", "target",
                "met", "note");
    for (const BmpMessung &m : bmpMessungen) {
        const std::string schluessel = std::string("bmp/") + m.name;
        const auto it = proben.find(schluessel);
        if (it == proben.end())
            continue;
        const Kennzahlen k = kennzahlen(it->second);
        std::printf("%-34s %9s %19s %4zu %9s %8s %-7s %s\n", m.name, ms(k.median).c_str(),
                    (ms(k.q1) + " - " + ms(k.q3)).c_str(), k.n, ms(kennzahlen(cpuProben[schluessel]).median).c_str(),
                    ms(m.ziel / 1000.0).c_str(), k.median * 1000.0 <= m.ziel ? "yes" : "MISSED",
                    hinweise[schluessel].c_str());
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--speicher") == 0)
            return speicherMessen(argc, argv, QString::fromLocal8Bit(argv[i + 1]));
    }

    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    QStringList namen;
    int runden = 5;
    bool mitServer = true;
    for (const QString &a : QCoreApplication::arguments().mid(1)) {
        if (a.startsWith(QLatin1String("--umfang=")))
            namen = a.mid(9).split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (a.startsWith(QLatin1String("--runden=")))
            runden = qMax(1, a.mid(9).toInt());
        else if (a == QLatin1String("--ohne-server"))
            mitServer = false;
        else {
            std::fprintf(stderr, "usage: kalvoria_bench [--umfang=familie,pflegedienst,gross] [--runden=N] "
                                 "[--ohne-server] [Google Benchmark flags]\n");
            return 2;
        }
    }

    arbeitsordner = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, arbeitsordner->path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, arbeitsordner->path());
    // Backups, like the settings, in the run's own folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(arbeitsordner->path() + QStringLiteral("/daten")));
    Seams::uhr = [] { return QDateTime(heute, QTime(10, 30)); };
    int meldungen = 0;
    Seams::meldung = [&meldungen](const QString &t) {
        ++meldungen;
        std::fprintf(stderr, "message: %s\n", qPrintable(t));
    };
    Seams::frage = [](const QString &) { return false; };
    faenger = new UrlFaenger;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), faenger, "oeffnen");
    QDesktopServices::setUrlHandler(QString(), faenger, "oeffnen");

    // Samples per round: fewer where one sample takes long.
    const std::map<QString, std::pair<int, int>> schritte = {{QStringLiteral("familie"), {40, 8}},
                                                             {QStringLiteral("pflegedienst"), {20, 4}},
                                                             {QStringLiteral("gross"), {10, 3}}};
    for (const Beispielumfang &u : beispielumfaenge()) {
        if (!namen.isEmpty() && !namen.contains(u.name))
            continue;
        Groesse g;
        g.umfang = u;
        g.original = arbeitsordner->path() + QLatin1Char('/') + u.name + QStringLiteral(".db");
        g.programm = arbeitsordner->path() + QLatin1Char('/') + u.name + QStringLiteral("-programm.db");
        g.boden = arbeitsordner->path() + QLatin1Char('/') + u.name + QStringLiteral("-boden.db");
        g.runden = runden;
        g.schritte = schritte.at(u.name).first;
        g.startSchritte = schritte.at(u.name).second;
        std::fprintf(stderr, "writing the sample database %s\n", qPrintable(u.name));
        const Beispielergebnis e = beispieldatenSchreiben(g.original, u, saat, heute);
        if (!e.ok)
            qFatal("%s", qPrintable(e.fehler));
        {
            Boden b(g.original.toStdString());
            b.oeffnen();
            b.ausfuehren("CREATE INDEX einnahme_pat_id ON einnahme (pat_id)");
            b.ausfuehren("CREATE INDEX termine_pata_id ON termine (pata_id)");
            b.ausfuehren("CREATE INDEX sorte_medizin_id ON sorte (medizin_id)");
            b.ausfuehren("CREATE INDEX termine_hausarzt ON termine (arzt, arzt_date, pata_id)");
            b.schliessen();
        }
        dateiKopieren(g.original, g.programm);
        dateiKopieren(g.original, g.boden);
        groessen.push_back(g);
    }
    serverVorbereiten(mitServer);
    if (!ohneServer.empty())
        std::fprintf(stderr, "no PostgreSQL column: %s\n", ohneServer.c_str());

    // Each size's operations on the server right after those on its file.
    std::vector<const Groesse *> folge;
    for (const Groesse &g : groessen) {
        folge.push_back(&g);
        for (const Groesse &s : servergroessen) {
            if (ohneServer.empty() && s.umfang.name == g.umfang.name)
                folge.push_back(&s);
        }
    }
    for (const Groesse *gp : folge) {
        const Groesse &g = *gp;
        anmelden(g, opStart, g.startSchritte, startProgramm, startBoden);
        if (g.aufServer())
            anmelden(g, opVerbinden, g.schritte, verbindenProgramm, nullptr);
        anmelden(g, opWaehlen, g.schritte, patientWaehlenProgramm, patientWaehlenBoden);
        anmelden(g, opZuordnen, g.schritte, zuordnenProgramm, zuordnenBoden);
        anmelden(g, opLoeschen, g.schritte, loeschenProgramm, loeschenBoden);
        anmelden(g, opVerschieben, g.schritte, verschiebenProgramm, verschiebenBoden);
        anmelden(g, opBuchen, g.schritte, buchenProgramm, buchenBoden);
        anmelden(g, opSuchen, g.schritte, suchenProgramm, suchenBoden);
        anmelden(
            g, opPdfPlan, g.schritte, [](benchmark::State &s, const Groesse &gr) { pdfProgramm(s, gr, opPdfPlan); },
            nullptr);
        anmelden(
            g, opPdfListe, g.schritte, [](benchmark::State &s, const Groesse &gr) { pdfProgramm(s, gr, opPdfListe); },
            nullptr);
        anmelden(g, opBedarf, g.schritte, bedarfProgramm, nullptr);
        anmelden(g, opBedarfNeu, g.schritte, bedarfNeuProgramm, bedarfBoden);
        anmelden(g, opPdfAnforderung, g.startSchritte, pdfAnforderungProgramm, nullptr);
        anmelden(g, opAenderung, g.schritte * 2, verlaufProgramm, nullptr);
        // Copies of a file: nothing of the kind on a server.
        if (g.aufServer())
            continue;
        anmelden(
            g, opTaeglich, g.startSchritte,
            [](benchmark::State &s, const Groesse &gr) { sicherungProgramm(s, gr, opTaeglich); }, nullptr);
        anmelden(
            g, opVorRiskantem, g.startSchritte,
            [](benchmark::State &s, const Groesse &gr) { sicherungProgramm(s, gr, opVorRiskantem); }, nullptr);
    }

    bmpAnmelden("PDF of 15 lines", 150, 10, [](benchmark::State &st, const std::string &n) { bmpPdf(st, 15, n); });
    bmpAnmelden("PDF of 45 lines", 150, 10, [](benchmark::State &st, const std::string &n) { bmpPdf(st, 45, n); });
    bmpAnmelden("decode 300-dpi A4 scan", 500, 5, bmpLesen300);
    bmpAnmelden("reconcile 30 lines with 30", 20, 40, bmpAbgleich30);

    std::fprintf(stderr, "running (load average %s)\n", last().c_str());
    Fortschritt fortschritt;
    benchmark::RunSpecifiedBenchmarks(&fortschritt);
    fensterSchliessen();
    serverAufraeumen();

    std::vector<std::pair<long, long>> speicher;
    const bool mitGross = std::any_of(groessen.begin(), groessen.end(),
                                      [](const Groesse &g) { return g.umfang.name == QLatin1String("gross"); });
    if (mitGross) {
        std::fprintf(stderr, "measuring peak memory\n");
        speicher.emplace_back(-1, speicherIn(QStringLiteral("leer")));
        for (std::size_t i = 0; i < groessen.size(); ++i)
            speicher.emplace_back(static_cast<long>(i), speicherIn(groessen[i].original));
    }

    tabelleDrucken(speicher);
    servertabelleDrucken();
    bmpTabelleDrucken();
    if (meldungen > 0)
        std::printf("\nThe program showed %d messages during the run (see above): figures may be off.\n", meldungen);

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QString());
    delete faenger;
    Seams::zuruecksetzen();
    benchmark::Shutdown();
    return 0;
}

#include "kalvoria_bench.moc"
