#include "cleaner/frmMain.h"

namespace glenvask {

void MainWindow::CleanMozillaCache() {}
void MainWindow::CleanMozillaCookies() {}
void MainWindow::CleanMozillaForms() {}
void MainWindow::CleanMozillaPasswords() {}
void MainWindow::CleanMozillaHistory() {}
void MainWindow::CleanMozillaDownloads() {}

}  // namespace glenvask
