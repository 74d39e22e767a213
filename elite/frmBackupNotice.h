// Tells the user, once per run, that the safety copy of the personal files
// could not be made. Every window that saves a personal file calls it after
// the save, whether the save went through or not (the first save of a run is
// the one that makes the copy).
#pragma once

class QWidget;

// Shows modCharacters::TakeBackupNotice() in a message box over `parent`,
// when there is one to show; returns at once otherwise.
void ShowBackupNotice(QWidget* parent);
