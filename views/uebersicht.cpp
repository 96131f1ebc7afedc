// The overview with stock range and warnings.
#include "app/mainwindow.h"

void MainWindow::UebersichtFuellen()
{
}
