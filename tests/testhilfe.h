// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"

#include <QDateTime>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVector>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <memory>
#include <type_traits>

class QAbstractButton;
class QDialog;
class QTableWidget;

// Whether the tests run on a server database instead of files
// (KALVORIA_TESTDATENBANK=server, under pg_virtualenv): every path a test
// names for a database then stands for a database of its own on the
// server, created when first used and dropped when the test ends.
bool aufServer();
// The server database that stands for the path.
QString serverDatenbank(const QString &pfad);

// Skips a case about files themselves (their bytes, locks, copies, names)
// when the tests run on the server.
#define NUR_DATEI(warum)                                                                                               \
    do {                                                                                                               \
        if (aufServer())                                                                                               \
            QSKIP("Only for files: " warum);                                                                           \
    } while (false)

// One test's world: its own settings folder, database file, clock and
// answers to the program's messages, questions and file dialogs.
class Umgebung
{
public:
    Umgebung();
    ~Umgebung();

    QString basis() const { return tmp.path(); }
    QString einstellungsOrdner() const { return tmp.path() + QStringLiteral("/Kalvoria"); }
    QString standardDatei() const { return einstellungsOrdner() + QStringLiteral("/medidat.db"); }
    QString konfiguration() const { return einstellungsOrdner() + QStringLiteral("/config.ini"); }
    // The home folder is one of the test's own, with its documents folder.
    QString heim() const { return tmp.path() + QStringLiteral("/heim"); }
    QString dokumente() const;
    // Where the program keeps its backups unless told otherwise: in the
    // test's own data location.
    QString sicherungsOrdner() const;
    // The backups' file names there, oldest first.
    QStringList sicherungen() const;

    // Writes config.ini naming the given file as the one last used (on the
    // server: the database that stands for it).
    void letzteDateiSetzen(const QString &pfad);
    // The file config.ini names as the one last used.
    QString letzteDatei() const;
    // Creates a database file with this program's five tables.
    void datenbankAnlegen(const QString &pfad);

    // Starts the program as the entry point does and shows its window; the
    // check it runs after the start (and the daily copy) has ended.
    std::unique_ptr<MainWindow> starten();

    QDateTime zeit;                                        // what the program's clock says
    QStringList meldungen;                                 // every message the program showed
    QStringList fragen;                                    // every question the program asked
    QList<bool> antworten;                                 // answers, in order; "Nein" when none is left
    QStringList dateiAntworten;                            // answers to file dialogs, in order; "" cancels
    QList<bool> dateiSpeichern;                            // whether each file dialog was one to save
    QStringList dateiTitel;                                // titles of the file dialogs shown
    QStringList dateiVorschlaege;                          // the path each file dialog was opened with
    QStringList ordnerAntworten;                           // answers to folder dialogs, in order; "" cancels
    static constexpr const char *benutzer = "pflegekraft"; // the computer's user name

private:
    QTemporaryDir tmp;
    QByteArray altesHeim;
    QByteArray alteKonfiguration;
    QByteArray alteDaten;
    QByteArray alterBenutzer;
};

// Access to a database file through a second, named connection; a failing
// statement fails the test. On the server, CREATE TABLE takes the server's
// types as the program's own tables do, and the keys count on after rows
// written with keys of their own.
namespace Datei {
void ausfuehren(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QVariant wert(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QList<QVariantList> zeilen(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QStringList tabellen(const QString &pfad);
// On the server: tells the window's seat that another one wrote the
// database, as the program's seats do, and waits until the window has
// read it anew. On a file nothing: the window looks for itself.
void mitteilen(MainWindow *w, const QString &pfad);
// The bytes of a file; none when there is none.
QByteArray inhalt(const QString &pfad);
// Makes the history table refuse every new row, as a full disk would.
void verlaufVoll(const QString &pfad);
} // namespace Datei

// Runs a program (pdftotext, pdftoppm ...) and returns what it printed; a
// program that fails fails the test.
QString ausfuehren(const QString &programm, const QStringList &argumente);

// Fails the current test without ending it, for helpers that cannot return
// from the test function: its next check then fails or it runs to its end.
void fehlschlag(const QString &was);

// The member widget with this object name. When it is absent the test fails
// and goes on with a blank stand-in, so that it cannot crash the others.
template <typename T>
T *teil(QWidget *fenster, const QString &name)
{
    if (T *w = fenster->findChild<T *>(name))
        return w;
    fehlschlag(QStringLiteral("no widget ") + name);
    return new std::conditional_t<std::is_abstract_v<T>, QPushButton, T>(fenster);
}

// The texts of labels, line edits and date edits of w (or another property), in the order named.
QStringList texte(QWidget *w, const QStringList &namen, const char *eigenschaft = "text");

// Brings the page that holds w to the front, as a user would before using it.
void seiteZeigen(QWidget *w);
void klicken(QAbstractButton *knopf);
// Triggers the menu entry with this object name.
void menue(QWidget *fenster, const QString &aktion);
// Clicks the cell (row, column) of a table; column must be a visible one.
void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte);
// Replaces the text of a line edit as if typed.
void tippen(QWidget *feld, const QString &text);
// The visible text of a table, row by row, for the given columns.
QStringList spalte(QTableWidget *tabelle, int spalte);

// The rows of a data-driven test: one column "fall" holding each case, a
// struct (declared with Q_DECLARE_METATYPE) whose first member names the row.
template <typename Fall>
void faelle(std::initializer_list<Fall> liste)
{
    QTest::addColumn<Fall>("fall");
    for (const Fall &f : liste)
        QTest::newRow(f.name) << f;
}

// The parts of a text written with "|" between them; none for "".
inline QStringList teile(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('|'));
}

// n times the same text, as a column of equal cells.
inline QStringList lauter(int n, const QString &text = QString())
{
    return QVector<QString>(n, text).toList();
}

// Runs ausloesen, and handler on the modal window it opens while that waits
// in exec(), as a user would answer it; the window is closed afterwards if the
// handler left it open, so that a failed check cannot leave the test waiting.
// warteMs: how long the window may take after ausloesen returned (a shortcut
// clicks its button a moment later). False when no window opened.
bool imFenster(const std::function<void()> &ausloesen, const std::function<void(QDialog *)> &handler = {},
               int warteMs = 0);
