// The regulation plan table.
#include "app/mainwindow.h"

void MainWindow::VerordnungsplanFuellen()
{
}
