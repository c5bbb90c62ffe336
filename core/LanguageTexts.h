#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class QObject;
class QXmlStreamReader;

// The texts of one window from the language files beside the program.
//
// Every language file has the root "Total" with one element per window; a
// window reads only its own element and passes over the others. A window
// declares its element name and a table of children: what to do with the
// text of each child (put it on a widget, keep it in a member, or use it only
// in a given situation). Several rows may name the same child; each of them
// gets the text.
//
//     MyDialog::MyDialog(QWidget* parent)
//         : QDialog(parent), ui(new Ui::MyDialog),
//           language_(QStringLiteral("MyDialog"), {
//               {QStringLiteral("label"), LanguageTexts::TextOf(ui->label)},
//               {QStringLiteral("Hint"), LanguageTexts::Keep(&hint_)},
//           })
//     {
//         ...
//         LanguageTexts::Follow(this);      // SigChangeLanguage -> SlotChangeLanguage(int)
//         SlotChangeLanguage(LanguageTexts::StoredIndex());
//     }
//     void MyDialog::SlotChangeLanguage(int index) { language_.Load(index); }
//
// A file that cannot be opened or is too large changes nothing. A root other
// than "Total" ends the load before any text is applied; malformed XML, and
// elements nested deeper than 64 levels, end it at the first error, keeping
// what was applied before.
class LanguageTexts {
public:
    // The index of the Japanese language file.
    static constexpr int JapaneseIndex = 5;
    using Apply = std::function<void(const QString&)>;

    struct Child {
        QString name;
        Apply apply;
    };

    LanguageTexts(const QString& element, const QVector<Child>& children);
    ~LanguageTexts();
    LanguageTexts(const LanguageTexts&) = delete;
    LanguageTexts& operator=(const LanguageTexts&) = delete;

    // Runs after each pass over the root, once its children have been read.
    void SetFinished(std::function<void()> finished);
    // Another file of the same shape: its root element, and the elements
    // under it whose children the table applies, all in one pass in file
    // order (so a later child of the same name wins). Set before a load.
    void SetRoot(const QString& root, const QStringList& elements);

    // Loads the file of the language index; false when it cannot be opened.
    bool Load(int index);
    // Loads the given file; false when it cannot be opened or is larger than
    // a language file may be (1 MiB), which is logged.
    bool LoadFile(const QString& path);
    // The reader's error of the last load ("" when it ended cleanly).
    QString ErrorString() const { return error_; }

    QString Element() const { return element_; }

    // The folder of the language files, <program folder>/Language/, unless
    // another was set (tests' fixture files); an empty text restores it.
    static QString Folder();
    static void SetFolder(const QString& folder);
    // The file of a language index: 0 English, 1 Simplified Chinese,
    // 2 Traditional Chinese, 3 Korean, 4 Russian, 5 Japanese; any other
    // index gives English.
    static QString FileName(int index);
    // The name of a language index in its own language ("English", "日本語");
    // English for any other index.
    static QString NativeName(int index);
    // The index kept in Macro.ini ("Language"/"Language"); 0 when missing
    // or not a number.
    static int StoredIndex();
    // A language picked by the user: stores the index in Macro.ini, then
    // sends SigChangeLanguage(index), on which every live window reloads. The
    // caller then sends its combo box synchronisation signal.
    static void Choose(int index);
    // Connects the bus's SigChangeLanguage(int) to the window's slot, by
    // default SLOT(SlotChangeLanguage(int)).
    static bool Follow(QObject* window, const char* slot = nullptr);

    // Child actions.
    template <class Widget>
    static Apply TextOf(Widget* widget)
    {
        return [widget](const QString& text) { widget->setText(text); };
    }
    // The text, and in Japanese, whose texts may not fit a button, also the
    // widget's tool tip (none in the other languages).
    template <class Widget>
    static Apply TextWithJapaneseToolTip(Widget* widget)
    {
        return [widget](const QString& text) {
            widget->setText(text);
            widget->setToolTip(StoredIndex() == JapaneseIndex ? text : QString());
        };
    }
    static Apply Keep(QString* text);
    // Applies only while the condition holds when the child is read.
    static Apply When(std::function<bool()> condition, Apply apply);
    // Applies only while a process-wide value (OfflineReason, ImportActive,
    // ImportFileResult ...) equals the expected one.
    static Apply WhenValue(const std::atomic<int>& value, int expected, Apply apply);

private:
    void ReadLanguageRoot();
    void ApplyLanguageTexts();
    void SkipUnknownElement();

    QString element_;
    QString root_ = QStringLiteral("Total");
    QStringList elements_;
    QVector<Child> children_;
    std::function<void()> finished_;
    std::unique_ptr<QXmlStreamReader> reader_;
    QString error_;
};
