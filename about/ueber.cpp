// SPDX-License-Identifier: GPL-3.0-or-later
// The about window.
#include "app/mainwindow.h"

#include "app/programm.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

void MainWindow::aboutueber()
{
    QDialog fenster(this);
    fenster.setFixedWidth(380);
    fenster.setFixedHeight(240);
    fenster.setFont(schriftNormal);

    auto beschriften = [&fenster](const QRect &rechteck, Qt::Alignment ausrichtung, const QFont *schrift,
                                  const QString &text) {
        auto *label = new QLabel(text, &fenster);
        label->setGeometry(rechteck);
        label->setAlignment(ausrichtung);
        if (schrift)
            label->setFont(*schrift);
    };
    beschriften(QRect(20, 5, 340, 50), Qt::AlignCenter, &schriftFett, QStringLiteral("Version " KALVORIA_VERSION));
    beschriften(QRect(20, 45, 340, 50), Qt::AlignCenter, nullptr,
                QStringLiteral("Kalvoria ist kostenlos.\nKalvoria speichert alles in lesbaren Textdateien.\n"
                               "Kalvoria speichert nichts im Internet."));
    beschriften(QRect(20, 95, 340, 50), Qt::AlignCenter, nullptr,
                QStringLiteral("Kalvoria is for free.\nKalvoria saves all in readable textfiles.\n"
                               "Kalvoria saves nothing in the web."));
    beschriften(QRect(20, 145, 340, 15), Qt::AlignCenter, nullptr, QStringLiteral("by"));
    beschriften(QRect(20, 160, 170, 15), Qt::AlignRight | Qt::AlignVCenter, &schriftFett, QStringLiteral("TIRVA"));
    beschriften(QRect(190, 160, 170, 15), Qt::AlignLeft | Qt::AlignVCenter, &schriftKursiv, QStringLiteral("kesh"));

    auto *ok = new QPushButton(QStringLiteral("&Ok"), &fenster);
    ok->setGeometry(100, 195, 180, 30);
    connect(ok, &QPushButton::clicked, &fenster, &QDialog::close);
    fenster.exec();
}
