// The drive list's items name what stands behind each letter: hovering over
// "E" in the open list shows the device or image file, the disk number, the
// size in sectors and the vendor and model, so the operator can tell which
// card a letter is before choosing it.
#pragma once

// Installs the tips; called once at start-up, before the dialog opens.
void InstallDriveListTips();
