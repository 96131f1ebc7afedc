// The windows that enter and change appointments.
#include "app/mainwindow.h"

void MainWindow::TerminEintragenW()
{
}

void MainWindow::TerminWEintragen()
{
}

void MainWindow::TerminAendernW()
{
}

void MainWindow::TerminWAendern()
{
}

void MainWindow::TerminFelderZuruecksetzen()
{
}
