// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the help document from its HTML source into "Kalvoria.pdf":
//     kalvoria_hilfe_pdf <source.html> <target.pdf>
// Pictures are found relative to the source file. Runs headless.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kalvoria_hilfe_pdf <source.html> <target.pdf>\n");
        return 2;
    }
    const QString quelle = QString::fromLocal8Bit(argv[1]);
    const QString ziel = QString::fromLocal8Bit(argv[2]);

    QFile html(quelle);
    if (!html.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kalvoria_hilfe_pdf: cannot read %s\n", qPrintable(quelle));
        return 1;
    }

    const QString text = QString::fromUtf8(html.readAll());
    QTextDocument dokument;
    // Printing lays out a copy of the document that cannot load files by a
    // relative name, so every picture is handed over beforehand.
    const QDir ordner = QFileInfo(quelle).absoluteDir();
    int fehlend = 0;
    auto bilder = QRegularExpression(QStringLiteral("<img[^>]*\\ssrc=\"([^\"]+)\"")).globalMatch(text);
    while (bilder.hasNext()) {
        const QString name = bilder.next().captured(1);
        const QImage bild(ordner.absoluteFilePath(name));
        if (bild.isNull()) {
            std::fprintf(stderr, "kalvoria_hilfe_pdf: missing picture %s\n", qPrintable(name));
            ++fehlend;
            continue;
        }
        dokument.addResource(QTextDocument::ImageResource, QUrl(name), bild);
    }
    QFont schrift(QStringLiteral("Liberation Sans"));
    schrift.setPointSizeF(10.5);
    dokument.setDefaultFont(schrift);
    dokument.setHtml(text);

    // Written beside the target first, so an interrupted build never leaves a
    // broken document in place.
    const QString zwischen = ziel + QStringLiteral(".part");
    {
        QPdfWriter pdf(zwischen);
        pdf.setTitle(dokument.metaInformation(QTextDocument::DocumentTitle));
        pdf.setCreator(QStringLiteral("Kalvoria"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 8),
                                      QPageLayout::Millimeter));
        // Printing lays the text out on the page (2 cm margins) and numbers the pages.
        dokument.print(&pdf);
    }
    if (QFileInfo(zwischen).size() == 0) {
        std::fprintf(stderr, "kalvoria_hilfe_pdf: cannot write %s\n", qPrintable(zwischen));
        QFile::remove(zwischen);
        return 1;
    }
    QFile::remove(ziel);
    if (!QFile::rename(zwischen, ziel)) {
        std::fprintf(stderr, "kalvoria_hilfe_pdf: cannot write %s\n", qPrintable(ziel));
        return 1;
    }
    if (fehlend > 0)
        std::fprintf(stderr, "kalvoria_hilfe_pdf: %d picture(s) missing; run \"make bilder\"\n", fehlend);
    return 0;
}
