// Appointment list and the next family-doctor appointment.
#include "app/mainwindow.h"

void MainWindow::TermineFuellen()
{
}

void MainWindow::TerminLoeschen()
{
}
