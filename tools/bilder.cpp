// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the program for the help document and the README.
//
// Fills a window from a sample database made here (a few patients with
// their medications, stocks and appointments), shows each page and window
// as a carer would see it and saves it as PNG. Runs headless:
//     kalvoria_bilder [--familie NAME] <output folder>
// --familie takes that font family instead of the program's own, to see
// what a desktop without Liberation Sans shows (e.g. "DejaVu Sans").
// The clock is fixed, so the pictures change only when the program does.
#include "app/mainwindow.h"
#include "app/sprache.h"
#include "app/seams.h"
#include "sicherung/sicherung.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QDir>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <functional>

namespace {

const QDate heute(2026, 3, 2);
QString zielOrdner;
int fehler = 0;

void warnen(const QString &text)
{
    std::fprintf(stderr, "kalvoria_bilder: %s\n", qPrintable(text));
}

QString tag(int abstand)
{
    return heute.addDays(abstand).toString(QStringLiteral("yyyy-MM-dd"));
}

bool beispielDatenSchreiben(const QString &pfad)
{
    const QString name = QStringLiteral("beispiel");
    bool gut = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        if (!db.open())
            return false;
        QSqlQuery q(db);
        auto sql = [&](const QString &text, const QVariantList &werte = {}) {
            q.prepare(text);
            for (int i = 0; i < werte.size(); ++i)
                q.bindValue(i, werte.at(i));
            if (!q.exec()) {
                warnen(text + QStringLiteral(": ") + q.lastError().text());
                gut = false;
            }
        };
        db.transaction();

        // Medications and their packages: name, trade name, dose of one unit, units per package.
        const struct {
            const char *medizin, *handelsname, *dosis;
            double packung;
        } sorten[] = {
            {"Metformin", "Metformin AL 500 mg Filmtabletten", "500 mg", 180},
            {"Metformin", "Metformin Lich 850 mg", "850 mg", 120},
            {"Ramipril", "Ramipril-ratiopharm 5 mg Tabletten", "5 mg", 100},
            {"Simvastatin", "Simvastatin Heumann 20 mg", "20 mg", 100},
            {"Levothyroxin", "L-Thyroxin Henning 75", "75 \u00B5g", 100},
            {"Torasemid", "Torasemid AL 10 mg", "10 mg", 50},
            {"Acetylsalicyls\u00E4ure", "ASS 100 HEXAL protect", "100 mg", 100},
            {"Metoprolol", "Metoprololsuccinat 47,5 mg retard", "47,5 mg", 100},
            {"Pantoprazol", "Pantoprazol TAD 20 mg", "20 mg", 56},
            {"Colecalciferol", "Vigantolvit 1000 I.E.", "1000 I.E.", 100},
            {"Pen-Nadeln", "BD Micro-Fine Ultra 4 mm", "1 St\u00FCck", 100},
        };
        QStringList medikamente;
        for (const auto &s : sorten) {
            const QString medizin = QString::fromUtf8(s.medizin);
            if (!medikamente.contains(medizin)) {
                medikamente << medizin;
                sql(QStringLiteral("INSERT INTO medikament (medizin) VALUES (?)"), {medizin});
            }
            sql(QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (?, ?, ?, ?)"),
                {medikamente.indexOf(medizin) + 1, QString::fromUtf8(s.handelsname), QString::fromUtf8(s.dosis),
                 s.packung});
        }

        sql(QStringLiteral(
            "INSERT INTO patient (firstname, lastname, birth, plz, ort, strasse, nr) VALUES "
            "('Hildegard', 'Brandt', '14.05.1936', '28195', 'Bremen', 'Am Wall', '140'),"
            "('Erwin', 'Kowalski', '03.11.1941', '44135', 'Dortmund', 'Hansastra\u00DFe', '7'),"
            "('Marianne', 'Lehmann', '22.07.1938', '01067', 'Dresden', 'Schlo\u00DFstra\u00DFe', '3'),"
            "('Friedrich', 'Wagner', '09.01.1945', '80331', 'M\u00FCnchen', 'Sendlinger Stra\u00DFe', '21')"));

        // Intake lines: patient, package, day of the count, stock then, doses, aid.
        struct Zeile {
            int patient, sorte, abstand;
            double stand, morgen, mittag, abend, nacht;
            bool hilfe;
        };
        const QList<Zeile> zeilen = {
            {1, 1, -29, 180, 1, 0, 1, 0, false}, // lasts more than 60 days
            {1, 3, -14, 40, 1, 0, 0, 0, false},  // under four weeks: yellow
            {1, 4, -10, 30, 0, 0, 1, 0, false},  // ends before the family doctor: red
            {1, 5, -56, 100, 1, 0, 0, 0, false},  {1, 8, -28, 50, 0.5, 0, 0.5, 0, false},
            {1, 6, -51, 20, 0.5, 0, 0, 0, false},                                     // used up
            {1, 7, -3, 95, 1, 0, 0, 0, false},    {1, 11, -20, 60, 0, 0, 0, 0, true}, // an aid without daily use
            {2, 2, -12, 120, 1, 0, 1, 0, false},  {2, 3, -40, 100, 1, 0, 0, 0, false},
            {2, 9, -5, 56, 1, 0, 0, 0, false},    {3, 5, -30, 100, 1, 0, 0, 0, false},
            {3, 10, -60, 100, 0, 0, 1, 0, false}, {3, 7, -75, 100, 1, 0, 0, 0, false},
            {4, 4, -8, 100, 0, 0, 1, 0, false},   {4, 6, -2, 50, 1, 0, 0, 0, false},
        };
        QMap<int, int> ordnung;
        for (const Zeile &z : zeilen) {
            sql(QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, hilfe, "
                               "ordnung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {z.patient, z.sorte, tag(z.abstand), z.stand, z.morgen, z.mittag, z.abend, z.nacht, z.hilfe ? 1 : 0,
                 ++ordnung[z.patient]});
        }

        sql(QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES "
                           "(1, 'Hausarzt', ?), (1, 'Dr. Albers (Kardiologie)', ?), (1, 'Hausarzt', ?),"
                           "(2, 'Hausarzt', ?), (3, 'Dr. Yilmaz (Augenarzt)', ?), (4, 'Hausarzt', ?)"),
            {tag(-42), tag(10), tag(28), tag(21), tag(35), tag(7)});
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return gut;
}

void speichern(QWidget *w, const QString &datei)
{
    QApplication::processEvents();
    const QString pfad = QDir(zielOrdner).absoluteFilePath(datei);
    if (!w->grab().save(pfad, "PNG")) {
        warnen(QStringLiteral("cannot write ") + pfad);
        ++fehler;
        return;
    }
    std::printf("%s\n", qPrintable(pfad));
}

template <typename T>
T *teil(QWidget *fenster, const char *name)
{
    T *w = fenster->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        warnen(QStringLiteral("no widget ") + QString::fromLatin1(name));
    return w;
}

void seiteZeigen(MainWindow &fenster, const char *seite)
{
    auto *tabs = teil<QTabWidget>(&fenster, "hauptTabs");
    if (QWidget *w = teil<QWidget>(&fenster, seite); tabs && w)
        tabs->setCurrentWidget(w);
    QApplication::processEvents();
}

// Clicks a cell as the user does, so that the program's own click handler runs.
void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte)
{
    if (!tabelle || zeile >= tabelle->rowCount())
        return;
    tabelle->scrollTo(tabelle->model()->index(zeile, spalte));
    const QPoint punkt = tabelle->visualRect(tabelle->model()->index(zeile, spalte)).center();
    const QPoint global = tabelle->viewport()->mapToGlobal(punkt);
    QMouseEvent druck(QEvent::MouseButtonPress, punkt, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tabelle->viewport(), &druck);
    QMouseEvent los(QEvent::MouseButtonRelease, punkt, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tabelle->viewport(), &los);
    QApplication::processEvents();
}

// Runs oeffnen and lets handler fill in and confirm the modal window it
// shows; a window left open is closed. wozu names the window in the warning
// when none opened.
void fensterBedienen(const std::function<void()> &oeffnen, const std::function<void(QDialog *)> &handler,
                     const QString &wozu = QStringLiteral("to fill in"))
{
    bool bedient = false;
    QTimer wache;
    wache.setInterval(20);
    QObject::connect(&wache, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        wache.stop();
        handler(d);
        bedient = true;
        if (d->isVisible())
            d->reject();
    });
    wache.start();
    oeffnen();
    wache.stop();
    if (!bedient)
        warnen(QStringLiteral("no window ") + wozu);
}

// Runs oeffnen, saves the modal window it shows and closes that window
// without confirming it.
void fensterAufnehmen(const QString &datei, const std::function<void()> &oeffnen)
{
    fensterBedienen(
        oeffnen, [&](QDialog *d) { speichern(d, datei); }, QStringLiteral("for ") + datei);
}

void drueckenIn(QDialog *d, const QString &text)
{
    for (QPushButton *k : d->findChildren<QPushButton *>()) {
        if (k->text().remove(QLatin1Char('&')) == text) {
            k->click();
            return;
        }
    }
    warnen(QStringLiteral("no button ") + text);
}

void feldSetzen(QDialog *d, const char *name, const QString &text)
{
    if (auto *feld = teil<QLineEdit>(d, name))
        feld->setText(text);
}

void menueAufnehmen(MainWindow &fenster, const char *name, const QString &datei)
{
    auto *menue = teil<QMenu>(&fenster, name);
    if (!menue)
        return;
    menue->popup(fenster.mapToGlobal(QPoint(20, 20)));
    QApplication::processEvents();
    speichern(menue, datei);
    menue->hide();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Named as the program names itself, so that its folders read the same.
    QCoreApplication::setOrganizationName(QStringLiteral("TIRVAkesh"));
    QCoreApplication::setApplicationName(QStringLiteral("Kalvoria"));
    QTranslator qtDeutsch;
    deutscheOberflaeche(qtDeutsch);

    QStringList argumente = QApplication::arguments().mid(1);
    if (argumente.size() == 3 && argumente.first() == QLatin1String("--familie")) {
        schriftFamilien = QStringList{argumente.at(1)};
        argumente = argumente.mid(2);
    }
    if (argumente.size() != 1) {
        warnen(QStringLiteral("usage: kalvoria_bilder [--familie NAME] <output folder>"));
        return 2;
    }
    // The program's own font set-up, so the pictures show what users get.
    schriftEinrichten();
    zielOrdner = argumente.first();
    if (!QDir().mkpath(zielOrdner)) {
        warnen(QStringLiteral("cannot create ") + zielOrdner);
        return 1;
    }

    // A settings folder of its own, so the user's data are never touched;
    // the backups too go to a data folder of its own.
    QTemporaryDir tmp;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.path() + QStringLiteral("/daten")));
    qputenv("USER", "pflege");
    QDateTime uhr(heute, QTime(9, 15));
    Seams::uhr = [&uhr] { return uhr; };
    Seams::meldung = [](const QString &text) { warnen(QStringLiteral("message: ") + text); };
    Seams::frage = [](const QString &) { return false; };
    Seams::datei = [](const QString &, const QString &, const QString &, bool) { return QString(); };

    // The first start makes the settings file and the empty database.
    {
        MainWindow erststart;
    }
    const QString datei = tmp.path() + QStringLiteral("/Kalvoria/medidat.db");
    if (!beispielDatenSchreiben(datei))
        return 1;
    // Copies of the days before, as the program would have taken them.
    const QString sicherungen = standardSicherungsordner();
    QDir().mkpath(sicherungen);
    for (const auto &[tage, zeit, anlass] : {std::tuple{-1, QTime(8, 52), "taeglich"},
                                             {-2, QTime(16, 20), "patient-loeschen"},
                                             {-2, QTime(8, 47), "taeglich"},
                                             {-3, QTime(9, 3), "taeglich"}})
        QFile::copy(datei, QDir(sicherungen)
                               .filePath(sicherungsName(QStringLiteral("medidat"), QDateTime(heute.addDays(tage), zeit),
                                                        QString::fromLatin1(anlass))));

    MainWindow fenster;
    fenster.show();
    QApplication::processEvents();
    while (fenster.sicherungLaeuft())
        QApplication::processEvents(QEventLoop::AllEvents, 20);

    auto *patientenwahl = teil<QTableWidget>(&fenster, "tabellePatientenwahl");
    auto *zuordnung = teil<QTableWidget>(&fenster, "tabelleZuordnung");
    seiteZeigen(fenster, "seiteEinstellungen");
    zelleKlicken(patientenwahl, 0, 1);

    seiteZeigen(fenster, "seiteUebersicht");
    speichern(&fenster, QStringLiteral("uebersicht.png"));
    seiteZeigen(fenster, "seiteVerordnungsplan");
    speichern(&fenster, QStringLiteral("verordnungsplan.png"));

    // What all four patients must order; two of their lines requested.
    seiteZeigen(fenster, "seiteRezeptbedarf");
    if (auto *bedarf = teil<QTableWidget>(&fenster, "tabelleRezeptbedarf")) {
        zelleKlicken(bedarf, 2, 1);
        if (auto *k = teil<QPushButton>(&fenster, "knopfAngefordert"))
            k->click();
        zelleKlicken(bedarf, 4, 1);
        QApplication::processEvents();
    }
    speichern(&fenster, QStringLiteral("rezeptbedarf.png"));

    seiteZeigen(fenster, "seiteEinstellungen");
    zelleKlicken(patientenwahl, 0, 1);
    zelleKlicken(zuordnung, 2, 1);
    zelleKlicken(teil<QTableWidget>(&fenster, "tabelleSortenwahl"), 1, 2);
    speichern(&fenster, QStringLiteral("einstellungen.png"));

    // The small windows, opened by their button or menu entry as a click would.
    auto knopfFenster = [&fenster](const QString &datei, const char *knopf) {
        fensterAufnehmen(datei, [&] {
            if (auto *k = teil<QPushButton>(&fenster, knopf))
                k->click();
        });
    };
    auto aktionFenster = [&fenster](const QString &datei, const char *aktion) {
        fensterAufnehmen(datei, [&] {
            if (auto *a = teil<QAction>(&fenster, aktion))
                a->trigger();
        });
    };
    knopfFenster(QStringLiteral("apotheke.png"), "knopfApotheke");
    knopfFenster(QStringLiteral("zuordnung.png"), "knopfZuordnungBearbeiten");
    knopfFenster(QStringLiteral("termin.png"), "knopfTerminEintragen");

    // A few changes on earlier days, for the history: a dose, a count, a purchase.
    auto knopfKlicken = [&fenster](const char *knopf) {
        return [&fenster, knopf] {
            if (auto *k = teil<QPushButton>(&fenster, knopf))
                k->click();
        };
    };
    uhr = QDateTime(heute.addDays(-12), QTime(8, 40));
    fensterBedienen(knopfKlicken("knopfZuordnungBearbeiten"), [](QDialog *d) {
        feldSetzen(d, "fensterMorgen", QStringLiteral("1"));
        drueckenIn(d, QStringLiteral("\u00C4ndern"));
    });
    uhr = QDateTime(heute.addDays(-5), QTime(17, 5));
    fensterBedienen(knopfKlicken("knopfApotheke"), [](QDialog *d) {
        feldSetzen(d, "fensterPackungen", QStringLiteral("2"));
        drueckenIn(d, QStringLiteral("Eintragen"));
    });
    uhr = QDateTime(heute.addDays(-1), QTime(11, 30));
    fensterBedienen(knopfKlicken("knopfZuordnungBearbeiten"), [](QDialog *d) {
        feldSetzen(d, "fensterStand", QStringLiteral("210"));
        if (auto *hilfe = teil<QCheckBox>(d, "fensterHilfe"))
            hilfe->setChecked(false);
        drueckenIn(d, QStringLiteral("\u00C4ndern"));
    });
    uhr = QDateTime(heute, QTime(9, 15));
    fensterBedienen(knopfKlicken("knopfTerminEintragen"),
                    [](QDialog *d) { drueckenIn(d, QStringLiteral("Termin eintragen")); });
    aktionFenster(QStringLiteral("verlauf.png"), "aktionVerlauf");
    aktionFenster(QStringLiteral("wiederherstellen.png"), "aktionSicherungWiederherstellen");
    aktionFenster(QStringLiteral("sicherungen.png"), "aktionSicherungEinstellen");
    aktionFenster(QStringLiteral("server.png"), "aktionServerVerbinden");
    // Reading a medication plan in: the scanner's window, then the
    // reconciliation of Hildegard Brandt's plan from her family doctor.
    {
        const QString plan = QStringLiteral(
            "<MP v=\"027\" U=\"B70E5D2C9A4F41C3881D6E0F52A9C3B4\" l=\"de-DE\"><P g=\"Hildegard\" f=\"Brandt\" "
            "b=\"19360514\"/><A n=\"Hausarztpraxis Dr. Lindner\" t=\"2026-02-27T10:30:00\"/><S><M a=\"Metformin AL "
            "500 mg Filmtabletten\" m=\"1\" v=\"1\" du=\"1\" r=\"Diabetes\"><W w=\"Metformin\" s=\"500 mg\"/></M><M "
            "a=\"Ramipril-ratiopharm 5 mg Tabletten\" m=\"1\" v=\"1\" du=\"1\" r=\"Blutdruck\"><W w=\"Ramipril\" "
            "s=\"5 mg\"/></M><M p=\"1234562\" h=\"1\" du=\"1\"/></S><S c=\"411\"><M a=\"Gerinnex 3 mg\" "
            "t=\"laut INR-Ausweis\" du=\"1\" r=\"Blutverd\u00FCnnung\"><W w=\"Phenprocoumon\" s=\"3 mg\"/></M><X "
            "t=\"Bei Fieber \u00FCber 39 \u00B0C die Praxis anrufen\"/></S></MP>");
        QDialog *einlesen = nullptr;
        bool aufgenommen = false;
        QTimer wache;
        wache.setInterval(20);
        QObject::connect(&wache, &QTimer::timeout, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible() || d == einlesen)
                return;
            if (!einlesen) {
                einlesen = d;
                if (auto *text = teil<QPlainTextEdit>(d, "bmpScannerText"))
                    text->setPlainText(plan);
                speichern(d, QStringLiteral("einlesen.png"));
                for (QPushButton *k : d->findChildren<QPushButton *>())
                    if (k->text() == QLatin1String("&Weiter"))
                        k->click();
                return;
            }
            wache.stop();
            speichern(d, QStringLiteral("abgleich.png"));
            aufgenommen = true;
            d->reject();
        });
        wache.start();
        if (auto *a = teil<QAction>(&fenster, "aktionBmpEinlesen"))
            a->trigger();
        wache.stop();
        if (!aufgenommen)
            warnen(QStringLiteral("no window for abgleich.png"));
    }

    menueAufnehmen(fenster, "menuDatei", QStringLiteral("menue_datei.png"));
    menueAufnehmen(fenster, "menuHilfe", QStringLiteral("menue_hilfe.png"));
    aktionFenster(QStringLiteral("reparieren.png"), "aktionReparieren");
    aktionFenster(QStringLiteral("ueber.png"), "aktionUeber");

    if (auto *listen = teil<QAction>(&fenster, "aktionListen"))
        listen->trigger();
    seiteZeigen(fenster, "seitePatienten");
    zelleKlicken(teil<QTableWidget>(&fenster, "tabellePatienten"), 2, 1);
    speichern(&fenster, QStringLiteral("patientenliste.png"));
    seiteZeigen(fenster, "seiteMedikamente");
    zelleKlicken(teil<QTableWidget>(&fenster, "tabelleMedikamente"), 0, 1);
    zelleKlicken(teil<QTableWidget>(&fenster, "tabelleSorten"), 0, 2);
    speichern(&fenster, QStringLiteral("medikamentenliste.png"));

    Seams::zuruecksetzen();
    return fehler == 0 ? 0 : 1;
}
