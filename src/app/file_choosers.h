#pragma once
// Where the main window and the skin picker let the user choose a file: the program's own
// chooser window, owned by the main window.

class CMainWnd;

void InstallFileChoosers(CMainWnd& window);
// The skin picker's chooser outlives no main window.
void RemoveFileChoosers();
