// Adding, changing and deleting patients.
#include "app/mainwindow.h"

void MainWindow::PatientenAendern()
{
}

void MainWindow::PatientenEinblenden1()
{
}

void MainWindow::PatientenEinblenden2()
{
}

void MainWindow::PatientenEinblenden3()
{
}

void MainWindow::PatientenNeuEintragen()
{
}

void MainWindow::PatientenLoeschen()
{
}

void MainWindow::PatientenFelderLeeren()
{
}
