#include "ui/artwork.h"

#include <QImageReader>

namespace dielektra {

QPixmap readArtwork(const QString &path, const char *format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace dielektra
