// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sprache.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QStringList schriftFamilien{QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};

void deutscheOberflaeche(QTranslator &qtDeutsch)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    const QString uebersetzungen = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#else
    const QString uebersetzungen = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    if (qtDeutsch.load(QStringLiteral("qtbase_de"), uebersetzungen))
        QCoreApplication::installTranslator(&qtDeutsch);
}

QFont oberflaechenSchrift()
{
    QFont schrift;
    schrift.setFamilies(schriftFamilien);
    schrift.setStyleHint(QFont::SansSerif);
    schrift.setPixelSize(12);
    return schrift;
}

void schriftEinrichten()
{
    QApplication::setFont(oberflaechenSchrift());
}
