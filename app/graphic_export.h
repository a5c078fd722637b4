#pragma once
// Saving the displayed picture.

#include "user_dialogs.h"

class QImage;
class QString;

// The save dialog, proposing the last data file's name with the extension ".GIF".
TFileDialogSpec SaveDialogSpec(const QString& lastDataFile);

// `fileName` with its extension (from the last point of the name on) replaced by ".GIF", or
// ".GIF" appended to a name without one.
QString WithGifExtension(const QString& fileName);

// Writes `graphic` to `target` through the image library, in the format the target's
// extension names. No temporary file is left anywhere, and the target is replaced only by a
// complete file. Throws EImageError when the picture cannot be encoded or written.
void ExportGraphic(const QImage& graphic, const QString& target);
