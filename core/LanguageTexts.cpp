#include "core/LanguageTexts.h"

#include "core/MacroIni.h"
#include "core/PostMsg.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QXmlStreamReader>

namespace {
// A language file holds a few kilobytes of texts in three levels (root,
// window, child); anything far beyond that is not a language file, and is
// refused before it costs time or memory.
constexpr qint64 MaxFileSize = 1024 * 1024;
constexpr int MaxNesting = 64;

QString FileNameOf(const QXmlStreamReader& reader)
{
    const auto* file = qobject_cast<const QFile*>(reader.device());
    return file ? file->fileName() : QString();
}

// The two Chinese language names, as UTF-16 code units.
const char16_t SimplifiedChinese[] = {0x7B80, 0x4F53, 0x4E2D, 0x6587, 0};
const char16_t TraditionalChinese[] = {0x7E41, 0x4F53, 0x4E2D, 0x6587, 0};
} // namespace

LanguageTexts::LanguageTexts(const QString& element, const QVector<Child>& children)
    : element_(element)
    , elements_{element}
    , children_(children)
{
}

LanguageTexts::~LanguageTexts() = default;

void LanguageTexts::SetFinished(std::function<void()> finished)
{
    finished_ = std::move(finished);
}

void LanguageTexts::SetRoot(const QString& root, const QStringList& elements)
{
    root_ = root;
    elements_ = elements;
}

QString LanguageTexts::NativeName(int index)
{
    static const char* const names[] = {"English", "简体中文", "繁體中文", "한국어", "Русский", "日本語"};
    if (index < 0 || index >= int(sizeof names / sizeof names[0]))
        index = 0;
    return QString::fromUtf8(names[index]);
}

QString LanguageTexts::FileName(int index)
{
    QString name;
    switch (index) {
    case 1:
        name = QStringLiteral("1-") + QString::fromUtf16(SimplifiedChinese) + QStringLiteral(".xml");
        break;
    case 2:
        name = QStringLiteral("2-") + QString::fromUtf16(TraditionalChinese) + QStringLiteral(".xml");
        break;
    case 3:
        name = QStringLiteral("3-Korea.xml");
        break;
    case 4:
        name = QStringLiteral("4-Russia.xml");
        break;
    case 5:
        name = QStringLiteral("5-Japanese.xml");
        break;
    default:
        name = QStringLiteral("0-English.xml");
        break;
    }
    return Folder() + name;
}

namespace {
QString& FolderSetting()
{
    static QString folder;
    return folder;
}
} // namespace

QString LanguageTexts::Folder()
{
    const QString& folder = FolderSetting();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/Language/") : folder;
}

void LanguageTexts::SetFolder(const QString& folder)
{
    FolderSetting() = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

int LanguageTexts::StoredIndex()
{
    return MacroIni::Instance()->GetValue(QStringLiteral("Language"), QStringLiteral("Language")).toInt();
}

void LanguageTexts::Choose(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    PostMsg::Instance()->PostChangeLanguage(index);
}

bool LanguageTexts::Follow(QObject* window, const char* slot)
{
    return QObject::connect(PostMsg::Instance(), SIGNAL(SigChangeLanguage(int)), window,
                            slot ? slot : SLOT(SlotChangeLanguage(int)));
}

LanguageTexts::Apply LanguageTexts::Keep(QString* text)
{
    return [text](const QString& value) { *text = value; };
}

LanguageTexts::Apply LanguageTexts::When(std::function<bool()> condition, Apply apply)
{
    return [condition = std::move(condition), apply = std::move(apply)](const QString& text) {
        if (condition())
            apply(text);
    };
}

LanguageTexts::Apply LanguageTexts::WhenValue(const std::atomic<int>& value, int expected, Apply apply)
{
    return When([&value, expected] { return value == expected; }, std::move(apply));
}

bool LanguageTexts::Load(int index)
{
    return LoadFile(FileName(index));
}

bool LanguageTexts::LoadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    if (file.size() > MaxFileSize) {
        error_ = QObject::tr("Larger than %1 bytes").arg(MaxFileSize);
        qWarning("language file %s is not read: it has %lld bytes, more than a language file holds (%lld)",
                 qUtf8Printable(path), file.size(), MaxFileSize);
        return false;
    }
    reader_ = std::make_unique<QXmlStreamReader>(&file);
    reader_->readNext();
    while (!reader_->atEnd()) {
        if (reader_->isStartElement()) {
            if (reader_->name() == root_)
                ReadLanguageRoot();
            else
                reader_->raiseError(QObject::tr("Not a labels file"));
        } else {
            reader_->readNext();
        }
    }
    error_ = reader_->hasError() ? reader_->errorString() : QString();
    reader_.reset();
    file.close();
    return true;
}

void LanguageTexts::ReadLanguageRoot()
{
    reader_->readNext();
    while (!reader_->atEnd()) {
        if (reader_->isEndElement()) {
            reader_->readNext();
            break;
        }
        if (reader_->isStartElement()) {
            if (elements_.contains(reader_->name().toString()))
                ApplyLanguageTexts();
            else
                SkipUnknownElement();
        } else {
            reader_->readNext();
        }
    }
    if (finished_)
        finished_();
}

void LanguageTexts::ApplyLanguageTexts()
{
    reader_->readNext();
    while (!reader_->atEnd()) {
        if (reader_->isEndElement()) {
            reader_->readNext();
            return;
        }
        if (!reader_->isStartElement()) {
            reader_->readNext();
            continue;
        }
        const QString name = reader_->name().toString();
        bool known = false;
        for (const Child& child : qAsConst(children_))
            known = known || child.name == name;
        if (!known) {
            SkipUnknownElement();
            continue;
        }
        // A child holding an element stops the reader with an error; the
        // text read up to there is still applied.
        const QString text = reader_->readElementText();
        for (const Child& child : qAsConst(children_)) {
            if (child.name == name)
                child.apply(text);
        }
        if (reader_->isEndElement())
            reader_->readNext();
    }
}

// Passes over the element at the reader with all it holds, one level at a
// time without recursion; an element nested deeper than a language file ever
// is ends the load as malformed XML does.
void LanguageTexts::SkipUnknownElement()
{
    int depth = 1;
    while (depth > 0 && !reader_->atEnd()) {
        switch (reader_->readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxNesting) {
                reader_->raiseError(QObject::tr("Elements nested deeper than %1 levels").arg(MaxNesting));
                qWarning("language file %s: elements nested deeper than %d levels, the rest is not read",
                         qUtf8Printable(FileNameOf(*reader_)), MaxNesting);
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (!reader_->atEnd())
        reader_->readNext();
}
