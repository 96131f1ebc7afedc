// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// File operations of the database file commands that tests must be able to
// make fail (a root user can delete any file, so a held file cannot be staged).
struct Dateipflege {
    // Deletes the file; on failure false and the reason in fehler.
    // Without a hook: QFile::remove.
    static std::function<bool(const QString &pfad, QString *fehler)> entfernen;
};

// The chosen name with ".db" added when it has no suffix, so that the open
// dialog's filter finds the file again.
QString mitDatenbankEndung(const QString &pfad);

// True when both files exist and hold the same bytes.
bool gleicherInhalt(const QString &a, const QString &b);

// Renames von to nach, replacing nach in one step: whoever opens nach meets
// either the old file or the new one, never none.
bool ersetzendUmbenennen(const QString &von, const QString &nach);

// Writes the file's data through to the disk, so that a file that has its
// name survives a power cut as it was checked.
bool aufDiskSchreiben(const QString &pfad);
