#include "ui/application.h"

#include "platform/platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

void dielektra::prepareApplication(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"), QStringLiteral(":/i18n")) ||
        translator->load(QStringLiteral("qtbase_cs"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    platform::useDesignedLook();
}
