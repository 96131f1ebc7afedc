// The regulation plan as a PDF file.
#include "app/mainwindow.h"

void MainWindow::print_regulation()
{
}
