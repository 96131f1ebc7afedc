// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <memory>

class QAbstractButton;
class QDialog;
class QTableWidget;

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

    // Writes config.ini naming the given file as the one last used.
    void letzteDateiSetzen(const QString &pfad);
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

// Access to a database file through a second, named connection.
namespace Datei {
void ausfuehren(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QVariant wert(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QList<QVariantList> zeilen(const QString &pfad, const QString &sql, const QVariantList &werte = {});
QStringList tabellen(const QString &pfad);
} // namespace Datei

// The member widget with this object name; fails the test when absent.
template <typename T>
T *teil(QWidget *fenster, const QString &name)
{
    T *w = fenster->findChild<T *>(name);
    if (!w)
        qFatal("widget %s not found", qPrintable(name));
    return w;
}

// Brings the page that holds w to the front, as a user would before using it.
void seiteZeigen(QWidget *w);
void klicken(QAbstractButton *knopf);
// Clicks the cell (row, column) of a table; column must be a visible one.
void zelleKlicken(QTableWidget *tabelle, int zeile, int spalte);
// Replaces the text of a line edit as if typed.
void tippen(QWidget *feld, const QString &text);
// The visible text of a table, row by row, for the given columns.
QStringList spalte(QTableWidget *tabelle, int spalte);

// Runs handler on the next modal dialog that opens (while the caller's
// action is still blocked in exec()). Returns at once.
void beiDialog(std::function<void(QDialog *)> handler);
