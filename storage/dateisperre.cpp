// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/dateisperre.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Dateisperre::Dateisperre(const QString &datenbank) : datei(datenbank)
{
    nehmen();
}

QString Dateisperre::sperrDatei() const
{
    const QFileInfo info(datei);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral("-sperre");
}

#ifdef Q_OS_UNIX

namespace {
// Whether fd still is the file at pfad: a window that gave its lock up may
// have removed the file meanwhile, and a lock on a removed file guards nothing.
bool nochDort(int fd, const QByteArray &pfad)
{
    struct stat offen {
    };
    struct stat dort {
    };
    return ::fstat(fd, &offen) == 0 && ::stat(pfad.constData(), &dort) == 0 && offen.st_dev == dort.st_dev &&
           offen.st_ino == dort.st_ino;
}
} // namespace

void Dateisperre::nehmen()
{
    const QByteArray pfad = QFile::encodeName(sperrDatei());
    // A few tries: another window may hold the file alone for a moment, or
    // remove it as it lets go.
    for (int versuch = 0; versuch < 20 && fd < 0; ++versuch) {
        fd = ::open(pfad.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return; // a folder nobody may write to: nothing to guard there
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0 && nochDort(fd, pfad))
            return;
        ::close(fd);
        fd = -1;
        ::usleep(5000);
    }
}

Dateisperre::~Dateisperre()
{
    if (fd < 0)
        return;
    // The last window to let go removes the file, so that none is left
    // beside a database nobody uses.
    const QByteArray pfad = QFile::encodeName(sperrDatei());
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && nochDort(fd, pfad))
        ::unlink(pfad.constData());
    ::close(fd);
}

bool Dateisperre::alleinNehmen()
{
    if (fd < 0)
        nehmen();
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    // A refused change of lock gives up the shared one: take it again.
    ::flock(fd, LOCK_SH | LOCK_NB);
    return false;
}

void Dateisperre::teilen()
{
    if (fd >= 0)
        ::flock(fd, LOCK_SH | LOCK_NB);
}

#else

void Dateisperre::nehmen()
{
}

Dateisperre::~Dateisperre() = default;

bool Dateisperre::alleinNehmen()
{
    return true;
}

void Dateisperre::teilen()
{
}

#endif
