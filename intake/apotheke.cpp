// The pharmacy window: bought packages into stock.
#include "app/mainwindow.h"

void MainWindow::ApothekenFenster()
{
}

void MainWindow::ApothekeEintragen()
{
}
