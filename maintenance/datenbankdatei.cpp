// SPDX-License-Identifier: GPL-3.0-or-later
// Copying, moving and opening database files; the repair window.
#include "app/mainwindow.h"

#include "maintenance/dateipflege.h"
#include "sicherung/sicherung.h"
#include "storage/datenbankzugriff.h"
#include "text/textformat.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#endif
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

std::function<bool(const QString &, QString *)> Dateipflege::entfernen;

namespace {

const QString datenbankFilter = QStringLiteral("(*.db)");

QString zeigen(const QString &pfad)
{
    return QStringLiteral("\u201E") + QDir::toNativeSeparators(pfad) + QStringLiteral("\u201C");
}

// The file's name in the folder a dialog starts in.
QString imOrdner(const QString &ordner, const QString &datei)
{
    return QDir(ordner).filePath(QFileInfo(datei).fileName());
}

bool dateiEntfernen(const QString &pfad, QString *fehler)
{
    if (Dateipflege::entfernen)
        return Dateipflege::entfernen(pfad, fehler);
    QFile datei(pfad);
    if (datei.remove())
        return true;
    *fehler = datei.errorString();
    return false;
}

} // namespace

QString mitDatenbankEndung(const QString &pfad)
{
    if (pfad.isEmpty() || !QFileInfo(pfad).suffix().isEmpty())
        return pfad;
    return pfad + QStringLiteral(".db");
}

QString MainWindow::dialogOrdner() const
{
    const QFileInfo ordner(QFileInfo(datenbankDatei).absolutePath());
    const QFileInfo versteckt(einstellungsOrdner);
    // Through a link the same folder has another name.
    const bool dort = ordner.exists()
                          ? ordner.canonicalFilePath() == versteckt.canonicalFilePath()
                          : QDir::cleanPath(ordner.absoluteFilePath()) == QDir::cleanPath(versteckt.absoluteFilePath());
    if (!dort)
        return ordner.absoluteFilePath();
    const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !dokumente.isEmpty() && QFileInfo(dokumente).isDir() ? dokumente : QDir::homePath();
}

bool gleicherInhalt(const QString &a, const QString &b)
{
    QFile da(a);
    QFile db(b);
    if (!da.open(QIODevice::ReadOnly) || !db.open(QIODevice::ReadOnly) || da.size() != db.size())
        return false;
    while (!da.atEnd()) {
        if (da.read(1 << 16) != db.read(1 << 16))
            return false;
    }
    return true;
}

// Copies the file in use to ziel, which must not exist yet: an existing file
// is never overwritten and never switched to, since its old content would
// silently replace what the user is working on.
bool MainWindow::kopieAnlegen(const QString &ziel)
{
    if (QFileInfo::exists(ziel)) {
        meldungZeigen(QStringLiteral("Die Datei %1 gibt es bereits. Kalvoria \u00FCberschreibt keine vorhandene Datei: "
                                     "es wurde nichts kopiert, und Kalvoria arbeitet weiter mit %2.\n\n"
                                     "Bitte w\u00E4hlen Sie einen neuen Dateinamen.")
                          .arg(zeigen(ziel), zeigen(datenbankDatei)));
        return false;
    }
    QFile quelle(datenbankDatei);
    if (!quelle.copy(ziel)) {
        meldungZeigen(QStringLiteral("Die Datenbank konnte nicht nach %1 kopiert werden: %2\n\n"
                                     "Kalvoria arbeitet weiter mit %3.")
                          .arg(zeigen(ziel), quelle.errorString(), zeigen(datenbankDatei)));
        return false;
    }
    if (!gleicherInhalt(datenbankDatei, ziel)) {
        QFile::remove(ziel);
        meldungZeigen(QStringLiteral("Die Kopie %1 stimmt nicht mit der Datenbank \u00FCberein und wurde wieder "
                                     "entfernt.\n\nKalvoria arbeitet weiter mit %2.")
                          .arg(zeigen(ziel), zeigen(datenbankDatei)));
        return false;
    }
    // A copy of a write-protected file (from a CD, a backup) must still take changes.
    QFile::setPermissions(ziel, QFile::permissions(ziel) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    return true;
}

bool ersetzendUmbenennen(const QString &von, const QString &nach)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(von).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(nach).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) == 0;
#endif
}

bool aufDiskSchreiben(const QString &pfad)
{
#ifdef Q_OS_UNIX
    QFile f(pfad);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(f.handle()) == 0;
#else
    Q_UNUSED(pfad)
    return true;
#endif
}

bool MainWindow::dateiErsetzen(const QString &quelle)
{
    const QString ziel = datenbankDatei;
    const QString neu = ziel + QStringLiteral("-neu");
    const QString nichtErsetzt = QStringLiteral("Die Datenbank %1 wurde nicht ersetzt: ").arg(zeigen(ziel));
    // A journal beside the file belongs to it: with another file in its place it would spoil that one.
    for (const char *journal : {"-journal", "-wal"}) {
        if (QFileInfo::exists(ziel + QLatin1String(journal))) {
            meldungZeigen(nichtErsetzt + QStringLiteral("Sie wird gerade ge\u00E4ndert. Bitte sp\u00E4ter noch "
                                                        "einmal versuchen."));
            return false;
        }
    }
    QFile::remove(neu);
    QFile kopie(quelle);
    if (!kopie.copy(neu) || !gleicherInhalt(quelle, neu)) {
        const QString grund = kopie.error() != QFileDevice::NoError
                                  ? kopie.errorString()
                                  : QStringLiteral("Die Kopie war unvollst\u00E4ndig.");
        QFile::remove(neu);
        meldungZeigen(nichtErsetzt + grund);
        return false;
    }
    QFile::setPermissions(neu, QFile::permissions(ziel) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    // The connection holds the old file open; the next operation opens the new one.
    datenbank.close();
    if (!ersetzendUmbenennen(neu, ziel)) {
        QFile::remove(neu);
        meldungZeigen(nichtErsetzt + QStringLiteral("Die Datei lie\u00DF sich nicht austauschen."));
        return false;
    }
    return true;
}

void MainWindow::dateiWechseln(const QString &pfad)
{
    datenbankDatei = pfad;
    if (art() == Datenbankart::postgres) {
        dateiVerwenden();
        serverMerken(std::nullopt);
        dateiEintraegeSetzen();
    }
    titelSetzen();
    {
        QSettings einstellungen(einstellungsOrdner + QStringLiteral("/config.ini"), QSettings::IniFormat);
        einstellungen.beginGroup(QStringLiteral("pfade"));
        einstellungen.setValue(QStringLiteral("letzteDatei"), pfad);
        einstellungen.endGroup();
        einstellungen.sync();
        if (einstellungen.status() != QSettings::NoError) {
            meldungZeigen(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: beim n\u00E4chsten Start "
                                         "\u00F6ffnet Kalvoria nicht %1, sondern wieder die zuvor benutzte Datenbank.")
                              .arg(zeigen(pfad)));
        }
    }
    AllesEinlesen();
}

QString MainWindow::kopieZielWaehlen()
{
    const QString gewaehlt = dateiWaehlen(QStringLiteral("Datenbank kopieren nach..."),
                                          imOrdner(dialogOrdner(), datenbankDatei), datenbankFilter, true);
    return gewaehlt.isEmpty() ? QString() : QFileInfo(mitDatenbankEndung(gewaehlt)).absoluteFilePath();
}

void MainWindow::DBkopieren()
{
    const QString ziel = kopieZielWaehlen();
    if (!ziel.isEmpty() && kopieAnlegen(ziel))
        dateiWechseln(ziel);
}

void MainWindow::DBverschieben()
{
    const QString ziel = kopieZielWaehlen();
    if (ziel.isEmpty())
        return;
    const QString alt = datenbankDatei;
    if (!sicherungVorRiskantem(Sicherungsanlass::verschieben) || !kopieAnlegen(ziel))
        return;
    QString fehler;
    const bool entfernt = dateiEntfernen(alt, &fehler);
    dateiWechseln(ziel);
    if (!entfernt) {
        meldungZeigen(QStringLiteral("Die Datenbank wurde nach %1 kopiert, und Kalvoria arbeitet jetzt mit dieser "
                                     "Kopie.\n\nDie bisherige Datei %2 konnte nicht gel\u00F6scht werden (%3) und "
                                     "bleibt bestehen. \u00C4nderungen stehen ab jetzt nur noch in der Kopie.")
                          .arg(zeigen(ziel), zeigen(alt), fehler));
    }
}

void MainWindow::DBoeffnen()
{
    const QString gewaehlt = dateiWaehlen(QStringLiteral("mit Datenbank verbinden"),
                                          imOrdner(dialogOrdner(), datenbankDatei), datenbankFilter, false);
    if (!gewaehlt.isEmpty())
        datenbankOeffnen(gewaehlt);
}

bool MainWindow::datenbankOeffnen(const QString &gewaehlt)
{
    const QString pfad = QFileInfo(gewaehlt).absoluteFilePath();
    if (!QFileInfo(pfad).isFile()) {
        meldungZeigen(QStringLiteral("Die Datei %1 gibt es nicht.\n\nKalvoria arbeitet weiter mit %2.")
                          .arg(zeigen(pfad), zeigen(datenbankDatei)));
        return false;
    }
    // Switching to a foreign file would show empty views and fail every
    // read; the remembered file stays the one in use.
    const QString mangel = datenbankMangel(pfad);
    if (!mangel.isEmpty()) {
        meldungZeigen(QStringLiteral("Die Datei %1 ist keine Kalvoria-Datenbank: %2\n\n"
                                     "Kalvoria arbeitet weiter mit %3.")
                          .arg(zeigen(pfad), mangel, zeigen(datenbankDatei)));
        return false;
    }
    if (!sicherungVorRiskantem(Sicherungsanlass::verbinden))
        return false;
    dateiWechseln(pfad);
    return true;
}

void MainWindow::Reparieren()
{
    QDialog fenster(this);
    fenster.setFixedSize(380, 210);
    fenster.setFont(schriftNormal);

    // A warning before deleting data must be read to its end: the labels
    // wrap where the font needs it, with room for a line more than a font
    // 10 % wider than Arial takes.
    auto *hinweis = new QLabel(
        umlauteErsetzen(QStringLiteral("Diese Aktion l:oe:scht den Ordner Kalvoria unter Roaming mit Dateien und "
                                       "Datenbanken und schlie:sz:t das Programm. Die au:sz:erhalb dieses Ordners "
                                       "angelegten Datenbanken werden nicht gel:oe:scht.")),
        &fenster);
    hinweis->setGeometry(20, 10, 340, 85);
    hinweis->setAlignment(Qt::AlignCenter);
    hinweis->setWordWrap(true);

    auto *zweck = new QLabel(QStringLiteral("Dies ist vor einer Neuinstallation, bei Programmfehlern oder vor einer "
                                            "komplette Deinstallation hilfreich."),
                             &fenster);
    zweck->setGeometry(20, 100, 340, 50);
    zweck->setAlignment(Qt::AlignCenter);
    zweck->setWordWrap(true);

    auto *loeschen = new QPushButton(umlauteErsetzen(QStringLiteral("&L:oe:schen")), &fenster);
    loeschen->setObjectName(QStringLiteral("knopfOrdnerLoeschen"));
    loeschen->setGeometry(90, 165, 100, 30);
    auto *abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), &fenster);
    abbrechen->setObjectName(QStringLiteral("knopfReparierenAbbrechen"));
    abbrechen->setGeometry(190, 165, 100, 30);
    // Enter must not delete everything.
    loeschen->setAutoDefault(false);
    abbrechen->setDefault(true);

    connect(loeschen, &QPushButton::clicked, this, &MainWindow::RoamingLoeschen);
    connect(loeschen, &QPushButton::clicked, &fenster, &QDialog::close);
    connect(abbrechen, &QPushButton::clicked, &fenster, &QDialog::close);
    fenster.exec();
}

void MainWindow::RoamingLoeschen()
{
    QString ordner;
    {
        QSettings ort(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kalvoria"),
                      QStringLiteral("application"));
        ordner = QFileInfo(ort.fileName()).absolutePath();
    }
    // Only ever remove the program's own folder, whatever path the platform reports.
    if (QFileInfo(ordner).fileName() != QLatin1String("Kalvoria") || QDir(ordner).isRoot()) {
        meldungZeigen(QStringLiteral("Der Einstellungsordner %1 tr\u00E4gt nicht den Namen Kalvoria; er wird nicht "
                                     "gel\u00F6scht.")
                          .arg(zeigen(ordner)));
        return;
    }
    // The database in use goes with the folder when it lies in it.
    const QString inOrdner = QDir::cleanPath(ordner) + QLatin1Char('/');
    if (QDir::cleanPath(QFileInfo(datenbankDatei).absoluteFilePath()).startsWith(inOrdner) &&
        !sicherungVorRiskantem(Sicherungsanlass::reparieren))
        return;
    datenbank.close();
    QDir verzeichnis(ordner);
    if (verzeichnis.exists() && !verzeichnis.removeRecursively()) {
        meldungZeigen(QStringLiteral("Der Ordner %1 konnte nicht vollst\u00E4ndig gel\u00F6scht werden; vielleicht ist "
                                     "eine Datei darin in einem anderen Programm ge\u00F6ffnet. Kalvoria wird "
                                     "trotzdem beendet.")
                          .arg(zeigen(ordner)));
    }
    close();
}
