// The medication list as a PDF file.
#include "app/mainwindow.h"

void MainWindow::print_medlist()
{
}
