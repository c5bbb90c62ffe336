#include "pages/macro/MacroExportFile.h"

#include "core/ButtonRecords.h"
#include "core/MacroBlock.h"
#include "dialogs/MacroKeyCodes.h"

#include <QDataStream>
#include <QTextCodec>

namespace {
const QByteArray Magic = QByteArrayLiteral("Zelvo");
const QByteArray CodeTag = QByteArrayLiteral("Code");
const QString DelayMark = QStringLiteral("ms");
constexpr int MagicBlockSize = 12;
constexpr int NameBlockSize = 48;
constexpr int RepeatBlockSize = 12;
// Kind and code of one key row in the code block.
constexpr int CodeEntrySize = 3;

// The longest start of text whose UTF-8 form has at most `bytes` bytes.
QByteArray Utf8Prefix(const QString& text, int bytes)
{
    const QByteArray encoded = text.toUtf8();
    if (encoded.size() <= bytes)
        return encoded;
    int cut = bytes;
    // Step back over continuation bytes to the start of a character.
    while (cut > 0 && (quint8(encoded.at(cut)) & 0xC0) == 0x80)
        --cut;
    return encoded.left(cut);
}

void WriteBlock(QDataStream& out, const QByteArray& content, int size)
{
    QByteArray block = content.left(size);
    block.append(QByteArray(size - block.size(), '\0'));
    out.writeBytes(block.constData(), uint(block.size()));
}

// A block as QDataStream writes a byte array (its length, then its bytes);
// false unless it has exactly that size.
bool ReadBlock(QDataStream& in, int size, QByteArray* block)
{
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length != quint32(size))
        return false;
    block->resize(size);
    return in.readRawData(block->data(), size) == size;
}

// A text block: its bytes up to the first NUL, all NUL after it; *full when
// the text fills the block.
bool ReadTextBlock(QDataStream& in, int size, QByteArray* text, bool* full = nullptr)
{
    QByteArray block;
    if (!ReadBlock(in, size, &block))
        return false;
    const int end = block.indexOf('\0');
    *text = end < 0 ? block : block.left(end);
    if (full)
        *full = end < 0;
    return end < 0 || block.mid(end).count('\0') == size - end;
}

// UTF-8 without a fault; a character cut off at the end of a full block
// (the first 48 bytes of a longer name) is left out.
bool DecodeName(const QByteArray& bytes, bool full, QString* name)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    *name = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && (state.remainingChars == 0 || full);
}

// A repeat code as the page writes it: 1-250, 253, 254 or 255 in decimal.
bool RepeatCodeOf(const QByteArray& text, int* code)
{
    bool ok = false;
    *code = text.toInt(&ok);
    return ok && QByteArray::number(*code) == text
        && ((*code >= 1 && *code <= 250) || (*code >= 253 && *code <= 255));
}

// A delay as the page writes it: 0 to 1,048,575 in decimal, then "ms".
bool DelayOf(const QString& text, int* ms)
{
    if (!text.endsWith(DelayMark))
        return false;
    const QString number = text.chopped(DelayMark.size());
    bool ok = false;
    *ms = number.toInt(&ok);
    return ok && QString::number(*ms) == number && *ms >= 0 && *ms <= MacroBlock::MaxDelay;
}

// A picture as QImage streams it: PNG chunks up to the end chunk, passed over
// without being decoded.
bool SkipPng(QDataStream& in)
{
    static const QByteArray signature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
    QByteArray start(signature.size(), '\0');
    if (in.readRawData(start.data(), start.size()) != start.size() || start != signature)
        return false;
    for (;;) {
        quint32 length = 0;
        char type[4] = {};
        in >> length;
        if (in.status() != QDataStream::Ok || in.readRawData(type, 4) != 4 || length > 0x7FFFFFFFu - 4)
            return false;
        if (in.skipRawData(int(length) + 4) != int(length) + 4)
            return false;
        if (QByteArray(type, 4) == "IEND")
            return true;
    }
}

// An icon as QIcon streams it, passed over: no picture is decoded and no file
// it names is opened. Icons of the pixmap engine (the program's own) and of
// the theme engine; any other engine's data cannot be passed over safely.
bool SkipIcon(QDataStream& in)
{
    QString engine;
    in >> engine;
    if (in.status() != QDataStream::Ok)
        return false;
    if (engine.isEmpty())
        return true;
    if (engine == QLatin1String("QIconLoaderEngine")) {
        QString themeName;
        in >> themeName;
        return in.status() == QDataStream::Ok;
    }
    if (engine != QLatin1String("QPixmapIconEngine"))
        return false;
    qint32 entries = 0;
    in >> entries;
    if (entries < 0)
        return false;
    for (qint32 entry = 0; entry < entries && in.status() == QDataStream::Ok; ++entry) {
        qint32 picture = 0;
        in >> picture;
        if (picture != 0 && (picture != 1 || !SkipPng(in)))
            return false;
        QString fileName;
        qint32 width = 0, height = 0;
        quint32 mode = 0, state = 0;
        in >> fileName >> width >> height >> mode >> state;
    }
    return in.status() == QDataStream::Ok;
}
// The icon's pictures alone: an icon loaded from a file would stream the
// file's path, which names the user's folders in a file meant to be shared.
QIcon Pictures(const QIcon& icon)
{
    QIcon pictures;
    for (const QSize& size : icon.availableSizes())
        pictures.addPixmap(icon.pixmap(size));
    return pictures;
}
} // namespace

QByteArray MacroExportFile::Format(const QString& name, int repeatCode, const QVector<Row>& rows)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_9);
    WriteBlock(out, Magic, MagicBlockSize);
    WriteBlock(out, Utf8Prefix(name, NameBlockSize), NameBlockSize);
    WriteBlock(out, QByteArray::number(repeatCode), RepeatBlockSize);
    out << qint32(rows.size());
    QByteArray codes = CodeTag;
    for (const Row& row : rows) {
        out << row.text << Pictures(row.icon);
        if (row.line.delay)
            continue;
        out << (row.line.release ? "1" : "0");
        const int code = row.line.code.midRef(2).toInt(nullptr, 16);
        codes += char(row.line.kind);
        codes += char(code >> 8);
        codes += char(code & 0xFF);
    }
    out.writeBytes(codes.constData(), uint(codes.size()));
    return bytes;
}

bool MacroExportFile::Parse(const QByteArray& bytes, Macro* macro)
{
    *macro = Macro();
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_5_9);
    QByteArray magic, nameBytes, repeat;
    bool nameFull = false;
    if (!ReadTextBlock(in, MagicBlockSize, &magic) || magic != Magic
        || !ReadTextBlock(in, NameBlockSize, &nameBytes, &nameFull) || !ReadTextBlock(in, RepeatBlockSize, &repeat))
        return false;
    QString name;
    if (!DecodeName(nameBytes, nameFull, &name))
        return false;
    // The name as a mouse button keeps it, so the macro stays one macro
    // after a round through the mouse.
    name = ButtonRecords::BlockName(name);
    int repeatCode = 0;
    if (!MacroFile::NameAllowed(name) || !RepeatCodeOf(repeat, &repeatCode))
        return false;

    qint32 count = 0;
    in >> count;
    // Rows come in any order the page can make (two delays in a row, a
    // delay last or first); the rows present bound the count.
    if (in.status() != QDataStream::Ok || count < 0)
        return false;
    QVector<MacroFile::Line> lines;
    QStringList keyNames;
    for (int row = 0; row < count; ++row) {
        QString text;
        in >> text;
        if (in.status() != QDataStream::Ok || !SkipIcon(in))
            return false;
        MacroFile::Line line;
        line.delay = text.contains(DelayMark);
        if (line.delay) {
            int ms = 0;
            if (!DelayOf(text, &ms))
                return false;
            line.text = QString::number(ms) + DelayMark;
        } else {
            QByteArray marker;
            if (!ReadBlock(in, 2, &marker) || (marker != QByteArray("0\0", 2) && marker != QByteArray("1\0", 2)))
                return false;
            line.release = marker.at(0) == '1';
            keyNames << text;
            if (keyNames.size() > MacroBlock::MaxEvents)
                return false;
        }
        lines.append(line);
    }

    // Each key row's kind and code: from the code block, or by the row's name
    // in a file without one.
    QVector<QPair<int, int>> codes;
    if (in.atEnd()) {
        for (const QString& keyName : qAsConst(keyNames)) {
            int kind = 0, code = 0;
            if (!MacroKeyCodes::CodeOf(keyName, &kind, &code))
                return false;
            codes.append({kind, code});
        }
    } else {
        QByteArray block;
        if (!ReadBlock(in, CodeTag.size() + CodeEntrySize * keyNames.size(), &block) || !block.startsWith(CodeTag)
            || !in.atEnd())
            return false;
        for (int key = 0; key < keyNames.size(); ++key) {
            const char* entry = block.constData() + CodeTag.size() + CodeEntrySize * key;
            const int kind = quint8(entry[0]);
            const int code = quint8(entry[1]) << 8 | quint8(entry[2]);
            if (code > 0xFF || !MacroKeyCodes::KnownCode(MacroKeyCodes::CodeText(code), kind, nullptr))
                return false;
            codes.append({kind, code});
        }
    }
    int key = 0;
    for (MacroFile::Line& line : lines) {
        if (line.delay)
            continue;
        line.kind = codes.at(key).first;
        line.code = MacroKeyCodes::CodeText(codes.at(key).second);
        ++key;
    }
    macro->name = name;
    macro->repeatCode = repeatCode;
    macro->lines = lines;
    return true;
}
