// Assigning, removing, showing and reordering intake lines.
#include "app/mainwindow.h"

void MainWindow::ZuordnungEintragen()
{
}

void MainWindow::ZuordnungLoeschen()
{
}

void MainWindow::ZuordnungAnklicken()
{
}

void MainWindow::ZuordnungDetailsLeeren()
{
}

void MainWindow::EinstellungZuordnungHoch()
{
}

void MainWindow::EinstellungZuordnungRunter()
{
}
