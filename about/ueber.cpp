// The about window.
#include "app/mainwindow.h"

void MainWindow::aboutueber()
{
}
