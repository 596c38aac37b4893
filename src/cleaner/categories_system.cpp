#include "cleaner/frmMain.h"

namespace glenvask {

void MainWindow::CleanRecycleBin() {}
void MainWindow::CleanPlugins() {}
void MainWindow::CleanOfficeHistory() {}
void MainWindow::CleanClipboard() {}
void MainWindow::CleanRunMRU() {}
void MainWindow::CleanInstallMRU() {}
void MainWindow::CleanFindHistory() {}
void MainWindow::CleanCache() {}
void MainWindow::CleanCookies() {}
void MainWindow::CleanTypedURL() {}
void MainWindow::CleanHistory() {}

}  // namespace glenvask
