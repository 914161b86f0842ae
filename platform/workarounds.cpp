#include "platform/workarounds.h"

#include <QSet>
#include <QString>
#include <QStringList>

bool dielektra::platform::workaroundOn(const char *name)
{
    static const QStringList off =
        qEnvironmentVariable("DIELEKTRA_WORKAROUNDS_OFF").split(u',', Qt::SkipEmptyParts);
    const QString workaround = QString::fromLatin1(name);
    if (!off.contains(workaround) && !off.contains(QLatin1String("all")))
        return true;
    static QSet<QString> told;
    if (!told.contains(workaround)) {
        told.insert(workaround);
        qInfo("Qt %s: the workaround %s is off", qVersion(), name);
    }
    return false;
}
