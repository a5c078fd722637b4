#pragma once
// The save dialog of the displayed picture.

#include "app/user_dialogs.h"

class QString;

// The save dialog, proposing the last data file's name with the extension ".GIF".
TFileDialogSpec SaveDialogSpec(const QString& lastDataFile);

// `fileName` with its extension (from the last point of the name on) replaced by ".GIF", or
// ".GIF" appended to a name without one.
QString WithGifExtension(const QString& fileName);
