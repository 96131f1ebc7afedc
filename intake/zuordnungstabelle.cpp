// The intake table and its row cache.
#include "app/mainwindow.h"

void MainWindow::ZuordnungFuellen()
{
}

void MainWindow::ZuordnungFuellenMit()
{
}
