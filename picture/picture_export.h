#pragma once
// Saving a picture through the image library, in the format its file name names (GIF for the
// Save command). The target is replaced only by a complete file.

#include <QImage>
#include <string>

// Throws EImageError when the picture cannot be encoded or written; an earlier target file is
// then left as it was.
void ExportGraphic(const QImage& picture, const std::string& targetPath);
