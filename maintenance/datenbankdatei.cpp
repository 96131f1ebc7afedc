// Copying, moving and opening database files; the repair window.
#include "app/mainwindow.h"

void MainWindow::DBkopieren()
{
}

void MainWindow::DBverschieben()
{
}

void MainWindow::DBoeffnen()
{
}

void MainWindow::Reparieren()
{
}

void MainWindow::RoamingLoeschen()
{
}
