#include "cleaner/frmMain.h"

namespace glenvask {

void MainWindow::CleanActiveSetupTemp() {}
void MainWindow::CleanIndexer() {}
void MainWindow::CleanUserFolders() {}
void MainWindow::CleanUserFiles() {}
void MainWindow::CleanUnnecessaryFiles(bool) {}
void MainWindow::CleanRecentDocs() {}
void MainWindow::CleanPrinter() {}
void MainWindow::CleanMemDump() {}
void MainWindow::CleanTempFiles() {}
void MainWindow::CleanEmptyFiles(bool) {}
void MainWindow::CleanShortcuts(bool) {}
void MainWindow::CleanOffline() {}
void MainWindow::CleanActiveX() {}

}  // namespace glenvask
