// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Backups of the database file: consistent copies written by SQLite itself
// into the folder "Sicherungen", named with the file's name, date, time and
// why they were taken; which of them to keep; the settings in config.ini.

#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class QSqlDatabase;
struct Serverzugang;

// Why a copy was taken; its identifier is part of the copy's name.
enum class Sicherungsanlass {
    taeglich,
    patientLoeschen,
    medikamentLoeschen,
    verschieben,
    verbinden,
    wiederherstellen,
    medikationsplan,
    reparieren,
    beschaedigt, // a damaged file kept aside before a good copy replaced it
};

QString anlassKennung(Sicherungsanlass anlass);
// "täglich", "vor dem Löschen eines Patienten", ... for an identifier read from a name.
QString anlassText(const QString &kennung);

struct Sicherungskopie {
    QString datei;  // full path
    QString stamm;  // the database file's name without ending
    QDateTime zeit; // when it was taken
    QString anlass; // identifier, see anlassKennung
    // The absolute path of the file it was taken from, as the copy records
    // it; empty where the copy does not say (a damaged file kept aside).
    // Filled by sicherungenLesen.
    QString herkunft;
};

// What the copies of a server database are named after and record as
// their origin, where a file's copies have the file's path:
// "postgresql://host:port/datenbank".
QString serverQuelle(const Serverzugang &zugang);

// The absolute path a copy records of the file it was taken from; empty when it records none.
QString sicherungHerkunft(const QString &kopie);
// Whether copy k was taken from the database file datei: same name, and
// the same place where the copy records one. Files of the same name in
// other folders have copies of their own.
bool sicherungVon(const Sicherungskopie &k, const QString &datei);

// "medidat_2026-12-06_10-30-00_taeglich.db".
QString sicherungsName(const QString &stamm, const QDateTime &zeit, const QString &anlass);
// The copy a file name describes; none for anything else (a copy being
// written, a file of the user's).
std::optional<Sicherungskopie> sicherungErkennen(const QString &pfad);
// The copies in the folder, newest first.
QVector<Sicherungskopie> sicherungenLesen(const QString &ordner);

// Of the copies, those the keep rules let go at jetzt, for each database
// file on its own: the newest `taeglich` daily copies stay, and the newest
// daily copy of each of the last 8 weeks and of the last 12 months; a copy
// taken for another reason stays 30 days. Copies from the future (a clock
// set back) stay.
QVector<Sicherungskopie> ueberzaehligeSicherungen(const QVector<Sicherungskopie> &kopien, const QDateTime &jetzt,
                                                  int taeglich);
constexpr int sicherungWochen = 8;
constexpr int sicherungMonate = 12;
constexpr int sicherungTageVorRiskantem = 30;

// Removes the copies of the file datei the keep rules let go (those of a
// file of the same name elsewhere by their own rules), and copies that were
// abandoned half written long ago.
void sicherungenAufraeumen(const QString &ordner, const QString &datei, const QDateTime &jetzt, int taeglich);

// The settings of the group "sicherung" in config.ini.
struct Sicherungseinstellungen {
    bool aktiv = true;
    QString ordner; // empty: standardSicherungsordner()
    int taeglich = 14;
};
Sicherungseinstellungen sicherungseinstellungenLesen(const QString &konfiguration);
// False when config.ini could not be written.
bool sicherungseinstellungenSchreiben(const QString &konfiguration, const Sicherungseinstellungen &e);
// "Sicherungen" in the user's data location, apart from the settings
// folder, which the repair window deletes.
QString standardSicherungsordner();
QString sicherungsOrdner(const Sicherungseinstellungen &e);

// Writes a copy of the database file datei, open on db, into ordner with SQLite's own
// VACUUM INTO (never a file copy of an open database): under a temporary
// name, checked with integrity_check, flushed, then renamed, so that a copy
// cut short never looks complete. The copy records datei's place (see
// sicherungHerkunft). The copy's path, or "" with the reason in
// fehler. With db on a server (datei then its serverQuelle) the copy is a
// file as the program makes one, written from one snapshot of the server.
QString sicherungSchreiben(QSqlDatabase &db, const QString &ordner, const QString &datei, const QDateTime &zeit,
                           Sicherungsanlass anlass, QString *fehler);

// What SQLite's integrity_check (gruendlich) or quick_check finds wrong in
// the file, a few lines; "" when it is sound.
QString dateiPruefen(const QString &pfad, bool gruendlich);

// Patients and intake lines in a copy; none when it cannot be read.
std::optional<QPair<int, int>> sicherungZaehlen(const QString &pfad);

// The newest copy of the file datei in ordner that is sound and a database of this program.
std::optional<Sicherungskopie> neuesteGuteSicherung(const QString &ordner, const QString &datei);

// What the check after the start found: the file's damage and the copy to
// offer instead, or why the daily copy could not be written.
struct Startbefund {
    QString datei;       // the file checked
    QString beschaedigt; // quick_check's findings; "" for a sound file
    std::optional<Sicherungskopie> angebot;
    QString fehler; // the daily copy failed
};
// Runs on a thread of its own, with connections of its own: quick_check
// of the file, then the daily copy into ordner when none of today exists yet.
Startbefund startPruefen(const QString &datei, const QString &ordner, const Sicherungseinstellungen &einstellungen,
                         const QDateTime &jetzt);
// The same for a server database: its daily copy only, named after quelle
// (serverQuelle), through a connection of its own that the calling thread
// clones from the connection named verbindung.
Startbefund startPruefenServer(const QString &verbindung, const QString &quelle, const QString &ordner,
                               const Sicherungseinstellungen &einstellungen, const QDateTime &jetzt);

// Steps tests must be able to interrupt.
struct Sicherungspflege {
    // Runs between writing a copy and giving it its name; false stops there,
    // as if the program were killed. Without a hook: nothing.
    static std::function<bool(const QString &teil)> vorDemUmbenennen;
};
