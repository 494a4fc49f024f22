#include "platform/TextFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

namespace {

QString DecodeMarked(const QByteArray& bytes, QStringConverter::Encoding encoding, int mark) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return Cp932::Holdable(decoder.decode(QByteArrayView(bytes).sliced(mark)));
}

} // namespace

bool CanEncode(const QString& text) {
    return Cp932::Holdable(text) == text;
}

std::optional<QString> DecodeFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return DecodeMarked(bytes, QStringConverter::Utf8, 3);
    if (bytes.startsWith("\xFF\xFE")) return DecodeMarked(bytes, QStringConverter::Utf16LE, 2);
    if (bytes.startsWith("\xFE\xFF")) return DecodeMarked(bytes, QStringConverter::Utf16BE, 2);
    if (bytes.contains('\0')) return std::nullopt;
    // Every file this program writes is valid CP932, so it is always read back
    // as written, even where its bytes happen to be valid UTF-8 as well.
    if (Cp932::IsValid(bytes)) return Cp932::Decode(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return Cp932::Holdable(text);
    return Cp932::Decode(bytes);
}

bool ReadText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    std::optional<QString> decoded = DecodeFile(bytes);
    if (!decoded) return false;
    text = std::move(*decoded);
    return true;
}

QList<QStringView> SplitLines(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.sliced(start));
    return lines;
}

bool ReadLines(const QString& path, QStringList& lines) {
    QString text;
    if (!ReadText(path, text)) return false;
    lines.clear();
    for (const QStringView line : SplitLines(text))
        lines.append(line.toString());
    return true;
}

bool WriteAtomic(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = Cp932::Encode(text);
    // Small texts only reach the buffer in write(): the flush is where a full
    // disk shows, and commit() would rename a short file over the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
