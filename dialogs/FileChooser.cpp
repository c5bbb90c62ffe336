#include "dialogs/FileChooser.h"

#include "dialogs/StandardDialogTheme.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {
std::optional<QString> nextAnswer;
FileChooser::Request lastRequest;

QString UseName(FileChooser::Use use)
{
    switch (use) {
    case FileChooser::Use::Configuration:
        return QStringLiteral("Configuration");
    case FileChooser::Use::Macro:
        return QStringLiteral("Macro");
    }
    return QString();
}

// The extension of the filter's first pattern: "bin" of "File(*.bin)".
QString SuffixOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

QString Ask(QWidget* parent, FileChooser::Use use, bool save, const QString& caption, const QString& filter)
{
    lastRequest = {save, caption, FileChooser::StartFolder(use), filter};
    QString answer;
    if (nextAnswer) {
        answer = *nextAnswer;
        nextAnswer.reset();
    } else {
        QFileDialog dialog(parent, caption, lastRequest.folder, filter);
        // Qt's own dialog, so that the theme's rules can reach all of it.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        StandardDialogTheme::Apply(&dialog);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (save)
            dialog.setDefaultSuffix(SuffixOf(filter));
        if (dialog.exec() == QDialog::Accepted)
            answer = dialog.selectedFiles().value(0);
    }
    if (!answer.isEmpty())
        Registry::Instance()->SetValue(Registry::LastFolderKey(UseName(use)), QFileInfo(answer).absolutePath());
    return answer;
}
} // namespace

QString FileChooser::OpenFile(QWidget* parent, Use use, const QString& caption, const QString& filter)
{
    return Ask(parent, use, false, caption, filter);
}

QString FileChooser::SaveFile(QWidget* parent, Use use, const QString& caption, const QString& filter)
{
    return Ask(parent, use, true, caption, filter);
}

QString FileChooser::StartFolder(Use use)
{
    const QString folder = Registry::Instance()->GetValue(Registry::LastFolderKey(UseName(use)));
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

void FileChooser::SetNextAnswer(const QString& path)
{
    nextAnswer = path;
}

FileChooser::Request FileChooser::LastRequest()
{
    return lastRequest;
}
