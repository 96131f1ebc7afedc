// Packages of the current medication.
#include "app/mainwindow.h"

void MainWindow::SorteFuellen()
{
}

void MainWindow::SorteAnklicken(int)
{
}

void MainWindow::SorteZufuegen()
{
}

void MainWindow::SorteAendern()
{
}

void MainWindow::SorteLoeschen()
{
}
