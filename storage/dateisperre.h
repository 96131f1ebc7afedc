// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Tells windows apart that have the same database file open. SQLite cannot:
// a window holds none of its locks between its operations. So each window
// holds a shared lock on a small hidden file beside the database for as
// long as it uses it; one that wants the file to itself (to replace it)
// asks for the exclusive lock, which the system refuses while another
// window, of this program or on another computer sharing the folder, holds
// its shared one. Where the system has no such locks, every window counts
// as alone.
class Dateisperre
{
public:
    explicit Dateisperre(const QString &datenbank);
    ~Dateisperre();
    Dateisperre(const Dateisperre &) = delete;
    Dateisperre &operator=(const Dateisperre &) = delete;

    const QString &datenbank() const { return datei; }
    // The lock file's path.
    QString sperrDatei() const;

    // Takes the file for this window alone: false while another holds it.
    bool alleinNehmen();
    // Shares the file again after alleinNehmen.
    void teilen();

private:
    void nehmen();

    QString datei;
    int fd = -1;
};
