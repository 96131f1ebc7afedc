// The medication list as a PDF file and the help document.
#include "app/mainwindow.h"

void MainWindow::print_medlist()
{
}

void MainWindow::hilfeanzeigen()
{
}
