// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The history of every change: one row per change in the table "verlauf",
// written in the transaction of the change itself, never changed afterwards.

#include "storage/datenbankzugriff.h"

#include <QDateTime>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <array>
#include <optional>

// What happened, as the history names it.
namespace Verlaufsart {
extern const QString zugeordnet;
extern const QString zuordnungGeloescht;
extern const QString dosisGeaendert;
extern const QString bestandGezaehlt;
extern const QString packungenGebucht;
extern const QString hilfsmittelGeaendert;
extern const QString verschoben;
extern const QString patientAngelegt;
extern const QString patientGeaendert;
extern const QString patientGeloescht;
extern const QString medikamentAngelegt;
extern const QString medikamentGeaendert;
extern const QString medikamentGeloescht;
extern const QString packungAngelegt;
extern const QString packungGeaendert;
extern const QString packungGeloescht;
extern const QString terminEingetragen;
extern const QString terminGeaendert;
extern const QString terminGeloescht;
extern const QString wiederhergestellt;
extern const QString rezeptAngefordert;
extern const QString anforderungZurueck;
} // namespace Verlaufsart

// One change. The keys name the rows it concerns (unset where none), the
// texts say it as the user saw it then, so that an entry stays readable when
// its rows are long gone.
struct Verlaufseintrag {
    QString art;
    QVariant patient; // key of the patient concerned
    QString patientName;
    QVariant einnahme;
    QVariant medikament;
    QVariant sorte;
    QVariant termin;
    QString betrifft; // what it concerns: a medication and package, a patient, an appointment
    QString alt;      // before; empty for something new
    QString neu;      // after; empty for something deleted
};

// Writes the entry inside the running transaction of db, creating the table
// when it is first needed. False when it could not be written: the caller
// returns false from its transaction, so that the change goes too.
bool verlaufSchreiben(DbSitzung &db, const QDateTime &zeit, const Verlaufseintrag &eintrag);

// Whether the open file holds a history at all (files of earlier versions do not).
bool verlaufVorhanden(DbSitzung &db);
// Creates the history table in the open file when it has none.
bool verlaufAnlegen(DbSitzung &db);
// The statements verlaufAnlegen runs, in the kind's form: the table and its
// indexes, and apart the triggers that keep its rows as written, which a
// copy of the table runs after its rows are in.
QStringList verlaufTabelleAnweisungen(Datenbankart art);
QStringList verlaufSchutzAnweisungen(Datenbankart art);

// The computer's user name, as the history records it.
QString benutzerName();

// --- texts of the entries, old and new ---

// "Muster, Anna"; one part alone without the comma.
QString personText(const QString &nachname, const QString &vorname);

// The four doses as the intake table shows them: "1-0-1/2-0".
QString dosenText(const std::array<double, 4> &dosen);

// A stock as the details show it, "24.5"; "unbekannt" when it cannot be known.
QString bestandVerlaufText(const std::optional<double> &bestand);

// "2 Packungen", "1 Packung", "-1 Packung".
QString packungenText(double anzahl);

// One field of a record before and after a change.
struct Feldwert {
    QString name;
    QString alt;
    QString neu;
};

// The fields that changed, "Name: Muster; Ort: Bremen" before and after;
// two empty texts when nothing changed.
QPair<QString, QString> feldAenderungen(const QVector<Feldwert> &felder);

// "Name: Muster; Vorname: Anna" of every field that is not empty, as a new
// or deleted record is described (with the new values, or the old ones).
QString felderText(const QVector<Feldwert> &felder, bool neueWerte);

// --- what an entry needs to know about the rows it concerns ---

// An intake line as the file holds it now, with the names the history gives it.
struct Einnahmestand {
    QVariant patient;
    QString patientName;
    QVariant sorte;
    QVariant medikament;
    QString betrifft; // "Ramipril – Ramilich 5 (5 mg)"
    QVariant tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung;
    QVariant packung; // units per package
};

// The line with this key; none when it is gone (ok stays true) or could not be read (ok false).
std::optional<Einnahmestand> einnahmeLesen(DbSitzung &db, const QVariant &id, bool *ok);

// The intake lines of a patient, or of the packages of a medication, as
// they are about to be deleted with it; their keys in schluessel.
QVector<QPair<QVariant, Einnahmestand>> einnahmenLesen(DbSitzung &db, const QString &wo, const Werte &werte, bool *ok);

// "Name, Vorname" of the patient with this key as the file holds it now; "" when gone.
QString patientNameLesen(DbSitzung &db, const QVariant &patient, bool *ok);

// "Ramipril – Ramilich 5 (5 mg)" of the package with this key as the file holds it now.
QString sorteBeschreibungLesen(DbSitzung &db, const QVariant &sorte, bool *ok);

// "Ramipril – Ramilich 5 (5 mg)".
QString sorteBeschreibung(const QString &medizin, const QString &handelsname, const QString &dosis);

// "Hausarzt am 20.12.2026".
QString terminText(const QString &arzt, const QVariant &datum);

// An appointment as stored, and an entry of kind art about it (keys, the
// patient's name, what it concerns).
struct Terminstand {
    QString arzt;
    QString datum; // "dd.MM.yyyy"
    Verlaufseintrag eintrag;
};
std::optional<Terminstand> terminLesen(DbSitzung &db, const QVariant &id, const QString &art, bool *ok);

// The line's stock as of heute, as the intake table shows it; none when its
// stored values cannot be used.
std::optional<double> bestandHeute(const Einnahmestand &zeile, const QDate &heute);

// An entry about the intake line id, its keys and names from the line as read.
Verlaufseintrag einnahmeEintrag(const QString &art, const QVariant &id, const Einnahmestand &zeile);

// The line's doses, morning to night.
std::array<double, 4> einnahmeDosen(const Einnahmestand &zeile);

// A line as it was assigned: "1-0-1-0, Bestand 30 am 06.12.2026", ", Hilfsmittel" for an aid.
QString einnahmeText(const Einnahmestand &zeile);

// Records the prescription request of line id marked (nachher valid; vorher
// the day it was marked before, if it was) or taken back (nachher invalid).
bool verlaufAnforderung(DbSitzung &db, const QDateTime &zeit, const QVariant &id, const QDate &vorher,
                        const QDate &nachher);

// Records packages booked into the stock of line id, the stock before and after.
bool verlaufBuchung(DbSitzung &db, const QDateTime &zeit, const QVariant &id, double vorher, double nachher,
                    double packungen, double einheiten);

// The entry that removes an intake line (alone, with its patient or with its package).
Verlaufseintrag einnahmeEntfernt(const QVariant &id, const Einnahmestand &zeile, const QDate &heute,
                                 const QString &anlass = QString());
