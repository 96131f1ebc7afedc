// The window that corrects an intake line.
#include "app/mainwindow.h"

void MainWindow::ZuordnungFenster()
{
}

void MainWindow::ZuordnungWEintragen()
{
}
