#include "dialogs/StandardDialogTexts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDebug>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTranslator>
#include <QWidget>

#include <memory>

namespace {
QTranslator* installed = nullptr;
QString installedName;

bool IsQtDialog(const QWidget* widget)
{
    return qobject_cast<const QFileDialog*>(widget) || qobject_cast<const QColorDialog*>(widget)
        || qobject_cast<const QMessageBox*>(widget) || qobject_cast<const QInputDialog*>(widget)
        || qobject_cast<const QFontDialog*>(widget) || qobject_cast<const QProgressDialog*>(widget);
}
} // namespace

QString StandardDialogTexts::LocaleName(int index)
{
    static const char* const names[] = {"", "zh_CN", "zh_TW", "ko", "ru", "ja"};
    if (index < 0 || index >= int(sizeof names / sizeof names[0]))
        index = 0;
    return QString::fromLatin1(names[index]);
}

bool StandardDialogTexts::Load(int index)
{
    const QString name = LocaleName(index);
    if (name == installedName)
        return true;
    auto next = std::make_unique<QTranslator>();
    const bool found = !name.isEmpty()
        && next->load(QStringLiteral("qtbase_") + name, QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    if (!name.isEmpty() && !found)
        qWarning() << "Qt's translation" << name << "is not installed: Qt's dialogs stay in English";
    if (!installed && !found)
        return name.isEmpty();
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    installedName.clear();
    if (found) {
        installed = next.release();
        QCoreApplication::installTranslator(installed);
        installedName = name;
    }
    // A language change event would make the program's windows put back the
    // default texts of their forms; only Qt's dialogs take it.
    QCoreApplication::removePostedEvents(nullptr, QEvent::LanguageChange);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (IsQtDialog(window)) {
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(window, &change);
        }
    }
    return found || name.isEmpty();
}
