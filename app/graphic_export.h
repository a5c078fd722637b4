#pragma once
// The save dialog of the displayed picture.

#include "app/user_dialogs.h"

#include <QSize>

class QString;

// The save dialog for a picture of `pictureSize`: GIF, PNG or BMP, proposing the last data
// file's name with the extension ".GIF", or, when a GIF cannot hold the picture, with PNG
// chosen and the extension ".png".
TFileDialogSpec SaveDialogSpec(const QString& lastDataFile, QSize pictureSize);

// `fileName` with its extension (from the last point of the name on) replaced by
// `extension` (point included), or `extension` appended to a name without one.
QString WithExtension(const QString& fileName, const QString& extension);
