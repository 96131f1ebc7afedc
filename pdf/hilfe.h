// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the help document "Kalvoria.pdf" is looked for, in this order:
// beside the program (a build folder), the installed data folder (share/kalvoria
// beside the program's bin folder, whatever the prefix), the working folder.
// The installed copies come first, so that a stray file in whatever folder the
// program was started from does not hide them.
QStringList hilfeOrte();

// The first of these that holds the document, or "" when none does.
QString hilfeDokument();
